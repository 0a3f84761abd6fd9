#pragma once
// A store with servers, a folder of fixture logs and a call record for the
// stand-in Essbase library, loaded through the program's real loader.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "check_test_support.h"
#include "essbase_standin_fixtures.h"
#include "servers/registry_store.h"
#include "status/check_driver.h"
#include "support/memory_registry.h"

namespace kelvary::test {

inline constexpr const char* kLibraryVariable = "KELVARY_ESSBASE_LIBRARY";

class RemoteFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    SetStoreKeyPaths();
#ifndef _WIN32
    // Elsewhere than Windows the library is named; there it is esbapin.dll
    // next to the test program.
    SetEnvironment(kLibraryVariable, KELVARY_STANDIN_LIBRARY);
#endif
    SetEnvironment(standin::kRecordVariable, record_);
    SetEnvironment(standin::kLogsVariable, fixtures_.Text());
  }
  void TearDown() override {
    UnsetEnvironment(standin::kRecordVariable);
    UnsetEnvironment(standin::kLogsVariable);
  }

  void AddServer(const std::string& name, const std::vector<std::pair<std::string, std::string>>& values) {
    for (const auto& [value_name, text] : values) {
      RegWriteText(registry_, RegRoot::CurrentUser, ServerKeyPath(name), value_name, text);
    }
  }
  void AddRemoteServer(const std::string& name, const std::string& dns = standin::kServer,
                       const std::string& user = standin::kUser,
                       const std::string& password = standin::kPassword) {
    AddServer(name, {{"DNS", dns}, {"UserName", user}, {"Password", password}, {"Access", "1"}});
  }

  // The check's clock moves on by clock_step_ at every reading: by default a
  // whole yield interval, so that the scan yields after every header.
  CheckDependencies Deps(QueryRecorder* settings = nullptr) {
    return {registry_, CaseMap::Windows1252(), exe_dir_.Text(), kNativePathSeparator, settings,
            LoadEssbaseLibrary, [this] { return clock_ += clock_step_; }};
  }

  // The stand-in's calls so far, one "Name|arg|arg..." each.
  std::vector<std::string> Calls() const { return ReadLines(record_); }

  std::string Copy(const std::string& server, const std::string& application) const {
    return exe_dir_.File(server + "_" + application + ".log");
  }

  MemoryRegistry registry_;
  std::chrono::steady_clock::time_point clock_{};
  std::chrono::steady_clock::duration clock_step_ = kScanYieldInterval;
  TempFolder fixtures_;
  TempFolder exe_dir_;
  std::string record_ = fixtures_.File("calls.txt");
};

inline std::string Call(const std::string& name, const std::vector<std::string>& args) {
  std::string line = name;
  for (const std::string& arg : args) line += "|" + arg;
  return line;
}

inline std::string LoginCall(const std::string& dns = standin::kServer,
                             const std::string& user = standin::kUser,
                             const std::string& password = standin::kPassword) {
  return Call("EsbLogin", {std::to_string(standin::kInstance), dns, user, password});
}

inline std::string TermCall() { return Call("EsbTerm", {std::to_string(standin::kInstance)}); }

// EsbInit with the record as the API reads it, field by field: version
// 0x65100, 10 context handles, the local path and an empty message file
// padded with blanks, no help file, the client error switch, an error stack
// depth of 100, then the two bytes that end the buffer.
inline std::string InitCall() {
  std::vector<unsigned char> bytes = {0x00, 0x51, 0x06, 0x00, 0x0A, 0x00};
  const std::string local_path = "C:\\ESSBASE";
  bytes.insert(bytes.end(), local_path.begin(), local_path.end());
  bytes.insert(bytes.end(), 110 + 120, ' ');
  bytes.insert(bytes.end(), 120, 0x00);
  bytes.insert(bytes.end(), {0x01, 0x00, 0x64, 0x00, 0x00, 0x00});
  return Call("EsbInit", {standin::Hex(bytes.data(), bytes.size())});
}

}  // namespace kelvary::test
