// The compiled script file's constants and byte order, shared by the instruction encoder and the
// header writers.
//
// A compiled file holds three header segments, each opened by a jump over itself, then the code
// area: the instructions of the main part, then of every mission part. Every integer is
// little-endian and two's complement; every offset in the file is a signed 32-bit number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vornak {

// The byte before an encoded parameter, saying what follows. Strings have none.
enum class DataType : uint8_t {
  kEndOfList = 0,  // closes an open parameter list
  kInt32 = 1,
  kGlobalVar = 2,  // 16-bit byte offset of the variable in the variable segment
  kLocalVar = 3,   // 16-bit local variable number
  kInt8 = 4,
  kInt16 = 5,
  kFixed16 = 6,  // 16-bit value in sixteenths
};

inline constexpr uint16_t kJumpOpcode = 2;       // the jump that opens every header segment
inline constexpr uint16_t kNegatedBit = 0x8000;  // bit 15 of the opcode word inverts the result

// Each segment starts with the jump (opcode word, kInt32, target) and one zero byte.
inline constexpr int64_t kSegmentJumpSize = 8;
inline constexpr int64_t kVariableSize = 4;
// Global variables are addressed by a 16-bit offset: slots 0..16381 reach offsets 8..65532.
inline constexpr size_t kMaxGlobalVariables = 16382;
// The object segment: the jump, the entry count, the signature entry, one entry per local object.
inline constexpr size_t kObjectNameSize = 24;
inline constexpr std::string_view kSignature = "Orv's SCM Assembler 0.21";
inline constexpr int64_t kObjectSegmentFixedSize = kSegmentJumpSize + 4 + kObjectNameSize;
// The mission segment: the jump, the main part's end and size, the mission count, the starts.
inline constexpr int64_t kMissionSegmentFixedSize = kSegmentJumpSize + 12;
inline constexpr size_t kStringSize = 8;  // a string parameter's field, zero-filled
inline constexpr int64_t kMaxFileSize = INT32_MAX;

inline void AppendByte(std::string* out, uint8_t value) {
  out->push_back(static_cast<char>(value));
}

// Byte by byte: push_back is inlined, where a short append is a library call.
inline void AppendUint16(std::string* out, uint16_t value) {
  out->push_back(static_cast<char>(value & 0xFF));
  out->push_back(static_cast<char>(value >> 8));
}

inline void AppendInt32(std::string* out, int32_t value) {
  const auto bits = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) out->push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
}

}  // namespace vornak
