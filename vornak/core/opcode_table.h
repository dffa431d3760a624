// The instruction set as the assembler knows it: for every opcode number from 1 to 1106 its
// parameter count and the upper-case word that names it in source text, read from the opcode
// definition file.
//
// An entry line is four hexadecimal digits, one separator character, the parameter count, "," and
// the name: "00A1=2,SET_TIMER". A count of -1 marks an open list, closed in the compiled file by
// an end byte. Lines that are empty or start with "[" or ";" are skipped; every other line is an
// entry, whatever section it stands in. Letters are upper-cased before anything else is read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/line_reader.h"
#include "vornak/core/name_table.h"

namespace vornak {

inline constexpr uint16_t kMinOpcode = 1;
inline constexpr uint16_t kMaxOpcode = 1106;
inline constexpr int32_t kOpenList = -1;  // the count of an opcode taking any number of parameters

struct OpcodeDef {
  int32_t count = 0;  // parameters, or kOpenList
  std::string name;   // upper case, exactly as the file spells it after the comma
};

class OpcodeTable {
 public:
  OpcodeTable() : defs_(kMaxOpcode + 1) {}

  // Reads the opcode definition file at |path| (a stored path). Throws platform::Error: the
  // conversion message for a key that is not four hexadecimal digits or a count that is no
  // integer, a message naming the line for an entry without "," after its count or with a count
  // below -1, or the platform's message when the file cannot be read. Entries of keys outside
  // 1..1106 are ignored; a later entry for an opcode replaces an earlier one.
  void Load(const std::string& path);
  // The same, reading |lines|; |file_name| names the file in messages.
  void Load(platform::LineReader& lines, std::string_view file_name);

  // The definition of |opcode|, which must lie in 1..1106; undefined opcodes have count 0 and no
  // name.
  const OpcodeDef& Def(uint16_t opcode) const { return defs_[opcode]; }
  // The lowest opcode whose name is |word|, byte for byte.
  std::optional<uint16_t> Find(std::string_view word) const {
    const uint64_t hash = HashText(word);
    const uint32_t tag = static_cast<uint32_t>(hash >> 48);
    for (size_t at = hash & kNameSlotMask;; at = (at + 1) & kNameSlotMask) {
      const uint32_t slot = name_slots_[at];
      if (slot == 0) return std::nullopt;
      const auto opcode = static_cast<uint16_t>(slot);
      if ((slot >> 16) == tag && defs_[opcode].name == word) return opcode;
    }
  }

 private:
  // Every instruction word is looked up here, so the names have a table of their own: a slot
  // holds the top 16 bits of a name's hash and its lowest opcode (never 0), 0 marks an empty
  // slot. At most 1106 names leave the table more than half empty.
  static constexpr size_t kNameSlots = 4096;
  static constexpr size_t kNameSlotMask = kNameSlots - 1;

  std::vector<OpcodeDef> defs_;  // indexed by opcode; entry 0 is unused
  std::vector<uint32_t> name_slots_ = std::vector<uint32_t>(kNameSlots);
};

}  // namespace vornak
