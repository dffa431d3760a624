// The result file is never emptied: a run only sets its own keys, so after a failure the counts
// of the last successful run stay beside failed=1, and a reader looks at "failed" first.
#include "vornak/driver.h"

#include <exception>
#include <new>
#include <string_view>

#include "platform/console.h"
#include "platform/error.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "platform/ticks.h"
#include "vornak/config.h"
#include "vornak/core/pipeline.h"

namespace vornak {
namespace {

using platform::Glyph;
using platform::GlyphText;

constexpr std::string_view kTitle = "Zelkar Mission Assembler 0.2.1";
constexpr std::string_view kCredit = "free and open tools for mission scripts";
constexpr size_t kBannerWidth = 79;  // counted in glyphs

std::string Repeated(Glyph glyph, size_t count) {
  std::string text;
  for (size_t i = 0; i < count; ++i) text.append(GlyphText(glyph));
  return text;
}

void PrintBanner(platform::Console& console) {
  std::string top = " ";
  top.append(GlyphText(Glyph::kTopLeft)).append(GlyphText(Glyph::kHorizontal));
  top.append(" ").append(kTitle).append(" ");
  top.append(Repeated(Glyph::kHorizontal, kBannerWidth - 6 - kTitle.size()));
  top.append(GlyphText(Glyph::kTopRight));

  std::string middle = " ";
  middle.append(GlyphText(Glyph::kVertical));
  middle.append(kBannerWidth - 4 - kCredit.size(), ' ').append(kCredit).append(" ");
  middle.append(GlyphText(Glyph::kVertical));

  std::string bottom = " ";
  bottom.append(GlyphText(Glyph::kBottomLeft));
  bottom.append(Repeated(Glyph::kHorizontal, kBannerWidth - 3));
  bottom.append(GlyphText(Glyph::kBottomRight));

  console.Line(top);
  console.Line(middle);
  console.Line(bottom);
  console.Line();
  console.Line();
}

// The result file. The keys of a run are gathered and written in one replacement of the file,
// which then holds all of them or, when the write fails, none; the failure is reported on the
// error stream and the run ends with status 1.
class BuildLog {
 public:
  BuildLog(std::string path, std::FILE* err) : path_(std::move(path)), err_(err) {}

  void Set(std::string_view key, std::string_view value) {
    entries_.push_back({std::string(key), std::string(value)});
  }

  void RecordFailure(std::string_view message) {
    Set("err_message", message);
    Set("failed", "1");
  }

  bool Write() {
    try {
      platform::WriteProfileStrings(path_, "log", entries_);
      return true;
    } catch (const platform::Error& error) {
      std::fprintf(err_, "vornak: %s\n", error.what());
      return false;
    }
  }

 private:
  std::string path_;
  std::FILE* err_;
  std::vector<platform::ProfileEntry> entries_;
};

std::string FailureMessage(const std::exception& failure) {
  if (dynamic_cast<const std::bad_alloc*>(&failure)) return "Out of memory";
  return failure.what();
}

// Milliseconds as seconds with two decimals, rounded half up: 1505 gives "1.51".
std::string SecondsText(uint32_t milliseconds) {
  const uint64_t hundredths = (static_cast<uint64_t>(milliseconds) + 5) / 10;
  const uint64_t fraction = hundredths % 100;
  return std::to_string(hundredths / 100) + (fraction < 10 ? ".0" : ".") + std::to_string(fraction);
}

void CountLine(platform::Console& console, int64_t count, std::string_view what) {
  std::string line = "    ";
  line.append(GlyphText(Glyph::kCheck)).append(" ").append(std::to_string(count)).append(what);
  console.Line(line);
}

void Report(const BuildState& state, uint32_t elapsed, platform::Console& console, BuildLog& log) {
  const auto variables = static_cast<int64_t>(state.symbols.variables.size());
  const auto objects = static_cast<int64_t>(state.symbols.local_objects.size());
  const auto missions = static_cast<int64_t>(state.part_list.size()) - 1;
  console.Line("  Compile time: " + SecondsText(elapsed) + " Seconds");
  console.Line();
  console.Line("  Summary:");
  console.Line();
  CountLine(console, variables, " Variable(s)");
  CountLine(console, objects, " Local Object(s)");
  CountLine(console, missions, " Mission(s)");
  CountLine(console, state.instruction_total, " Instruction(s)");
  console.Line();

  log.Set("compiletime", std::to_string(elapsed));
  log.Set("num_missions", std::to_string(missions));
  log.Set("num_vars", std::to_string(variables));
  log.Set("num_objects", std::to_string(objects));
  log.Set("num_opcodes", std::to_string(state.instruction_total));
  log.Set("failed", "0");
  log.Set("err_message", "");
}

void PrintUsage(const DriverOptions& options) {
  const std::string config = platform::ChangeExtension(options.program_path, ".ini");
  const std::string log = std::string(platform::FolderPart(options.program_path)) + "Vornak.log";
  std::fprintf(
      options.out,
      "Usage: vornak PROJECT.ini\n"
      "       vornak --help | --version\n"
      "\n"
      "Assembles the mission sources of a project into one compiled script file.\n"
      "\n"
      "PROJECT.ini, section [script]: main_thread (the main source file), output (the\n"
      "compiled file to write) and mission_dir (the folder of the mission files that\n"
      "#mission lines name). Relative paths are taken from the current directory.\n"
      "\n"
      "Configuration, beside the executable: %s\n"
      "  section [paths]: op (the opcode definition file), ide (the object definition file)\n"
      "Result file, in the same folder, which must be writable: %s\n"
      "  section [log]: failed (0 or 1), err_message, and after a success compiletime,\n"
      "  num_missions, num_vars, num_objects, num_opcodes\n"
      "\n"
      "Exit status: 0 after a successful build, 1 after any failure.\n"
      "A project file named --help or --version is reached as ./--help.\n",
      config.c_str(), log.c_str());
}

}  // namespace

int RunAssembler(const DriverOptions& options) {
  const std::string option = options.arguments.empty() ? "" : options.arguments[0];
  if (option == "--help") {
    PrintUsage(options);
    return 0;
  }
  if (option == "--version") {
    std::fputs("vornak 0.2.1\n", options.out);
    return 0;
  }
  platform::Console console(options.out);
  PrintBanner(console);
  BuildLog log(std::string(platform::FolderPart(options.program_path)) + "Vornak.log", options.err);
  BuildState state;

  bool started = false;
  try {
    InitialiseAssembler(platform::ChangeExtension(options.program_path, ".ini"), &state);
    OpenProject(options.arguments, &state);
    started = true;
  } catch (const std::exception& failure) {
    const std::string message = FailureMessage(failure);
    console.Line("  Initialization failed: " + message);
    log.RecordFailure(message);
  }

  bool success = false;
  if (started) {
    const uint32_t start = platform::TickCount();
    try {
      success = CompileProject(&state, FileSources(), console);
    } catch (const std::exception& failure) {
      log.RecordFailure(FailureMessage(failure));
    }
    if (success) {
      Report(state, platform::TicksBetween(start, platform::TickCount()), console, log);
    }
  }

  const bool logged = log.Write();
  ReleaseBuildState(&state);
  console.Line();
  console.Line();
  console.Flush();
  return success && logged ? 0 : 1;
}

void ReleaseBuildState(BuildState* state) {
  state->output.reset();
  *state = BuildState();
}

}  // namespace vornak
