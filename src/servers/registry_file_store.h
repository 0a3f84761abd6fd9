#pragma once
// The store kept in a .reg file where there is no registry. Every change
// happens under the file's advisory write lock: read the file, change the
// tree, write it back whole into a temporary file and rename that over the
// file, so that two running programs never lose each other's writes and a
// crash never leaves half a file. A file that cannot be parsed is never
// written: reads see an empty store and changes fail.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "servers/registry_backend.h"
#include "servers/registry_tree_backend.h"

namespace kelvary {

// The file itself, from the platform layer.
class RegistryFileAccess {
 public:
  virtual ~RegistryFileAccess() = default;
  virtual const std::string& Path() const = 0;
  // The file's bytes, empty when there is no file yet; nothing when it
  // exists but cannot be read, with the reason in `error`.
  virtual std::optional<std::string> ReadAll(std::string* error) = 0;
  // Runs `work` holding the advisory write lock; not at all when the lock
  // cannot be had.
  virtual void WithWriteLock(const std::function<void()>& work) = 0;
  // Why the file must not be changed although it could be (its owner made
  // it read-only), as a few words; nothing when it may be.
  virtual std::optional<std::string> ChangeRefusal() = 0;
  // Puts `bytes` in place of the file at once (temporary file, flush,
  // rename); false when that fails, leaving the file as it was.
  virtual bool Replace(std::string_view bytes) = 0;
};

class RegistryFileStore final : public RegistryTreeStore {
 public:
  RegistryFileStore(std::unique_ptr<RegistryFileAccess> file, const CaseMap& cases);

  void Read(const std::function<void(const RegistryTree&)>& use) override;
  long Update(const std::function<TreeChange(RegistryTree&)>& change) override;

 private:
  long UpdateLocked(const std::function<TreeChange(RegistryTree&)>& change);

  std::unique_ptr<RegistryFileAccess> file_;
  const CaseMap* cases_;
};

// Why the file cannot serve as the store, as one line naming the file and,
// for a damaged file, the line that is wrong; nothing when it can.
std::optional<std::string> DescribeRegistryFileProblem(RegistryFileAccess& file, const CaseMap& cases);
// The same, and also why it may be read but not changed.
std::optional<std::string> DescribeRegistryFileChangeProblem(RegistryFileAccess& file, const CaseMap& cases);

// The store over the .reg file at `path` (created by the first change).
// Implemented by the platform layer where there is no registry.
std::unique_ptr<RegistryBackend> OpenRegistryFile(const std::string& path);

}  // namespace kelvary
