// Stands in for libFuzzer's driver where there is none (the sanitizer
// build): runs the target once on every file named, or found in a folder
// named, so that the seed corpus and every kept finding run with each test
// run. A finding aborts, which fails the test.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

int RunFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  int inputs = 0;
  for (int k = 1; k < argc; ++k) {
    const std::filesystem::path named(argv[k]);
    if (!std::filesystem::is_directory(named)) {
      inputs += RunFile(named);
      continue;
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(named)) {
      if (entry.is_regular_file()) inputs += RunFile(entry.path());
    }
  }
  std::printf("%d inputs replayed\n", inputs);
  return inputs > 0 ? 0 : 1;
}
