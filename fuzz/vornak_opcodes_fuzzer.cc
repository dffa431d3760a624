// The assembler's opcode file loader on arbitrary text: a table or a clean failure, and a table
// whose every name finds an opcode.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/error.h"
#include "platform/line_reader.h"
#include "vornak/core/opcode_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::LineReader lines =
      platform::LineReader::FromMemory({reinterpret_cast<const char*>(data), size});
  vornak::OpcodeTable table;
  try {
    table.Load(lines, "opcodes.ini");
  } catch (const platform::Error&) {
    return 0;
  }
  for (uint16_t opcode = vornak::kMinOpcode; opcode <= vornak::kMaxOpcode; ++opcode) {
    const std::string& name = table.Def(opcode).name;
    if (!name.empty() && table.Find(name).value_or(0) > opcode) std::abort();
  }
  return 0;
}
