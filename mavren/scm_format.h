// The compiled script format as the disassembler reads it.
//
// A compiled script opens with three header segments, each led by a jump (opcode word, DataType
// byte, 32-bit target) to the next: the global variables, the local object names behind a signature
// entry, and the mission segment with the start of every script part. The code area follows:
// instructions of a 16-bit opcode word (bit 15 negates the instruction) and typed parameters, each
// a DataType byte and its little-endian payload, or 8 bytes of text whose first byte is above 6.
//
// The limits here are the disassembler's fixed tables: input beyond them stops the run.
#pragma once

#include <array>
#include <cstdint>

namespace mavren {

// The byte that introduces a parameter. Any byte from kFirstTextByte up is the first character of
// an 8-byte text parameter.
enum class DataType : uint8_t {
  kEndOfList = 0,
  kInt32 = 1,
  kGlobalVar = 2,
  kLocalVar = 3,
  kInt8 = 4,
  kInt16 = 5,
  kFixed16 = 6,
};
inline constexpr uint8_t kFirstTextByte = 7;
inline constexpr int kTextParamSize = 8;

// The opcode word: bit 15 negates, the rest is the opcode.
inline constexpr uint16_t kNegatedBit = 0x8000;

// Opcodes 0 to kMaxOpcode have a count and a name in the opcode file.
inline constexpr int kMaxOpcode = 1153;
inline constexpr int kOpcodeCount = kMaxOpcode + 1;
// An open list in the opcode file (a negative count) reads up to this many parameters, which is
// also the most any instruction may carry.
inline constexpr int kMaxParams = 255;

// Header: each segment's opening jump holds its target 3 bytes in.
inline constexpr int64_t kSegmentTarget = 3;
// Object segment: the entry count (signature included) and the 24-byte entries.
inline constexpr int64_t kObjectCountField = 8;
inline constexpr int64_t kObjectEntries = 12;
inline constexpr int kObjectNameSize = 24;
inline constexpr int kMaxObjectNames = 256;
// Mission segment: the mission count, followed by one 32-bit start per mission.
inline constexpr int64_t kMissionCountField = 16;
inline constexpr int kMaxMissions = 99;
// The part starts and the part names are indexed 0 to this: the main part, the missions, and
// one entry past the last possible mission.
inline constexpr int kLastPartIndex = kMaxMissions + 1;

// The highest byte offset that a label can mark or name.
inline constexpr int64_t kMaxLabelOffset = 700000;
// The highest global variable offset the opcode file can name.
inline constexpr int kMaxVariableOffset = 20000;
// The most [labels] entries the opcode file can hold.
inline constexpr int kMaxLabelNumber = 10000;

// Opcodes the disassembler gives a meaning.
inline constexpr int kIfBlockOpcode = 214;      // the instructions after it form an if-block
inline constexpr int kIfBlockEndOpcode = 77;    // a plain one closes the if-block
inline constexpr int kPartNameOpcode = 932;     // its text parameter names the script part
inline constexpr int kMissionRefOpcode = 1047;  // every parameter is a mission number

namespace internal {
constexpr std::array<bool, kOpcodeCount> MakeJumpOpcodes() {
  std::array<bool, kOpcodeCount> jumps{};
  for (int opcode : {2, 77, 79, 80, 215, 717}) jumps[opcode] = true;
  return jumps;
}
inline constexpr std::array<bool, kOpcodeCount> kJumpOpcodes = MakeJumpOpcodes();

constexpr std::array<uint8_t, kOpcodeCount> MakeObjectParams() {
  std::array<uint8_t, kOpcodeCount> positions{};  // bit j set: parameter j is an object
  for (int opcode : {263, 531, 583, 584, 585, 664, 667, 811}) positions[opcode] = 1 << 1;
  positions[867] = 1 << 5;
  positions[950] = (1 << 5) | (1 << 6);
  return positions;
}
inline constexpr std::array<uint8_t, kOpcodeCount> kObjectParams = MakeObjectParams();
}  // namespace internal

// JumpOpcodes: whether the 32-bit parameters of |opcode| (0 to kMaxOpcode) are jump targets.
constexpr bool IsJumpOpcode(int opcode) { return internal::kJumpOpcodes[opcode]; }

// ObjectParams: whether parameter |position| (from 1) of |opcode| (0 to kMaxOpcode) is a place
// where a negative small integer is a local object number.
constexpr bool IsObjectParam(int opcode, int position) {
  return position < 8 && (internal::kObjectParams[opcode] >> position & 1) != 0;
}

}  // namespace mavren
