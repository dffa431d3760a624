// Test helpers: compiled scripts built in memory the way the assembler lays them out, the bytes of
// instructions and parameters, and a PartSink that keeps the part texts in memory.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "mavren/names.h"
#include "mavren/startup.h"
#include "mavren/writer.h"

namespace mavren::testing {

inline std::string Int32Bytes(int64_t value) {
  const uint32_t bits = static_cast<uint32_t>(value);
  return {static_cast<char>(bits), static_cast<char>(bits >> 8), static_cast<char>(bits >> 16),
          static_cast<char>(bits >> 24)};
}
inline std::string Int16Bytes(int value) {
  return {static_cast<char>(value), static_cast<char>(value >> 8)};
}

// An opcode word.
inline std::string Op(int opcode, bool negated = false) {
  return Int16Bytes(opcode | (negated ? 0x8000 : 0));
}
// Parameters: a DataType byte and its payload, or 8 bytes of text.
inline std::string Int32(int64_t v) { return "\x01" + Int32Bytes(v); }
inline std::string GlobalVar(int v) { return "\x02" + Int16Bytes(v); }
inline std::string LocalVar(int v) { return "\x03" + Int16Bytes(v); }
inline std::string Int8(int v) { return {'\x04', static_cast<char>(v)}; }
inline std::string Int16(int v) { return "\x05" + Int16Bytes(v); }
inline std::string Fixed16(int sixteenths) { return "\x06" + Int16Bytes(sixteenths); }
inline std::string Text(std::string_view text) {
  std::string bytes(text);
  bytes.resize(8, '\0');
  return bytes;
}
inline std::string EndOfList() { return std::string(1, '\0'); }

// A compiled script: header segments as the assembler writes them, then the parts' code.
struct Script {
  int variables = 0;
  std::vector<std::string> objects;
  std::string main;
  std::vector<std::string> missions;

  int64_t ObjectSegment() const { return 8 + 4 * variables; }
  int64_t MissionSegment() const { return ObjectSegment() + 36 + 24 * int64_t(objects.size()); }
  int64_t MainStart() const { return MissionSegment() + 20 + 4 * int64_t(missions.size()); }
  // Start of mission |i| (from 1).
  int64_t MissionStart(size_t i) const {
    int64_t start = MainStart() + main.size();
    for (size_t k = 1; k < i; ++k) start += missions[k - 1].size();
    return start;
  }

  std::string Build() const {
    auto jump = [](int64_t target) { return Op(2) + Int32(target) + std::string(1, '\0'); };
    std::string bytes = jump(ObjectSegment()) + std::string(4 * variables, '\0');
    bytes += jump(MissionSegment()) + Int32Bytes(objects.size() + 1) + "Orv's SCM Assembler 0.21";
    for (const std::string& name : objects) {
      std::string entry = name;
      entry.resize(24, '\0');
      bytes += entry;
    }
    bytes += jump(MainStart()) + Int32Bytes(MainStart() + main.size()) + Int32Bytes(main.size()) +
             Int32Bytes(missions.size());
    for (size_t i = 1; i <= missions.size(); ++i) bytes += Int32Bytes(MissionStart(i));
    bytes += main;
    for (const std::string& mission : missions) bytes += mission;
    return bytes;
  }
};

inline std::span<const uint8_t> Bytes(const std::string& image) {
  return {reinterpret_cast<const uint8_t*>(image.data()), image.size()};
}

// Keeps every part in memory.
class MemorySink : public PartSink {
 public:
  struct Part {
    std::string path;
    std::string text;
    int64_t read_offset = -1;  // -1 while the part is open
  };

  void Start(int64_t input_length) override { input_length_ = input_length; }
  void BeginPart(const std::string& path) override { parts_.push_back({path, "", -1}); }
  void Write(std::string_view text) override { parts_.back().text += text; }
  void EndPart(int64_t read_offset) override { parts_.back().read_offset = read_offset; }

  const std::vector<Part>& parts() const { return parts_; }
  int64_t input_length() const { return input_length_; }

 private:
  std::vector<Part> parts_;
  int64_t input_length_ = -1;
};

// The parts that disassembling |image| with the opcode file |opcode_ini| gives.
inline std::vector<MemorySink::Part> DisassembleText(const std::string& image,
                                                     std::string_view opcode_ini,
                                                     const DisSettings& settings = {}) {
  const NameTables names = LoadNameTables(opcode_ini, "scm_asm.ini");
  MemorySink sink;
  Disassemble(Bytes(image), "main.scm", settings, names, sink);
  return sink.parts();
}

// The lines of a part's text, without their CR LF.
inline std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    size_t end = text.find("\r\n");
    lines.emplace_back(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 2);
  }
  return lines;
}

}  // namespace mavren::testing
