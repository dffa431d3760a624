// The assembler's statement reader, instruction records, layout and encoder on arbitrary source
// text, compiled in memory. The input is a main part, optionally followed by mission files: each
// line "---" starts the next of the missions "m\a.gsr", "m\b.gsr" and "m\c.gsr", which
// "#mission a" and the like name. Every input must compile or fail with platform::Error.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <map>
#include <string>
#include <string_view>

#include "platform/console.h"
#include "platform/error.h"
#include "platform/line_reader.h"
#include "vornak/core/build_state.h"
#include "vornak/core/pipeline.h"
#include "vornak/core/statement_reader.h"

namespace {

// Jumps, parameter counts from none to an open list, and the numbers the disassembler gives a role.
constexpr char kOpcodeFile[] =
    "[opcodes]\n"
    "0001=1,WAIT_FRAMES\n0002=1,GOTO\n0003=2,SET_VAR\n0004=5,CREATE_OBJECT\n0005=0,NOP\n"
    "0006=-1,START_TASK\n0007=2,SHOW_TEXT\n004D=1,GOTO_UNLESS\n00D6=1,IF_ALL\n"
    "03A4=1,NAME_PART\n0417=1,START_MISSION\n0452=3,LAST_ONE\n";
// Models on both sides of the 8-bit and 16-bit forms, and one whose number is no integer.
constexpr char kIdeFile[] =
    "objs\n1200, CRATE_A, crates, 80, 0\n90, BUOY, sea\n70000, HUGE_SHIP, sea\n12x, ODD, sea\n";
constexpr std::string_view kMissionFiles[] = {"m\\a.gsr", "m\\b.gsr", "m\\c.gsr"};

// The tables every input starts from, loaded once.
const vornak::BuildState& Tables() {
  static const vornak::BuildState* tables = [] {
    auto* state = new vornak::BuildState;
    platform::LineReader ide = platform::LineReader::FromMemory(kIdeFile);
    state->models.Load(ide);
    platform::LineReader opcodes = platform::LineReader::FromMemory(kOpcodeFile);
    state->opcodes.Load(opcodes, "opcodes.ini");
    return state;
  }();
  return *tables;
}

std::FILE* NullConsole() {
  static std::FILE* file = std::fopen("/dev/null", "w");
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::map<std::string, std::string> files;
  size_t start = 0;
  for (size_t file = 0; file <= std::size(kMissionFiles); ++file) {
    size_t end = input.find("\n---\n", start);
    const std::string path = file == 0 ? "main.gsr" : std::string(kMissionFiles[file - 1]);
    files[path] = std::string(input.substr(start, end == input.npos ? input.npos : end - start));
    if (end == input.npos) break;
    start = end + 5;
  }

  vornak::BuildState state;
  state.models = Tables().models;
  state.opcodes = Tables().opcodes;
  state.mission_folder = "m\\";
  state.part_list = {"main.gsr"};
  platform::Console console(NullConsole());
  try {
    vornak::CompileProject(&state, vornak::MemorySources(&files), console);
  } catch (const platform::Error&) {
  }
  return 0;
}
