#pragma once
// The store's behaviour, written once and run over the registry backend of
// each system: the .reg file, or the Windows registry under Wine. Each
// backend's test program defines OpenStoreUnderTest.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "servers/registry_backend.h"
#include "support/registry_test_helpers.h"

namespace kelvary {

std::unique_ptr<RegistryBackend> OpenStoreUnderTest();

class StoreBehaviour : public ::testing::Test {
 protected:
  // A Servers key of this test's own, removed again afterwards (and left
  // over from an interrupted run before): the real registry is shared by
  // every test of the prefix.
  void SetUp() override { RemoveKeyTree(*reg_, test_key_); }
  void TearDown() override {
    RemoveKeyTree(*reg_, test_key_);
    reg_->DeleteKey(RegRoot::CurrentUser, kTestsKey);  // refused while another test's key is there
  }
  std::string ServersKey() const { return test_key_ + "\\Servers"; }
  std::string ServerKey(const std::string& name) const { return ServersKey() + "\\" + name; }

  static constexpr char kTestsKey[] = "Software\\Brennic\\KelvaryTests";
  std::unique_ptr<RegistryBackend> reg_ = OpenStoreUnderTest();
  std::string test_key_ =
      std::string(kTestsKey) + "\\" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
};

}  // namespace kelvary
