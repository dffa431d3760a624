// The golden case runner: writes files, runs tools and compares results in directive order.
#include "tests/golden_case_runner.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace fs = std::filesystem;

namespace golden {
namespace {

constexpr int kRunTimeoutSeconds = 120;

std::optional<std::string> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

void WriteFile(const fs::path& path, std::string_view bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::vector<std::string> SplitArguments(std::string_view text) {
  std::vector<std::string> args;
  std::string current;
  bool in_word = false;
  bool quoted = false;
  for (char c : text) {
    if (c == '"') {
      quoted = !quoted;
      in_word = true;
    } else if (c == ' ' && !quoted) {
      if (in_word) args.push_back(std::move(current));
      current.clear();
      in_word = false;
    } else {
      current += c;
      in_word = true;
    }
  }
  if (in_word) args.push_back(std::move(current));
  return args;
}

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

class CaseRunner {
 public:
  CaseRunner(ToolPaths tools, fs::path root, bool rebase)
      : tools_(std::move(tools)),
        root_(std::move(root)),
        folder_(root_ / "case"),
        rebase_(rebase) {}

  // Runs every directive in order; returns the failures found.
  std::vector<std::string> Run(CaseFile* file) {
    fs::create_directories(folder_);
    tool_folder_ = folder_;
    bool tools_copied = false;
    auto& directives = file->directives;
    for (size_t index = 0; index < directives.size(); ++index) {
      Directive& d = directives[index];
      if (d.name == "TOOLDIR") {
        tool_folder_ = folder_ / d.argument;
        continue;
      }
      if (!tools_copied) {
        CopyTools();
        tools_copied = true;
      }
      Apply(&d, directives, index);
    }
    if (!tools_copied) CopyTools();
    return failures_;
  }

 private:
  void CopyTools() {
    fs::create_directories(tool_folder_);
    for (const auto& [name, source] : tools_) {
      fs::path target = tool_folder_ / name;
      fs::copy_file(source, target, fs::copy_options::overwrite_existing);
      fs::permissions(target, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
    }
  }

  void Fail(const Directive& d, const std::string& what) {
    failures_.push_back(";;; " + d.name + ": " + d.argument + "\n" + what);
  }

  void Apply(Directive* d, std::vector<Directive>& all, size_t index) {
    const fs::path path = folder_ / d->argument;
    if (d->name == "FILE") {
      WriteFile(path, JoinLines(d->body, "\r\n"));
    } else if (d->name == "FILE-LF") {
      WriteFile(path, JoinLines(d->body, "\n"));
    } else if (d->name == "FILE-NOEOL") {
      std::string text = JoinLines(d->body, "\r\n");
      if (!text.empty()) text.resize(text.size() - 2);
      WriteFile(path, text);
    } else if (d->name == "FILE-HEX") {
      std::string bytes;
      if (!ParseHex(d->body, &bytes)) throw std::runtime_error("malformed hex in FILE-HEX");
      WriteFile(path, bytes);
    } else if (d->name == "FOLDER") {
      fs::create_directories(path);
    } else if (d->name == "REMOVE") {
      fs::remove(path);
    } else if (d->name == "RUN") {
      RunTool(*d, ExpectedStatus(all, index));
    } else if (d->name == "STATUS") {
      if (rebase_) d->argument = std::to_string(last_.status);
    } else if (d->name == "STDOUT" || d->name == "STDERR") {
      CompareText(d, d->name == "STDOUT" ? last_.out : last_.err, "\n");
    } else if (d->name == "EXPECT" || d->name == "EXPECT-LF") {
      std::optional<std::string> actual = ReadFile(path);
      if (!actual || fs::is_directory(path)) return Fail(*d, "file does not exist");
      CompareText(d, *actual, d->name == "EXPECT" ? "\r\n" : "\n");
    } else if (d->name == "EXPECT-HEX") {
      std::optional<std::string> actual = ReadFile(path);
      if (!actual || fs::is_directory(path)) return Fail(*d, "file does not exist");
      std::string expected;
      if (!ParseHex(d->body, &expected)) throw std::runtime_error("malformed hex in EXPECT-HEX");
      if (expected == *actual) return;
      if (rebase_) {
        d->body = FormatHex(*actual);
      } else {
        Fail(*d, LineDiff(FormatHex(expected), FormatHex(*actual)));
      }
    } else if (d->name == "ABSENT") {
      std::error_code ec;
      if (fs::exists(fs::symlink_status(path, ec))) Fail(*d, "exists");
    } else if (d->name == "SAME") {
      std::vector<std::string> names = SplitArguments(d->argument);
      if (names.size() != 2) throw std::runtime_error("SAME needs two paths");
      std::optional<std::string> a = ReadFile(folder_ / names[0]);
      std::optional<std::string> b = ReadFile(folder_ / names[1]);
      if (!a || !b) return Fail(*d, "file does not exist");
      if (*a != *b) Fail(*d, LineDiff(FormatHex(*a), FormatHex(*b)));
    } else if (d->name == "LISTING") {
      std::vector<std::string> names;
      std::error_code ec;
      for (const auto& entry : fs::directory_iterator(path, ec)) {
        names.push_back(entry.path().filename().string());
      }
      if (ec) return Fail(*d, "cannot list the folder");
      std::sort(names.begin(), names.end());
      if (names == d->body) return;
      if (rebase_) {
        d->body = names;
      } else {
        Fail(*d, LineDiff(d->body, names));
      }
    } else {
      throw std::runtime_error("unknown directive " + d->name);
    }
  }

  // A run expects status 0 unless a STATUS directive follows it before the next run.
  static int ExpectedStatus(const std::vector<Directive>& all, size_t index) {
    for (size_t i = index + 1; i < all.size() && all[i].name != "RUN"; ++i) {
      if (all[i].name == "STATUS") return std::stoi(all[i].argument);
    }
    return 0;
  }

  void CompareText(Directive* d, const std::string& raw, std::string_view line_end) {
    std::string actual = MaskCompileTime(MaskCaseFolder(raw, folder_.string()));
    if (actual == JoinLines(d->body, line_end)) return;
    std::vector<std::string> actual_lines;
    bool fits = true;
    if (line_end == "\n") {
      actual_lines = SplitLines(actual);
      fits = actual.empty() || actual.back() == '\n';
    } else {
      // CR LF text: every line must end with CR LF for the body to express it.
      for (std::string& line : SplitLines(actual)) {
        if (line.empty() || line.back() != '\r') fits = false;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        actual_lines.push_back(std::move(line));
      }
      fits = fits && (actual.empty() || actual.back() == '\n');
    }
    if (rebase_ && fits) {
      d->body = actual_lines;
    } else if (rebase_ && d->name.rfind("EXPECT", 0) == 0) {
      d->name = "EXPECT-HEX";
      d->body = FormatHex(raw);
    } else {
      std::string note =
          fits ? "" : "(the actual text does not end every line with the line end)\n";
      Fail(*d, note + LineDiff(d->body, actual_lines));
    }
  }

  void RunTool(const Directive& d, int expected_status) {
    std::vector<std::string> args = SplitArguments(d.argument);
    fs::path cwd = folder_;
    if (!args.empty() && args[0].rfind("cwd=", 0) == 0) {
      cwd = folder_ / args[0].substr(4);
      args.erase(args.begin());
    }
    if (args.empty() || !tools_.count(args[0])) {
      throw std::runtime_error("RUN names no known tool: " + d.argument);
    }
    fs::create_directories(cwd);
    const fs::path program = tool_folder_ / args[0];
    const fs::path out_path = root_ / "stdout";
    const fs::path err_path = root_ / "stderr";

    pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
      int in = open("/dev/null", O_RDONLY);
      int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (in < 0 || out < 0 || err < 0 || chdir(cwd.c_str()) != 0) _exit(126);
      dup2(in, 0);
      dup2(out, 1);
      dup2(err, 2);
      std::vector<std::string> argv_text = args;
      argv_text[0] = program.string();
      std::vector<char*> argv;
      for (std::string& a : argv_text) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(program.c_str(), argv.data());
      _exit(127);
    }
    int wait_status = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kRunTimeoutSeconds);
    while (waitpid(pid, &wait_status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline) {
        kill(pid, SIGKILL);
        waitpid(pid, &wait_status, 0);
        Fail(d, "timed out");
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    last_.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : 128 + WTERMSIG(wait_status);
    last_.out = ReadFile(out_path).value_or("");
    last_.err = ReadFile(err_path).value_or("");
    if (last_.status != expected_status && !rebase_) {
      Fail(d, "exit status " + std::to_string(last_.status) + ", expected " +
                  std::to_string(expected_status) + "\nstdout:\n" + last_.out + "stderr:\n" +
                  last_.err);
    }
  }

  ToolPaths tools_;
  fs::path root_;
  fs::path folder_;
  fs::path tool_folder_;
  bool rebase_;
  RunResult last_;
  std::vector<std::string> failures_;
};
}  // namespace

std::vector<std::string> RunCase(CaseFile* file, const ToolPaths& tools, bool rebase) {
  std::string root_template = (fs::temp_directory_path() / "golden-XXXXXX").string();
  if (!mkdtemp(root_template.data())) return {"case error: cannot create a temporary folder"};
  const fs::path root = root_template;
  std::vector<std::string> failures;
  try {
    failures = CaseRunner(tools, root, rebase).Run(file);
  } catch (const std::exception& e) {
    failures.push_back(std::string("case error: ") + e.what());
  }
  std::error_code ec;
  fs::remove_all(root, ec);
  return failures;
}

}  // namespace golden
