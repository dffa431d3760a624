// The reading half of the disassembler: the header walk to the object names and the part starts,
// the decoding of one instruction, the walk over a script part, and the scan pass that marks jump
// targets and names the parts before anything is written.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "mavren/byte_reader.h"
#include "mavren/names.h"
#include "mavren/scm_format.h"

namespace mavren {

// The header's tables.
struct ScriptLayout {
  // ObjectNameTable: entry k is the name of local object -k (entry 0 unused).
  std::vector<std::string> object_names;
  // PartOffsets: entry p is the start of script part p (0 = main part, 1 to M = missions), entry
  // M + 1 the length of the file; part p runs up to the start of part p + 1.
  std::vector<int64_t> part_offsets;

  // M, the number of missions.
  int mission_count() const { return static_cast<int>(part_offsets.size()) - 2; }
  // Whether the file names local object |number| (a negative number).
  bool HasObject(int64_t number) const {
    return number < 0 && -number < static_cast<int64_t>(object_names.size());
  }
  // Name of local object |number|, for which HasObject holds.
  const std::string& ObjectName(int64_t number) const { return object_names[-number]; }
};

// Reads the header. Stops with platform::Error on a read outside the file, more than
// kMaxObjectNames object names, or a mission count outside 0 to kMaxMissions.
ScriptLayout WalkHeader(ByteReader& reader);

// One parameter as read: the type byte and the value it introduces.
struct ParamSlot {
  uint8_t type = 0;       // a DataType 1 to 6, or the first character of a text
  int64_t integer = 0;    // DataTypes 1 to 5 (a jump target already made absolute)
  float real = 0;         // DataType 6
  std::string_view text;  // a text: its characters up to the first zero byte
  // A jump target stored as negative: it counts from the start of the part that holds the jump.
  bool part_relative = false;
};

// The instruction decoded last. It is reused for every instruction and never cleared, so until
// the next decode it still tells what the previous instruction was.
struct DecodedInstruction {
  int opcode = 0;  // bit 15 cleared
  bool negated = false;
  int param_count = 0;
  std::array<ParamSlot, kMaxParams + 1> slots;  // parameters 1 to param_count; slot 0 unused
};

// Decodes the instruction at the reader's offset, inside script part |part|, into |out| and leaves
// the reader on the byte after it. Parameters end at a zero type byte (consumed) or after the
// opcode's count. A negative 32-bit parameter of a jump opcode is made absolute: the part's start
// plus its magnitude. Stops on an opcode above kMaxOpcode, more than kMaxParams parameters, or a
// read outside the file.
void DecodeInstruction(ByteReader& reader, const OpcodeNames& opcodes, const ScriptLayout& layout,
                       int part, DecodedInstruction* out);

// The part walk: seeks to the start of |part| and calls |visit|() while at least two bytes of the
// part remain; each call must decode exactly one instruction from the reader's offset.
template <typename Visit>
void WalkPart(ByteReader& reader, const ScriptLayout& layout, int part, Visit&& visit) {
  reader.Seek(layout.part_offsets[part]);
  const int64_t end = layout.part_offsets[part + 1];
  while (reader.offset() < end - 1) visit();
}

// JumpTargetMap: the byte offsets that some jump instruction targets, one bit each. Only offsets
// below the file's length are kept: a label line is written only where an instruction begins.
class JumpTargetMap {
 public:
  explicit JumpTargetMap(int64_t file_length);
  void Mark(int64_t offset) {
    if (offset >= 0 && offset < size_) words_[offset >> 6] |= uint64_t{1} << (offset & 63);
  }
  bool IsMarked(int64_t offset) const {
    return offset >= 0 && offset < size_ && (words_[offset >> 6] >> (offset & 63) & 1) != 0;
  }

 private:
  int64_t size_;
  std::vector<uint64_t> words_;
};

// What the scan pass learns.
struct ScanResult {
  explicit ScanResult(int64_t file_length) : jump_targets(file_length) {}
  JumpTargetMap jump_targets;
  // One per part: a jump names the end of this part as a label of its own, one placed after the
  // part's last instruction. A jump made relative in a mission names its own part's labels, and an
  // absolute one the main part's. Such a target is kept out of |jump_targets|, so its label line
  // ends this part instead of opening the next, where it would name another part's label.
  std::vector<bool> label_at_end;
  // PartNames, one per part: the first text parameter of the part's first kPartNameOpcode
  // instruction that has one, else empty; made safe and distinct by MakePartNamesSafe.
  std::vector<std::string> part_names;
};

// Makes part names usable as file names and references: every "/", "\" and byte below 0x20
// becomes "_"; then a name equal by collation to an earlier part's final name (the empty name
// included) gets "_" and its part number appended until it is distinct.
void MakePartNamesSafe(std::vector<std::string>* names);

// The scan pass over every part. |instruction| is the decoder's record, which the writing pass
// goes on using.
ScanResult ScanParts(ByteReader& reader, const OpcodeNames& opcodes, const ScriptLayout& layout,
                     DecodedInstruction* instruction);

}  // namespace mavren
