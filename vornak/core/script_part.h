// A script part: one source file of the project, the main part or a mission, with its instruction
// records, its labels and, once laid out, its place in the compiled file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/arena.h"
#include "platform/paths.h"
#include "vornak/core/instruction.h"
#include "vornak/core/name_table.h"
#include "vornak/core/record_store.h"

namespace vornak {

// A part's label offsets are kept in its build's arena.
using LabelOffsets = std::vector<int32_t, platform::ArenaAllocator<int32_t>>;

struct ScriptPart {
  int32_t Start = 0;    // offset of the part's first instruction in the compiled file
  int32_t Size = 0;     // bytes of the part's instructions
  PartRecords records;  // the part's instructions in source order, see RecordReader
  int64_t instruction_count = 0;
  NameTable label_names;  // upper case, at most 64 characters each; ids in order of appearance
  // By label name id, where the name's first definition stands: while reading, the index of the
  // instruction that follows it; after layout, that instruction's byte offset from the start of
  // the part. Names get their ids in source order, so the positions never decrease.
  LabelOffsets label_offsets;

  // How the part was reached, for refusing missions that name each other in a cycle.
  int32_t parent = -1;  // the part whose MISSION directive added it; -1 for the main part
  uint32_t depth = 0;   // directives between the main part and this one
  std::optional<platform::FileIdentity> identity;  // the file read, once opened
};

}  // namespace vornak
