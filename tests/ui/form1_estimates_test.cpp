// "Show Estimates" in the real main window: a line under each calculation
// while it is ticked, the list exactly as before while it is not, and the
// choice kept in the store for the next start.
#include "form1_fixture.h"
#include "ui/estimates_choice.h"
#include "ui/resource_ids.h"

namespace kelvary::test {
namespace {

const std::vector<std::string> kDemoWithEstimates = {
    kDemoReport[0], "  ~ 40%, running 25 h 59 min, due now (from its notices)",
    kDemoReport[1], "  ~ 50%, running 25 h 38 min, due now (from its notices)",
    kDemoReport[2], "  ~ running 1 s, about 23 min left (from earlier runs)",
};

class Form1EstimatesTest : public Form1Test {
 protected:
  void SetUp() override {
    AddDemoServer();
    Open();
    SetAppText("sample");
  }
  bool Ticked() const { return (GetMenuState(GetMenu(Window()), IDM_EDIT_ESTIMATES, MF_BYCOMMAND) & MF_CHECKED) != 0; }
};

TEST_F(Form1EstimatesTest, MenuItemAddsTheLinesAtOnceAndIsRememberedInTheStore) {
  EXPECT_FALSE(Ticked());
  Click(form1::cmdOK);
  EXPECT_EQ(Report(), kDemoReport);
  Menu(IDM_EDIT_ESTIMATES);
  EXPECT_TRUE(Ticked());
  EXPECT_EQ(Report(), kDemoWithEstimates);
  EXPECT_TRUE(ReadShowEstimates(registry_));
  Menu(IDM_EDIT_ESTIMATES);
  EXPECT_EQ(Report(), kDemoReport) << "off: exactly the list of before";
  EXPECT_FALSE(ReadShowEstimates(registry_));

  Menu(IDM_EDIT_ESTIMATES);
  Reopen(folder_.Text());
  EXPECT_TRUE(Ticked());
  SetAppText("sample");
  Click(form1::cmdOK);
  EXPECT_EQ(Report(), kDemoWithEstimates);
}

}  // namespace
}  // namespace kelvary::test
