// Runs a fuzz target over files and folders of inputs, for builds without libFuzzer: the seed
// corpus and every regression input run in the regular tests, under the sanitizers in CI.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

void RunFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>()};
  LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  int inputs = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path path = argv[i];
    if (std::filesystem::is_directory(path)) {
      for (const auto& entry : std::filesystem::directory_iterator(path)) {
        if (!entry.is_regular_file()) continue;
        RunFile(entry.path());
        ++inputs;
      }
    } else if (std::filesystem::exists(path)) {
      RunFile(path);
      ++inputs;
    }
  }
  std::printf("%d inputs ran\n", inputs);
  return 0;
}
