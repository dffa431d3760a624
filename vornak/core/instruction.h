// Instruction records: one TOpCode per instruction line, built from the opcode, the negation flag
// and the parameter text that follows the instruction word.
//
// Parameters are separated by commas, and ";" starts a comment. A parameter's first character
// gives its kind: "$" a global variable, "!" a local variable (a hexadecimal number), "%" an
// object (a model of the catalogue, else a local object), "&" a mission, "@" a label, a double
// quote a string of at most 8 characters, a digit, "-" or "." a number. Construction registers
// global variables and local objects in their sorted lists and keeps each parameter as a few bytes
// of its part's records (a number in its final form, a symbol as an id), so that a record is small
// and nothing is allocated per parameter.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/arena.h"
#include "platform/sorted_name_list.h"
#include "vornak/core/byte_buffer.h"
#include "vornak/core/name_table.h"
#include "vornak/core/opcode_table.h"
#include "vornak/core/record_format.h"
#include "vornak/model_catalogue.h"

namespace vornak {

// The value of one or more hexadecimal digits in either case (leading zeros allowed) that stays
// below 2^32; nothing for any other text.
std::optional<uint32_t> ParseHexDigits(std::string_view text);

// A parameter's object: a model of the catalogue or an entry of the LocalObjectList.
struct ObjectRef {
  bool is_model;
  uint32_t index;  // model index, or id in the LocalObjectList
};

// The symbols that construction collects, and sizing and writing read.
struct Symbols {
  Symbols() = default;
  // Keeps the tables in |arena|, which must outlive every use of them.
  explicit Symbols(platform::Arena* arena)
      : variables(arena),
        local_objects(arena),
        mission_names(arena),
        folded_variables(arena),
        folded_variable_ids(platform::ArenaAllocator<uint32_t>(arena)),
        object_spellings(arena),
        objects(platform::ArenaAllocator<ObjectRef>(arena)) {}

  platform::SortedNameList variables;      // VariableList: "$" and the name, as first spelled
  platform::SortedNameList local_objects;  // LocalObjectList: "%" and the name, upper case
  NameTable mission_names;                 // names of mission references, without "&"
  // Variable names folded to ASCII upper case, and each one's VariableList id. Names equal after
  // folding are equal under the collation, so each name is looked up in the list once, however
  // its letters are cased.
  NameTable folded_variables;
  std::vector<uint32_t, platform::ArenaAllocator<uint32_t>> folded_variable_ids;
  NameTable object_spellings;  // every "%" text met, so each is looked up once
  std::vector<ObjectRef, platform::ArenaAllocator<ObjectRef>> objects;  // by object spelling id
};

// Builds records. It keeps scratch space, so one builder serves a whole build.
class InstructionBuilder {
 public:
  // The tables must outlive the builder.
  InstructionBuilder(const OpcodeTable& opcodes, const ModelCatalogue& models, Symbols* symbols);

  // The record for |opcode| (1..1106), reading |param_text| against the opcode's parameter
  // count; the view is valid until the next construction. Throws platform::Error with the
  // construction message ("Too many parameters", "Expected 2 parameters. But only found 1", an
  // empty parameter, a string or local object name too long, too many global variables); names
  // registered before the failure stay in their lists.
  std::string_view Construct(uint16_t opcode, std::string_view param_text, bool negated);
  // The same, appended to |records| (nothing is appended when construction fails).
  void Construct(uint16_t opcode, std::string_view param_text, bool negated, std::string* records) {
    records->append(Construct(opcode, param_text, negated));
  }

 private:
  class Scan;

  // |prefix| and |name| with the letters a to z upper-cased, in folded_ until the next call.
  std::string_view Folded(char prefix, std::string_view name);
  uint32_t RegisterVariable(std::string_view name);
  uint32_t RegisterObject(std::string_view name);

  const OpcodeTable& opcodes_;
  const ModelCatalogue& models_;
  Symbols& symbols_;
  ByteBuffer record_;  // the record being built
  std::string scratch_;
  std::string folded_;
};

}  // namespace vornak
