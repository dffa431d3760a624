// Reading the compiled script. The file is trusted only as far as memory safety goes: the header's
// jump opcodes, type bytes and signature are not looked at, and the part starts need not rise;
// what would index outside a table or read outside the file stops the run instead.
#include "mavren/reader.h"

#include <algorithm>
#include <unordered_set>

#include "platform/collation.h"
#include "platform/number_text.h"

namespace mavren {

ScriptLayout WalkHeader(ByteReader& reader) {
  ScriptLayout layout;
  // Each segment's opening jump leads to the next segment; only the targets are read.
  reader.Seek(kSegmentTarget);
  const int64_t object_segment = reader.ReadInt32("object segment start");
  reader.Seek(object_segment + kSegmentTarget);
  const int64_t mission_segment = reader.ReadInt32("mission segment start");

  reader.Seek(object_segment + kObjectCountField);
  const int32_t entries = reader.ReadInt32("object count");
  if (entries > kMaxObjectNames + 1) {
    throw reader.ErrorAt(object_segment + kObjectCountField,
                         "object count " + platform::DecimalText(entries) + " exceeds " +
                             platform::DecimalText(kMaxObjectNames + 1) + " (the signature and " +
                             platform::DecimalText(kMaxObjectNames) + " object names)");
  }
  // Entry 0 is the signature of the tool that wrote the file.
  reader.Seek(object_segment + kObjectEntries);
  reader.ReadText(kObjectNameSize, "signature entry");
  layout.object_names.emplace_back();
  for (int32_t k = 1; k < entries; ++k) {
    layout.object_names.emplace_back(reader.ReadText(kObjectNameSize, "object name"));
  }

  reader.Seek(mission_segment + kSegmentTarget);
  layout.part_offsets.push_back(reader.ReadInt32("main part start"));
  // The end and the size of the main part, which follow, are implied by the part starts.
  reader.Seek(mission_segment + kMissionCountField);
  const int32_t missions = reader.ReadInt32("mission count");
  if (missions < 0 || missions > kMaxMissions) {
    throw reader.ErrorAt(mission_segment + kMissionCountField,
                         "mission count " + platform::DecimalText(missions) + " is outside 0 to " +
                             platform::DecimalText(kMaxMissions));
  }
  for (int32_t i = 1; i <= missions; ++i) {
    layout.part_offsets.push_back(reader.ReadInt32("mission start"));
  }
  layout.part_offsets.push_back(reader.size());
  return layout;
}

void DecodeInstruction(ByteReader& reader, const OpcodeNames& opcodes, const ScriptLayout& layout,
                       int part, DecodedInstruction* out) {
  const int64_t start = reader.offset();
  const uint16_t word = reader.ReadUInt16("opcode word");
  out->negated = (word & kNegatedBit) != 0;
  out->opcode = word & ~kNegatedBit;
  if (out->opcode > kMaxOpcode) {
    throw reader.ErrorAt(start, "opcode " + platform::DecimalText(out->opcode) +
                                    " is outside 0 to " + platform::DecimalText(kMaxOpcode));
  }
  const int32_t count = opcodes[out->opcode].count;
  const bool jump = IsJumpOpcode(out->opcode);
  out->param_count = 0;
  for (int32_t j = 1; j <= count; ++j) {
    if (j > kMaxParams) {
      throw reader.ErrorAt(reader.offset(), "opcode " + platform::DecimalText(out->opcode) +
                                                " has more than " +
                                                platform::DecimalText(kMaxParams) + " parameters");
    }
    ParamSlot& slot = out->slots[j];
    const int64_t type_offset = reader.offset();
    slot.type = reader.ReadUInt8("parameter type");
    switch (static_cast<DataType>(slot.type)) {
      case DataType::kEndOfList:
        return;
      case DataType::kInt32:
        slot.integer = reader.ReadInt32("parameter");
        // A negative jump target counts from the start of the part that holds the jump.
        slot.part_relative = jump && slot.integer < 0;
        if (slot.part_relative) slot.integer = layout.part_offsets[part] - slot.integer;
        break;
      case DataType::kGlobalVar:
      case DataType::kLocalVar:
      case DataType::kInt16:
        slot.integer = reader.ReadInt16("parameter");
        break;
      case DataType::kInt8:
        slot.integer = static_cast<int8_t>(reader.ReadUInt8("parameter"));
        break;
      case DataType::kFixed16:
        slot.real = static_cast<float>(reader.ReadInt16("parameter")) / 16.0f;
        break;
      default:
        // A text's first character is its type byte.
        reader.Seek(type_offset);
        slot.text = reader.ReadText(kTextParamSize, "text parameter");
        break;
    }
    out->param_count = j;
  }
}

JumpTargetMap::JumpTargetMap(int64_t file_length)
    : size_(std::clamp<int64_t>(file_length, 0, kMaxLabelOffset + 1)), words_((size_ + 63) / 64) {}

ScanResult ScanParts(ByteReader& reader, const OpcodeNames& opcodes, const ScriptLayout& layout,
                     DecodedInstruction* instruction) {
  ScanResult scan(reader.size());
  const int parts = layout.mission_count() + 1;
  scan.part_names.resize(parts);
  scan.label_at_end.resize(parts);
  for (int p = 0; p < parts; ++p) {
    WalkPart(reader, layout, p, [&] {
      DecodeInstruction(reader, opcodes, layout, p, instruction);
      const bool jump = IsJumpOpcode(instruction->opcode);
      const bool names_part = instruction->opcode == kPartNameOpcode;
      for (int j = 1; j <= instruction->param_count; ++j) {
        const ParamSlot& slot = instruction->slots[j];
        if (jump && slot.type == static_cast<uint8_t>(DataType::kInt32) &&
            slot.integer < kMaxLabelOffset) {
          const int owner = slot.part_relative ? p : 0;
          if (slot.integer == layout.part_offsets[owner + 1]) {
            scan.label_at_end[owner] = true;
          } else {
            scan.jump_targets.Mark(slot.integer);
          }
        }
        if (names_part && slot.type >= kFirstTextByte && scan.part_names[p].empty()) {
          scan.part_names[p] = slot.text;
        }
      }
    });
  }
  MakePartNamesSafe(&scan.part_names);
  return scan;
}

void MakePartNamesSafe(std::vector<std::string>* names) {
  // Equal by collation is what the assembler takes for the same mission, and a file system that
  // ignores case would take for the same file.
  std::unordered_set<std::string> taken;
  for (size_t p = 0; p < names->size(); ++p) {
    std::string& name = (*names)[p];
    for (char& c : name) {
      if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20) c = '_';
    }
    while (!taken.insert(platform::SortKey(name)).second) {
      name += '_';
      name += platform::DecimalText(static_cast<int64_t>(p));
    }
  }
}

}  // namespace mavren
