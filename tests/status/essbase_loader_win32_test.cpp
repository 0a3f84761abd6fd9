// Without esbapin.dll where Windows looks for it, nothing loads. This
// program lies apart from the stand-in library on purpose.
#include <gtest/gtest.h>

#include "status/essbase_library.h"

namespace kelvary {
namespace {

TEST(EssbaseLoaderWin32, MissingDllDoesNotLoadAndSaysWhy) {
  const LoadedEssbase loaded = LoadEssbaseLibrary();
  EXPECT_EQ(loaded.library, nullptr);
  EXPECT_EQ(loaded.error, "esbapin.dll cannot be loaded, error 126");
}

}  // namespace
}  // namespace kelvary
