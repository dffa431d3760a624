// The name tables: what the opcode file "scm_asm.ini" tells the disassembler.
//
// The file has sections [opcodes] (KEY=COUNT,NAME), [variables] (KEY=NAME for a global variable's
// offset) and [labels] (KEY=NAME for a byte offset in the compiled file). Keys are 4 or 8
// characters read as base-16 digits where every letter continues the digit row ("G" is 16); other
// lengths give 0. Section heads are matched exactly; a line under a head the loader does not know
// counts under the section before it. Labels are numbered 1, 2, 3 ... in file order.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mavren/scm_format.h"

namespace mavren {

// A table indexed 0 to a fixed last index whose storage grows only up to the highest index set,
// so a run touches memory in proportion to what the opcode file names. Unset entries are T().
template <typename T>
class IndexedTable {
 public:
  // |index| in 0 to the table's last index.
  const T& operator[](int64_t index) const {
    return index < static_cast<int64_t>(entries_.size()) ? entries_[index] : empty_;
  }
  void Set(int64_t index, T value) {
    if (index >= static_cast<int64_t>(entries_.size())) entries_.resize(index + 1);
    entries_[index] = std::move(value);
  }

 private:
  std::vector<T> entries_;
  T empty_{};
};

// One [opcodes] entry. An opcode the file does not define has count 0 and an empty name.
struct OpcodeName {
  int32_t count = 0;  // kMaxParams for an open list (a negative count in the file)
  std::string name;   // trimmed, case kept
};

using OpcodeNames = std::array<OpcodeName, kOpcodeCount>;
// Names of global variables by offset, 0 to kMaxVariableOffset.
using VariableNames = IndexedTable<std::string>;
// Label numbers by byte offset, 0 to kMaxLabelOffset; 0 = no named label there.
using LabelMap = IndexedTable<int32_t>;

struct NameTables {
  OpcodeNames opcodes;
  VariableNames variables;
  // LabelNames: entry n is the name of label number n; entry 0 is unused and empty.
  std::vector<std::string> labels = {std::string()};
  LabelMap label_map;

  // LabelCount: the number of [labels] entries read.
  int32_t LabelCount() const { return static_cast<int32_t>(labels.size()) - 1; }
};

// The key value of an opcode file key: the number a 4- or 8-character key stands for, 0 for any
// other length; no value when an 8-character key overflows 32 bits.
std::optional<int32_t> KeyValue(std::string_view key);

// Loads the opcode file's text. |path| names the file in messages. Throws platform::Error with the
// path and line for a key that overflows (in any section), a count that overflows, an entry outside
// its table, or a 10001st label.
NameTables LoadNameTables(std::string_view text, std::string_view path);

}  // namespace mavren
