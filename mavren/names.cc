// The opcode file loader. It follows the section heads and splits every entry at its first "=";
// the value of an [opcodes] entry splits again at its first ",". A key is evaluated on every line
// that has an "=", whatever the section, so a key that overflows stops the load even before the
// first head.
#include "mavren/names.h"

#include "platform/error.h"
#include "platform/line_reader.h"
#include "platform/number_text.h"

namespace mavren {
namespace {

enum class Section { kNone, kOpcodes, kVariables, kLabels };

// Upper case in the code page of the system's text (1252): a-z, the accented small letters and
// the four small letters at 0x9A-0xFF whose capitals lie elsewhere.
unsigned char UpperCodePage(unsigned char c) {
  if (c >= 'a' && c <= 'z') return c - 32;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
  switch (c) {
    case 0x9A:
    case 0x9C:
    case 0x9E:
      return c - 16;
    case 0xFF:
      return 0x9F;
    default:
      return c;
  }
}

// The digit a key character stands for: "0"-"9" their value, any code from "A" (65) up that
// code minus 55 (so "A"-"F" as in hexadecimal and "G" 16), every other character 0.
int32_t KeyDigit(char c) {
  unsigned char upper = UpperCodePage(static_cast<unsigned char>(c));
  if (upper >= 'A') return upper - 55;
  if (upper >= '0' && upper <= '9') return upper - '0';
  return 0;
}

int32_t FourCharacterValue(std::string_view key) {
  return KeyDigit(key[3]) + 16 * KeyDigit(key[2]) + 256 * KeyDigit(key[1]) +
         4096 * KeyDigit(key[0]);
}

// Spaces only: the name of an [opcodes] entry keeps tabs and other controls.
std::string_view TrimSpaces(std::string_view text) {
  size_t begin = text.find_first_not_of(' ');
  if (begin == std::string_view::npos) return {};
  return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

class Loader {
 public:
  explicit Loader(std::string_view path) : path_(path) {}

  void Line(std::string_view line);
  NameTables& tables() { return tables_; }

 private:
  void Opcode(int32_t key, std::string_view key_text, std::string_view value);
  void Variable(int32_t key, std::string_view key_text, std::string_view value);
  void Label(int32_t key, std::string_view key_text, std::string_view value);
  // "PATH: line N: MESSAGE"
  platform::Error LineError(std::string_view message) const;
  // "the key K (value V) is outside FIRST to LAST" for an entry that has no place in its table.
  platform::Error OutOfRange(std::string_view what, std::string_view key_text, int32_t key,
                             int64_t last) const;

  std::string_view path_;
  int64_t line_number_ = 0;
  Section section_ = Section::kNone;
  NameTables tables_;
};

void Loader::Line(std::string_view line) {
  ++line_number_;
  if (!line.empty() && line[0] == ';') return;
  size_t equals = line.find('=');
  if (equals == std::string_view::npos) {
    if (line == "[opcodes]") section_ = Section::kOpcodes;
    if (line == "[variables]") section_ = Section::kVariables;
    if (line == "[labels]") section_ = Section::kLabels;
    return;
  }
  std::string_view key_text = line.substr(0, equals);
  std::string_view value = line.substr(equals + 1);
  std::optional<int32_t> key = KeyValue(key_text);
  if (!key) {
    throw LineError("the key " + std::string(key_text) + " is too large for a 32-bit number");
  }
  switch (section_) {
    case Section::kNone:
      break;
    case Section::kOpcodes:
      Opcode(*key, key_text, value);
      break;
    case Section::kVariables:
      Variable(*key, key_text, value);
      break;
    case Section::kLabels:
      Label(*key, key_text, value);
      break;
  }
}

void Loader::Opcode(int32_t key, std::string_view key_text, std::string_view value) {
  // A value without a comma is a count alone, with an empty name.
  size_t comma = value.find(',');
  std::string_view count_text = value.substr(0, comma);
  std::string_view name = comma == std::string_view::npos ? "" : value.substr(comma + 1);
  std::optional<int32_t> count = platform::RoundToInt32(platform::ReadNumber(count_text));
  if (!count) {
    throw LineError("the parameter count " + std::string(count_text) +
                    " is too large for a 32-bit number");
  }
  if (key > kMaxOpcode) throw OutOfRange("opcode", key_text, key, kMaxOpcode);
  OpcodeName& entry = tables_.opcodes[key];
  entry.count = *count < 0 ? kMaxParams : *count;
  entry.name = TrimSpaces(name);
}

void Loader::Variable(int32_t key, std::string_view key_text, std::string_view value) {
  if (key > kMaxVariableOffset) {
    throw OutOfRange("variable offset", key_text, key, kMaxVariableOffset);
  }
  tables_.variables.Set(key, std::string(value));
}

void Loader::Label(int32_t key, std::string_view key_text, std::string_view value) {
  if (tables_.LabelCount() == kMaxLabelNumber) {
    throw LineError("more than " + platform::DecimalText(kMaxLabelNumber) + " labels");
  }
  tables_.labels.emplace_back(value);
  if (key > kMaxLabelOffset) throw OutOfRange("label offset", key_text, key, kMaxLabelOffset);
  tables_.label_map.Set(key, tables_.LabelCount());
}

platform::Error Loader::LineError(std::string_view message) const {
  std::string text(path_);
  text += ": line ";
  text += platform::DecimalText(line_number_);
  text += ": ";
  text += message;
  return platform::Error(text);
}

platform::Error Loader::OutOfRange(std::string_view what, std::string_view key_text, int32_t key,
                                   int64_t last) const {
  std::string message(what);
  message += " ";
  message += platform::DecimalText(key);
  message += " (key ";
  message += key_text;
  message += ") is outside 0 to ";
  message += platform::DecimalText(last);
  return LineError(message);
}

}  // namespace

std::optional<int32_t> KeyValue(std::string_view key) {
  if (key.size() == 4) return FourCharacterValue(key);
  if (key.size() != 8) return 0;
  int64_t value =
      int64_t{FourCharacterValue(key.substr(0, 4))} * 65536 + FourCharacterValue(key.substr(4));
  if (value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(value);
}

NameTables LoadNameTables(std::string_view text, std::string_view path) {
  Loader loader(path);
  platform::LineReader lines = platform::LineReader::FromMemory(text);
  std::string_view line;
  while (lines.Next(&line)) loader.Line(line);
  return std::move(loader.tables());
}

}  // namespace mavren
