// Projects built in memory for the unit tests: an opcode file, an IDE file and source files given
// as texts, compiled in-process with the console captured.
#pragma once

#include <cstdio>
#include <map>
#include <string>

#include "platform/console.h"
#include "vornak/core/build_state.h"

namespace vornak {

// The instruction set of the tests; each name says what its parameters are for.
inline constexpr const char* kTestOpcodes =
    "; test instruction set\r\n"
    "[opcodes]\r\n"
    "0001=1,WAIT_FRAMES\r\n"
    "0002=1,GOTO\r\n"
    "0003=2,SET_VAR\r\n"
    "0004=4,PLACE_OBJECT\r\n"
    "0005=0,NOP\r\n"
    "0006=-1,START_SCRIPT\r\n"
    "0007=1,SHOW_TEXT\r\n"
    "0008=1,LOAD_MISSION\r\n";

struct TestProject {
  std::string opcodes = kTestOpcodes;
  std::string ide;
  std::map<std::string, std::string> files;  // sources by stored path; the main part first
  std::string main_file = "main.gsr";
  std::string mission_folder = "m\\";
};

// Console output written to memory.
class CapturedConsole {
 public:
  CapturedConsole();
  ~CapturedConsole();
  CapturedConsole(const CapturedConsole&) = delete;
  CapturedConsole& operator=(const CapturedConsole&) = delete;

  platform::Console& console() { return console_; }
  std::string Text();

 private:
  char* buffer_ = nullptr;
  size_t size_ = 0;
  std::FILE* file_;
  platform::Console console_;
};

struct TestBuild {
  bool ok = false;
  std::string error;    // the failure's message
  std::string console;  // what the build printed
  BuildState state;

  // The compiled bytes from the code start on.
  std::string Code() const { return state.compiled.substr(state.code_start); }
};

// A state with the project's tables loaded and the main part as PartList entry 0.
BuildState LoadedState(const TestProject& project);

// Compiles |project| with CompileProject, catching the failure.
TestBuild Compile(const TestProject& project);

// A project whose main part holds |main_source| alone.
TestBuild CompileMain(const std::string& main_source);

// Bytes as upper-case hexadecimal pairs separated by blanks: "04 7F".
std::string Hex(std::string_view bytes);

}  // namespace vornak
