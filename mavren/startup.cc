// The run sequence. The progress display announces each step as it begins: "Initializing...",
// "Loading settings...", "Loading INI...", "Disassembling...".
#include "mavren/startup.h"

#include <optional>

#include "mavren/files.h"
#include "mavren/names.h"
#include "mavren/writer.h"
#include "platform/error.h"
#include "platform/ini_file.h"
#include "platform/number_text.h"
#include "platform/paths.h"
#include "platform/progress_line.h"

namespace mavren {
namespace {

constexpr std::string_view kSection = "settings";
// A setting's value holds at most this many characters; the rest is cut.
constexpr size_t kMaxValueLength = 1023;

// The "*" rule: a value with a "*" is the program folder followed by what comes after the first
// "*"; whatever stands before it is dropped.
std::string WithProgramFolder(const std::string& value, const std::string& program_folder) {
  const size_t star = value.find('*');
  return star == std::string::npos ? value : program_folder + value.substr(star + 1);
}

// Ends the redrawn progress line however the run ends, so a message that follows starts on a line
// of its own.
class ProgressCloser {
 public:
  explicit ProgressCloser(platform::ProgressLine& progress) : progress_(progress) {}
  ~ProgressCloser() { progress_.Close(); }

 private:
  platform::ProgressLine& progress_;
};

}  // namespace

DisSettings ReadSettings(std::string_view ini_text, const std::string& program_folder,
                         std::string_view settings_path) {
  auto value = [&](std::string_view key, std::string_view default_value) {
    return platform::ReadProfileStringFromText(ini_text, kSection, key, default_value,
                                               kMaxValueLength);
  };
  auto number = [&](std::string_view key, std::string_view default_value) {
    const std::string text = value(key, default_value);
    const std::optional<int16_t> result = platform::RoundToInt16(platform::ReadNumber(text));
    if (!result) {
      throw platform::Error(std::string(settings_path) + ": the setting " + std::string(key) + "=" +
                            text + " is outside -32768 to 32767");
    }
    return *result;
  };
  DisSettings settings;
  settings.program_folder = program_folder;
  settings.opcode_file = program_folder + "scm_asm.ini";
  settings.input_file = WithProgramFolder(value("inputfile", ""), program_folder);
  settings.output_dir = WithProgramFolder(value("outputdir", ""), program_folder);
  settings.name_opcodes = number("nameopcodes", "1");
  settings.name_variables = number("namevariables", "0");
  settings.name_labels = number("namelabels", "0");
  settings.default_indent = number("defaultindent", "4");
  settings.if_block_indent = number("ifblockindent", "2");
  settings.par_distance = number("pardistance", "25");
  settings.pad_variables = number("padvariables", "0");
  return settings;
}

void RunMavren() {
  const std::string program_folder = platform::ProgramFolder();
  platform::ProgressLine progress(stderr);
  ProgressCloser closer(progress);
  progress.SetStatus("Initializing...");
  progress.SetValue(0);

  progress.SetStatus("Loading settings...");
  const std::string settings_path = program_folder + "mavren.ini";
  // A missing settings file leaves every setting at its default.
  const FileBytes ini = platform::FileExists(settings_path)
                            ? ReadWholeFile(settings_path, "settings file")
                            : FileBytes();
  const DisSettings settings = ReadSettings(ini.text(), program_folder, settings_path);

  progress.SetStatus("Loading INI...");
  const NameTables names = LoadNameTables(ReadWholeFile(settings.opcode_file, "opcode file").text(),
                                          settings.opcode_file);

  progress.SetStatus("Disassembling...");
  if (settings.input_file.empty()) {
    throw platform::Error(settings_path + ": no input file: the setting inputfile is empty");
  }
  const FileBytes input = ReadWholeFile(settings.input_file, "input file");
  PartFiles files(&progress);
  Disassemble(input.bytes(), settings.input_file, settings, names, files);
}

}  // namespace mavren
