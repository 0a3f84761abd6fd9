#include "servers/registry_file_store.h"

#include "servers/registry_file_format.h"

namespace kelvary {

namespace {
constexpr std::string_view kDamagedLine = ", line ";
constexpr std::string_view kDamagedEnd = ". The server store reads as empty and the file is left unchanged.";
constexpr std::string_view kUnreadable = " cannot be read: ";
constexpr std::string_view kNotChanged = ". The server store is left unchanged.";
}  // namespace

RegistryFileStore::RegistryFileStore(std::unique_ptr<RegistryFileAccess> file, const CaseMap& cases)
    : file_(std::move(file)), cases_(&cases) {}

void RegistryFileStore::Read(const std::function<void(const RegistryTree&)>& use) {
  std::string error;
  const std::optional<std::string> bytes = file_->ReadAll(&error);
  use(ParseRegFile(bytes.value_or(std::string()), *cases_).tree);
}

long RegistryFileStore::Update(const std::function<TreeChange(RegistryTree&)>& change) {
  long status = kRegStoreIoFailed;
  file_->WithWriteLock([&] { status = UpdateLocked(change); });
  return status;
}

long RegistryFileStore::UpdateLocked(const std::function<TreeChange(RegistryTree&)>& change) {
  std::string error;
  const std::optional<std::string> bytes = file_->ReadAll(&error);
  if (!bytes) {
    return kRegStoreIoFailed;
  }
  ParsedRegFile parsed = ParseRegFile(*bytes, *cases_);
  if (parsed.problem) {
    return kRegStoreCorrupt;
  }
  const TreeChange result = change(parsed.tree);
  if (!result.altered) {
    return result.status;
  }
  if (file_->ChangeRefusal()) {
    return kRegAccessDenied;
  }
  const std::optional<std::string> text = FormatRegFile(parsed.tree, parsed.encoding);
  return text && file_->Replace(*text) ? result.status : kRegStoreIoFailed;
}

std::optional<std::string> DescribeRegistryFileProblem(RegistryFileAccess& file, const CaseMap& cases) {
  std::string error;
  const std::optional<std::string> bytes = file.ReadAll(&error);
  if (!bytes) {
    return file.Path() + std::string(kUnreadable) + error;
  }
  const std::optional<RegFileProblem> problem = ParseRegFile(*bytes, cases).problem;
  if (!problem) {
    return std::nullopt;
  }
  return file.Path() + std::string(kDamagedLine) + std::to_string(problem->line) + ": " + problem->reason +
         std::string(kDamagedEnd);
}

std::optional<std::string> DescribeRegistryFileChangeProblem(RegistryFileAccess& file, const CaseMap& cases) {
  if (std::optional<std::string> problem = DescribeRegistryFileProblem(file, cases)) {
    return problem;
  }
  const std::optional<std::string> refusal = file.ChangeRefusal();
  return refusal ? std::optional<std::string>(file.Path() + " " + *refusal + std::string(kNotChanged)) : std::nullopt;
}

}  // namespace kelvary
