// The loader depends on the fixed columns of an entry: the key is the first four characters, the
// fifth is passed over whatever it is, and the count starts at the sixth.
#include "vornak/core/opcode_table.h"

#include "platform/error.h"
#include "platform/number_text.h"
#include "platform/text.h"

namespace vornak {
namespace {

constexpr size_t kKeyLength = 4;
constexpr size_t kCountStart = 5;

platform::Error LineError(std::string_view file_name, int64_t line_number, std::string_view line,
                          std::string_view what) {
  std::string message = "Opcode file \"";
  message.append(file_name).append("\", line ").append(std::to_string(line_number));
  message.append(": \"").append(line).append("\" ").append(what);
  return platform::Error(message);
}

}  // namespace

void OpcodeTable::Load(const std::string& path) {
  platform::LineReader lines = platform::LineReader::Open(path);
  Load(lines, path);
}

void OpcodeTable::Load(platform::LineReader& lines, std::string_view file_name) {
  std::string_view raw;
  std::string line;
  int64_t line_number = 0;
  while (lines.Next(&raw)) {
    ++line_number;
    line.assign(raw);
    platform::UpperAsciiInPlace(&line);
    if (line.empty() || line[0] == '[' || line[0] == ';') continue;

    const std::string key_text = "$" + line.substr(0, kKeyLength);
    const std::optional<int32_t> key = platform::ParseInteger(key_text);
    if (!key) throw platform::InvalidInteger(key_text);
    if (*key < kMinOpcode || *key > kMaxOpcode) continue;  // no entry to go to

    const size_t comma = line.find(',', kCountStart);
    if (comma == line.npos) {
      throw LineError(file_name, line_number, raw, "has no \",\" after the parameter count");
    }
    const std::string_view count_text =
        std::string_view(line).substr(kCountStart, comma - kCountStart);
    const std::optional<int32_t> count = platform::ParseInteger(count_text);
    if (!count) throw platform::InvalidInteger(count_text);
    if (*count < kOpenList) {
      throw LineError(file_name, line_number, raw, "has a parameter count below -1");
    }
    defs_[*key] = {*count, line.substr(comma + 1)};
  }

  // Names go in from the lowest opcode up, so a name that two opcodes share finds the lower one.
  name_slots_.assign(kNameSlots, 0);
  for (uint16_t opcode = kMinOpcode; opcode <= kMaxOpcode; ++opcode) {
    const std::string& name = defs_[opcode].name;
    if (name.empty() || Find(name)) continue;
    const uint64_t hash = HashText(name);
    size_t at = hash & kNameSlotMask;
    while (name_slots_[at] != 0) at = (at + 1) & kNameSlotMask;
    name_slots_[at] = static_cast<uint32_t>(hash >> 48) << 16 | opcode;
  }
}

}  // namespace vornak
