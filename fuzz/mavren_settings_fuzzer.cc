// The disassembler's settings on arbitrary text: settings or a clean stop.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "mavren/startup.h"
#include "platform/error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    mavren::ReadSettings({reinterpret_cast<const char*>(data), size}, "/tools/",
                         "/tools/mavren.ini");
  } catch (const platform::Error&) {
  }
  return 0;
}
