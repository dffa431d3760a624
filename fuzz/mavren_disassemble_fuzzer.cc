// The disassembler's reader and writer on arbitrary bytes taken as a compiled script, the part
// texts kept in memory. Every input must end in a complete disassembly or a clean stop, under two
// sets of settings: the defaults, and every naming option on with narrow columns.
#include <cstddef>
#include <cstdint>
#include <string>

#include "mavren/names.h"
#include "mavren/startup.h"
#include "mavren/writer.h"
#include "platform/error.h"

namespace {

// Jumps, the if-block opcodes, part names, mission references, object positions, open lists and
// an opcode with more parameters than a decoded instruction holds.
constexpr char kOpcodeFile[] =
    "[opcodes]\n"
    "0001=2,SET_TIMER\n0002=1,GOTO\n0003=0,STOP\n0004=-1,LIST\n0005=300,OVERSIZED\n"
    "004D=1,GOTO_UNLESS\n004F=1,CALL\n0050=1,CALL_IF_FALSE\n00D6=1,IF\n00D7=1,SKIP\n"
    "0107=1,PING_OBJECT\n02CD=2,JUMP_WITH\n0363=6,ORBIT_OBJECT\n03A4=1,NAME_PART\n"
    "03B6=7,LINK_OBJECTS\n0417=1,START_PART\n0008=1\n"
    "[variables]\n0008=Counter\n000C=Speed\n"
    "[labels]\n0040=START\n0050=LOOP\n";

class DiscardingSink : public mavren::PartSink {
 public:
  void Start(int64_t) override {}
  void BeginPart(const std::string& path) override { bytes_ += path.size(); }
  void Write(std::string_view text) override { bytes_ += text.size(); }
  void EndPart(int64_t) override {}

 private:
  size_t bytes_ = 0;
};

mavren::DisSettings Named() {
  mavren::DisSettings settings;
  settings.name_variables = 1;
  settings.name_labels = 1;
  settings.pad_variables = 1;
  settings.par_distance = 0;
  settings.default_indent = 1;
  settings.if_block_indent = 3;
  return settings;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const mavren::NameTables names = mavren::LoadNameTables(kOpcodeFile, "scm_asm.ini");
  static const mavren::DisSettings settings[] = {mavren::DisSettings(), Named()};
  for (const mavren::DisSettings& each : settings) {
    DiscardingSink sink;
    try {
      mavren::Disassemble({data, size}, "fuzz.scm", each, names, sink);
    } catch (const platform::Error&) {
    }
  }
  return 0;
}
