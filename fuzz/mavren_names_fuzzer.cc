// The disassembler's opcode file loader on arbitrary text: a table or a clean stop.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "mavren/names.h"
#include "platform/error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    mavren::LoadNameTables({reinterpret_cast<const char*>(data), size}, "scm_asm.ini");
  } catch (const platform::Error&) {
  }
  return 0;
}
