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

#include "platform/sorted_name_list.h"
#include "vornak/core/byte_buffer.h"
#include "vornak/core/name_table.h"
#include "vornak/core/opcode_table.h"
#include "vornak/model_catalogue.h"

namespace vornak {

// The value of one or more hexadecimal digits in either case (leading zeros allowed) that stays
// below 2^32; nothing for any other text.
std::optional<uint32_t> ParseHexDigits(std::string_view text);

// One instruction, as read back from its part's records.
struct TOpCode {
  bool Negated = false;
  uint16_t Opcode = 0;  // 1..1106, without the negation bit
  size_t Params = 0;    // offset of its parameters in the part's records
  // The encoded size when construction could tell it; 0 when it rests on what only the end of
  // reading fixes (a local object's slot) or sizing fails (a number that does not convert).
  uint32_t known_size = 0;
};

// A part's records lie one after another in a byte string: each is the opcode word (bit 15 set
// when negated), the known size and the length of its parameters as varints, then the
// parameters: their count as a varint and each one as below. Read in order only, they need no
// index.
class RecordReader {
 public:
  explicit RecordReader(std::string_view records) : records_(records) {}
  // Stores the next record in |record| and returns true; false after the last one.
  bool Next(TOpCode* record);

 private:
  std::string_view records_;
  size_t at_ = 0;
};

// A parameter's object: a model of the catalogue or an entry of the LocalObjectList.
struct ObjectRef {
  bool is_model;
  uint32_t index;  // model index, or id in the LocalObjectList
};

// The symbols that construction collects, and sizing and writing read.
struct Symbols {
  platform::SortedNameList variables;      // VariableList: "$" and the name, as first spelled
  platform::SortedNameList local_objects;  // LocalObjectList: "%" and the name, upper case
  NameTable mission_names;                 // names of mission references, without "&"
  // Variable names folded to ASCII upper case, and each one's VariableList id. Names equal after
  // folding are equal under the collation, so each name is looked up in the list once, however
  // its letters are cased.
  NameTable folded_variables;
  std::vector<uint32_t> folded_variable_ids;
  NameTable object_spellings;      // every "%" text met, so each is looked up once
  std::vector<ObjectRef> objects;  // by object spelling id
};

// How a parameter is kept in the records: a tag, then the tag's payload.
enum class ParamTag : uint8_t {
  kInt8,         // 1 byte: the value
  kInt16,        // 2 bytes, little-endian
  kInt32,        // 4 bytes
  kFixed16,      // 2 bytes: the value in sixteenths, truncated
  kLocalVar,     // 2 bytes: the variable number
  kString,       // a length byte (0..8), then the characters
  kGlobalVar,    // varint: id in the VariableList
  kLocalObject,  // varint: id in the LocalObjectList
  kModel,        // varint: index in the ModelCatalogue
  kMission,      // varint: id of the mission name
  kLabel,        // varint length, then the label name, upper case, without "@"
  kBadInteger,   // varint length, then a number text that is no integer
  kBadDecimal,   // varint length, then a text with "." that is no decimal number
  kBadLocalVar,  // varint length, then a text after "!" that is no hexadecimal number
  kUnknown,      // nothing: the first character is of no known kind
};

struct Param {
  ParamTag tag = ParamTag::kUnknown;
  uint32_t value = 0;     // the payload of a number, or an id or index
  std::string_view text;  // a string's characters, a label's name, or the text of a parameter
                          // that did not convert
};

// Reads the parameters of one record.
class ParamReader {
 public:
  ParamReader(std::string_view records, size_t offset);
  uint32_t count() const { return count_; }
  // The next parameter; to be called count() times.
  Param Next();

 private:
  uint32_t ReadVarint();
  const char* at_;
  uint32_t count_;
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
