#pragma once
// The store's behaviour, written once and run over every registry backend
// (the .reg file, the Windows registry under Wine). Each backend's
// test program instantiates StoreBehaviour with a way to open its registry.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "servers/registry_backend.h"

namespace kelvary {

struct StoreUnderTest {
  std::string name;
  std::function<std::unique_ptr<RegistryBackend>()> open;
};

inline void PrintTo(const StoreUnderTest& store, std::ostream* out) { *out << store.name; }

class StoreBehaviour : public ::testing::TestWithParam<StoreUnderTest> {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A Servers key of this test's own, removed again afterwards: the real
  // registry is shared by every test of the prefix.
  std::string ServersKey() const { return test_key_ + "\\Servers"; }
  std::string ServerKey(const std::string& name) const { return ServersKey() + "\\" + name; }

  std::unique_ptr<RegistryBackend> reg_;
  std::string test_key_;
};

}  // namespace kelvary
