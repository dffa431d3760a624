// How an instruction record is laid down in the code area: the opcode word (bit 15 set when
// negated), one encoded parameter per slot, and for an open list a closing byte 0. A parameter is
// a DataType byte and its payload, except a string: 8 bytes of text, zero-filled, with no type.
//
// Jump targets follow the file's address rules: a label of the main part is addressed by its
// absolute file offset, from whichever part; a mission part may also reach its own labels, by
// minus the label's offset from the part's start. Offset 0 of a mission part cannot be addressed
// that way (it would read as absolute offset 0), so a reference to it is refused.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "vornak/core/instruction.h"
#include "vornak/core/opcode_table.h"
#include "vornak/core/script_part.h"
#include "vornak/model_catalogue.h"

namespace vornak {

// What sizing and writing read besides the record. Sizing needs the tables, the symbols and the
// parts; writing also needs the mission numbers, the code start and the labels' offsets.
struct EncodeContext {
  const OpcodeTable* opcodes = nullptr;
  const ModelCatalogue* models = nullptr;
  const Symbols* symbols = nullptr;
  const std::vector<ScriptPart>* parts = nullptr;
  const std::vector<int32_t>* mission_numbers = nullptr;
  int32_t code_start = 0;
  size_t current_part = 0;  // the part the record belongs to
};

// The bytes the record occupies. Both operations run one encoding routine, so WriteTo appends
// exactly this many. Throws platform::Error for a number or model number that is no integer, a
// parameter of no known kind ("Unknown param type") and an object number outside -32768..32767.
int64_t EncodedSize(const TOpCode& record, const EncodeContext& context);

// Writes the encoded record at |out| and returns the position after it. Throws platform::Error
// for a decimal or local variable that does not convert, a label reference that finds no label
// or one at offset 0 of the mission being written, a mission reference that names no mission
// part, and (a fault of the assembler) a record that would pass |end|.
char* WriteTo(const TOpCode& record, const EncodeContext& context, char* out, const char* end);
// Writes every record of the part context.current_part at |out| as WriteTo does, and returns the
// position after the last.
char* WriteRecords(const EncodeContext& context, char* out, const char* end);

// The mission number of every mission name the sources referenced, by name id: the position of
// mission folder + name + ".gsr" in the PartList (compared by collation, the first equal entry
// counting) minus one, or -1 when that entry is missing or is the main part.
std::vector<int32_t> MissionNumbers(const NameTable& mission_names,
                                    const std::vector<std::string>& part_list,
                                    std::string_view mission_folder);

}  // namespace vornak
