// The checks run in a fixed order and stop at the first failure, so a person fixing a broken
// set-up meets its faults one at a time, from the tool to the project.
#include "vornak/config.h"

#include "platform/error.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace vornak {
namespace {

// "first", the path in double quotes, "last": the form of the path-check messages.
platform::Error PathError(std::string_view first, std::string_view path, std::string_view last) {
  std::string message(first);
  message.append("\"").append(path).append("\"").append(last);
  return platform::Error(message);
}

std::string ReadPath(const std::string& file, std::string_view section, std::string_view key) {
  return platform::ReadProfileString(file, section, key, "", kMaxPathLength);
}

}  // namespace

void InitialiseAssembler(const std::string& tool_config_path, BuildState* state) {
  if (!platform::FileExists(tool_config_path)) {
    throw PathError("Vornak configuration file ", tool_config_path, " does not exist, Aborting");
  }
  const std::string opcode_file = ReadPath(tool_config_path, "paths", "op");
  const std::string ide_file = ReadPath(tool_config_path, "paths", "ide");
  const std::string opcode_path(platform::Trim(opcode_file));
  const std::string ide_path(platform::Trim(ide_file));
  if (!platform::FileExists(opcode_path)) {
    throw PathError("Scm opcode ini ", opcode_path, " does not exist, Aborting");
  }
  if (!platform::FileExists(ide_path)) {
    throw PathError("IDE File ", ide_path, " does not exist, Aborting");
  }
  state->models.Load(ide_path);
  state->opcodes.Load(opcode_path);
}

void OpenProject(const std::vector<std::string>& arguments, BuildState* state) {
  if (arguments.empty()) throw platform::Error("No project file specified");
  const std::string& project = arguments[0];
  if (!platform::FileExists(project)) throw PathError("No project ", project, " not found");

  const std::string main_source = ReadPath(project, "script", "main_thread");
  const std::string output = ReadPath(project, "script", "output");
  std::string mission_folder = ReadPath(project, "script", "mission_dir");
  if (mission_folder.empty() || mission_folder.back() != '\\') mission_folder += '\\';

  const std::string_view mission_path = platform::Trim(mission_folder);
  if (!platform::FolderExists(mission_path)) {
    throw PathError("Mission directory ", mission_path, " does not exist!");
  }
  const std::string_view main_path = platform::Trim(main_source);
  if (main_path.empty()) throw platform::Error("No main thread declared, Aborting");
  if (!platform::FileExists(main_path)) throw PathError("Main thread ", main_path, ", Aborting");

  // The output is written to a temporary file beside it and renamed onto it by a successful
  // build, so a failed build leaves the earlier file as it was.
  state->output_path = platform::Trim(output);
  state->output = platform::ReplacingFile::Create(state->output_path);
  if (!state->output) throw platform::Error("Cannot create file " + state->output_path);

  state->mission_folder = std::move(mission_folder);
  state->part_list = {main_source};
}

}  // namespace vornak
