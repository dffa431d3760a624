// Runs one golden case file (see HACKING.md); with --rebase rewrites its expectations from what
// the tools produced.
//
//   golden_runner (--tools BUILD_DIR | --vornak PATH --mavren PATH) [--rebase] CASE.txt
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "tests/golden_case_runner.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  golden::ToolPaths tools;
  bool rebase = false;
  std::string case_path;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--rebase") {
      rebase = true;
    } else if (arg == "--tools" && i + 1 < argc) {
      fs::path build = argv[++i];
      tools["vornak"] = build / "vornak" / "vornak";
      tools["mavren"] = build / "mavren" / "mavren";
    } else if ((arg == "--vornak" || arg == "--mavren") && i + 1 < argc) {
      tools[arg.substr(2)] = argv[++i];
    } else {
      case_path = arg;
    }
  }
  for (auto it = tools.begin(); it != tools.end();) {
    it = fs::exists(it->second) ? std::next(it) : tools.erase(it);
  }
  std::ifstream in(case_path, std::ios::binary);
  if (case_path.empty() || !in) {
    std::cerr << "usage: golden_runner (--tools BUILD_DIR | --vornak PATH --mavren PATH) "
                 "[--rebase] CASE.txt\n";
    return 2;
  }
  std::ostringstream text;
  text << in.rdbuf();
  golden::CaseFile file = golden::ParseCase(text.str());
  std::vector<std::string> failures = golden::RunCase(&file, tools, rebase);
  if (rebase)
    std::ofstream(case_path, std::ios::binary | std::ios::trunc) << golden::FormatCase(file);
  for (const std::string& failure : failures) std::cout << failure << "\n";
  if (failures.empty()) return 0;
  std::cout << case_path << ": " << failures.size() << " mismatch(es)\n";
  return 1;
}
