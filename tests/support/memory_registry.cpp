#include "support/memory_registry.h"

#include <memory>

namespace kelvary {

namespace {

class MemoryTreeStore final : public RegistryTreeStore {
 public:
  void Read(const std::function<void(const RegistryTree&)>& use) override { use(tree_); }
  long Update(const std::function<TreeChange(RegistryTree&)>& change) override {
    return change(tree_).status;
  }

 private:
  RegistryTree tree_{CaseMap::Windows1252()};
};

}  // namespace

MemoryRegistry::MemoryRegistry() : RegistryTreeBackend(std::make_unique<MemoryTreeStore>()) {}

}  // namespace kelvary
