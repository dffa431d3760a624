// The record format: how an instruction record lies in its part's records, and the readers that
// layout and emission walk them with. The records are written by construction (instruction.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "vornak/core/scm_format.h"

namespace vornak {

// A varint: 7 bits a byte, low bits first, the top bit set on every byte but the last.
inline uint64_t ReadVarint(const char** at) {
  uint64_t value = 0;
  for (int shift = 0;; shift += 7) {
    const auto byte = static_cast<uint8_t>(*(*at)++);
    value |= static_cast<uint64_t>(byte & 0x7F) << shift;
    if (byte < 0x80) return value;
  }
}

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
  explicit RecordReader(std::string_view records)
      : begin_(records.data()), at_(begin_), end_(begin_ + records.size()) {}
  // Stores the next record in |record| and returns true; false after the last one.
  bool Next(TOpCode* record) {
    if (at_ == end_) return false;
    const auto low = static_cast<uint8_t>(at_[0]);
    const uint16_t word = low | static_cast<uint8_t>(at_[1]) << 8;
    at_ += 2;
    record->Negated = (word & kNegatedBit) != 0;
    record->Opcode = word & ~kNegatedBit;
    record->known_size = static_cast<uint32_t>(ReadVarint(&at_));
    const uint64_t length = ReadVarint(&at_);
    record->Params = static_cast<size_t>(at_ - begin_);
    at_ += length;
    return true;
  }

 private:
  const char* begin_;
  const char* at_;
  const char* end_;
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
  ParamReader(std::string_view records, size_t offset)
      : at_(records.data() + offset), count_(static_cast<uint32_t>(ReadVarint(&at_))) {}
  uint32_t count() const { return count_; }
  // The next parameter; to be called count() times.
  Param Next() {
    Param param;
    param.tag = static_cast<ParamTag>(*at_++);
    switch (param.tag) {
      case ParamTag::kInt8:
        param.value = Byte(0);
        at_ += 1;
        break;
      case ParamTag::kInt16:
      case ParamTag::kFixed16:
      case ParamTag::kLocalVar:
        param.value = Byte(0) | Byte(1) << 8;
        at_ += 2;
        break;
      case ParamTag::kInt32:
        param.value = Byte(0) | Byte(1) << 8 | Byte(2) << 16 | Byte(3) << 24;
        at_ += 4;
        break;
      case ParamTag::kString:
        param.text = std::string_view(at_ + 1, Byte(0));
        at_ += 1 + param.text.size();
        break;
      case ParamTag::kGlobalVar:
      case ParamTag::kLocalObject:
      case ParamTag::kModel:
      case ParamTag::kMission:
        param.value = static_cast<uint32_t>(ReadVarint(&at_));
        break;
      case ParamTag::kLabel:
      case ParamTag::kBadInteger:
      case ParamTag::kBadDecimal:
      case ParamTag::kBadLocalVar: {
        const auto length = static_cast<size_t>(ReadVarint(&at_));
        param.text = std::string_view(at_, length);
        at_ += length;
        break;
      }
      case ParamTag::kUnknown:
        break;
    }
    return param;
  }

 private:
  uint32_t Byte(int index) const { return static_cast<uint8_t>(at_[index]); }

  const char* at_;
  uint32_t count_;
};

}  // namespace vornak
