#include "vornak/core/test_project.h"

#include <cstdlib>

#include "platform/error.h"
#include "platform/line_reader.h"
#include "vornak/core/pipeline.h"

namespace vornak {

CapturedConsole::CapturedConsole() : file_(open_memstream(&buffer_, &size_)), console_(file_) {}

CapturedConsole::~CapturedConsole() {
  std::fclose(file_);
  std::free(buffer_);
}

std::string CapturedConsole::Text() {
  std::fflush(file_);
  return std::string(buffer_, size_);
}

BuildState LoadedState(const TestProject& project) {
  BuildState state;
  platform::LineReader ide = platform::LineReader::FromMemory(project.ide);
  state.models.Load(ide);
  platform::LineReader opcodes = platform::LineReader::FromMemory(project.opcodes);
  state.opcodes.Load(opcodes, "opcodes.ini");
  state.mission_folder = project.mission_folder;
  state.part_list = {project.main_file};
  return state;
}

TestBuild Compile(const TestProject& project) {
  TestBuild build;
  build.state = LoadedState(project);
  CapturedConsole console;
  try {
    build.ok = CompileProject(&build.state, MemorySources(&project.files), console.console());
  } catch (const platform::Error& error) {
    build.error = error.what();
  }
  build.console = console.Text();
  return build;
}

TestBuild CompileMain(const std::string& main_source) {
  TestProject project;
  project.files["main.gsr"] = main_source;
  return Compile(project);
}

std::string Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (const char byte : bytes) {
    if (!text.empty()) text += ' ';
    text += kDigits[static_cast<uint8_t>(byte) >> 4];
    text += kDigits[static_cast<uint8_t>(byte) & 0xF];
  }
  return text;
}

}  // namespace vornak
