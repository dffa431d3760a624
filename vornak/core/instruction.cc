// Construction scans the parameter text once. Each item is stored in the slot that the commas
// before it select, replacing an item already there; only when the whole text has been read are
// the slots checked and the record appended to the part's records, so a failed construction
// leaves them as they were.
#include "vornak/core/instruction.h"

#include <cmath>

#include "platform/error.h"
#include "platform/number_text.h"
#include "platform/text.h"
#include "vornak/core/scm_format.h"

namespace vornak {
namespace {

bool IsWhitespace(char c) { return c == '\t' || c == '\n' || c == '\r' || c == ' '; }

bool EndsToken(char c) {
  return c == '!' || c == '$' || c == '%' || c == ',' || c == ';' || c == '@';
}

// The characters from |*pos| up to the next character that ends a token; |*pos| stays on it.
std::string_view ReadToken(std::string_view text, size_t* pos) {
  const size_t start = *pos;
  while (*pos < text.size() && !EndsToken(text[*pos])) ++*pos;
  return text.substr(start, *pos - start);
}

// An object name runs to the next comma or semicolon, blanks and prefix characters included.
std::string_view ReadToSeparator(std::string_view text, size_t* pos) {
  const size_t start = *pos;
  while (*pos < text.size() && text[*pos] != ',' && text[*pos] != ';') ++*pos;
  return text.substr(start, *pos - start);
}

std::string_view TrimRight(std::string_view text) {
  while (!text.empty() && platform::IsBlankOrControl(text.back())) text.remove_suffix(1);
  return text;
}

bool StartsNumber(char c) { return (c >= '0' && c <= '9') || c == '-' || c == '.'; }

void AppendTag(std::string* out, ParamTag tag) { AppendByte(out, static_cast<uint8_t>(tag)); }

void AppendVarint(std::string* out, uint64_t value) {
  while (value >= 0x80) {
    AppendByte(out, static_cast<uint8_t>(value | 0x80));
    value >>= 7;
  }
  AppendByte(out, static_cast<uint8_t>(value));
}

void AppendText(std::string* out, ParamTag tag, std::string_view text) {
  AppendTag(out, tag);
  AppendVarint(out, text.size());
  out->append(text);
}

void AppendIdentifier(std::string* out, ParamTag tag, uint32_t id) {
  AppendTag(out, tag);
  AppendVarint(out, id);
}

// A number in the narrowest of the three integer forms.
void AppendInteger(std::string* out, int32_t value) {
  if (value >= INT8_MIN && value <= INT8_MAX) {
    AppendTag(out, ParamTag::kInt8);
    AppendByte(out, static_cast<uint8_t>(value));
  } else if (value >= INT16_MIN && value <= INT16_MAX) {
    AppendTag(out, ParamTag::kInt16);
    AppendUint16(out, static_cast<uint16_t>(value));
  } else {
    AppendTag(out, ParamTag::kInt32);
    AppendInt32(out, value);
  }
}

// A decimal number in sixteenths, truncated toward zero; the low 16 bits of the product are kept
// however large it is. A product that is not finite has no low bits and does not convert.
std::optional<uint16_t> Sixteenths(double value) {
  const double product = std::trunc(value * 16.0);
  if (!std::isfinite(product)) return std::nullopt;
  double low = std::fmod(product, 65536.0);
  if (low < 0) low += 65536.0;
  return static_cast<uint16_t>(low);
}

void AppendPlainItem(std::string* out, std::string_view text) {
  if (text[0] == '"') {
    const std::string_view characters = text.size() >= 2 ? text.substr(1, text.size() - 2) : "";
    AppendTag(out, ParamTag::kString);
    AppendByte(out, static_cast<uint8_t>(characters.size()));
    out->append(characters);
  } else if (!StartsNumber(text[0])) {
    AppendTag(out, ParamTag::kUnknown);
  } else if (text.find('.') != text.npos) {
    const std::optional<double> real = platform::ParseReal(text);
    const std::optional<uint16_t> fixed = real ? Sixteenths(*real) : std::nullopt;
    if (!fixed) return AppendText(out, ParamTag::kBadDecimal, text);
    AppendTag(out, ParamTag::kFixed16);
    AppendUint16(out, *fixed);
  } else if (const std::optional<int32_t> value = platform::ParseInteger(text)) {
    AppendInteger(out, *value);
  } else {
    AppendText(out, ParamTag::kBadInteger, text);
  }
}

size_t StringLength(std::string_view text) { return text.size() >= 2 ? text.size() - 2 : 0; }

}  // namespace

std::optional<uint32_t> ParseHexDigits(std::string_view text) {
  if (text.empty()) return std::nullopt;
  uint64_t value = 0;
  for (const char c : text) {
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else {
      return std::nullopt;
    }
    value = value * 16 + digit;
    if (value > UINT32_MAX) return std::nullopt;
  }
  return static_cast<uint32_t>(value);
}

bool RecordReader::Next(TOpCode* record) {
  if (at_ >= records_.size()) return false;
  const auto byte = [this] { return static_cast<uint8_t>(records_[at_++]); };
  const uint16_t low = byte();
  const uint16_t word = low | byte() << 8;
  record->Negated = (word & kNegatedBit) != 0;
  record->Opcode = word & ~kNegatedBit;
  size_t length = 0;
  for (int shift = 0;; shift += 7) {
    const uint8_t next = byte();
    length |= static_cast<size_t>(next & 0x7F) << shift;
    if (next < 0x80) break;
  }
  record->Params = at_;
  at_ += length;
  return true;
}

ParamReader::ParamReader(std::string_view records, size_t offset) : at_(records.data() + offset) {
  count_ = ReadVarint();
}

uint32_t ParamReader::ReadVarint() {
  uint32_t value = 0;
  for (int shift = 0;; shift += 7) {
    const auto byte = static_cast<uint8_t>(*at_++);
    value |= static_cast<uint32_t>(byte & 0x7F) << shift;
    if (byte < 0x80) return value;
  }
}

Param ParamReader::Next() {
  Param param;
  param.tag = static_cast<ParamTag>(*at_++);
  const auto byte = [this](int index) {
    return static_cast<uint32_t>(static_cast<uint8_t>(at_[index]));
  };
  switch (param.tag) {
    case ParamTag::kInt8:
      param.value = byte(0);
      at_ += 1;
      break;
    case ParamTag::kInt16:
    case ParamTag::kFixed16:
    case ParamTag::kLocalVar:
      param.value = byte(0) | byte(1) << 8;
      at_ += 2;
      break;
    case ParamTag::kInt32:
      param.value = byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
      at_ += 4;
      break;
    case ParamTag::kString:
      param.text = std::string_view(at_ + 1, byte(0));
      at_ += 1 + param.text.size();
      break;
    case ParamTag::kGlobalVar:
    case ParamTag::kLocalObject:
    case ParamTag::kModel:
    case ParamTag::kMission:
      param.value = ReadVarint();
      break;
    case ParamTag::kLabel:
    case ParamTag::kBadInteger:
    case ParamTag::kBadDecimal:
    case ParamTag::kBadLocalVar: {
      const uint32_t length = ReadVarint();
      param.text = std::string_view(at_, length);
      at_ += length;
      break;
    }
    case ParamTag::kUnknown:
      break;
  }
  return param;
}

InstructionBuilder::InstructionBuilder(const OpcodeTable& opcodes, const ModelCatalogue& models,
                                       Symbols* symbols)
    : opcodes_(opcodes), models_(models), symbols_(*symbols) {}

void InstructionBuilder::Construct(uint16_t opcode, std::string_view param_text, bool negated,
                                   std::string* records) {
  const int32_t count = opcodes_.Def(opcode).count;
  items_.clear();
  const size_t last_slot = param_text.empty() ? 0 : ScanItems(param_text, count);
  CheckSlots(param_text, last_slot, count);

  const size_t slots = count == kOpenList ? items_.size() : static_cast<size_t>(count);
  AppendUint16(records, static_cast<uint16_t>(opcode | (negated ? kNegatedBit : 0)));
  // The parameters go straight behind a one-byte length, which grows in place in the rare case
  // that they take 128 bytes or more.
  const size_t length_at = records->size();
  records->push_back(0);
  AppendVarint(records, slots);
  for (size_t slot = 0; slot < slots; ++slot) AppendItem(items_[slot], records);
  const size_t length = records->size() - length_at - 1;
  if (length < 0x80) {
    (*records)[length_at] = static_cast<char>(length);
  } else {
    std::string prefix;
    AppendVarint(&prefix, length);
    records->replace(length_at, 1, prefix);
  }
}

size_t InstructionBuilder::ScanItems(std::string_view text, int32_t count) {
  size_t slot = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    const char c = text[pos];
    if (IsWhitespace(c)) {
      ++pos;
      continue;
    }
    if (c == ',') {
      ++pos;
      ++slot;
      continue;
    }
    if (c == ';') break;  // the rest is a comment

    Item item;
    switch (c) {
      case '$':
        ++pos;
        item = {ItemKind::kVariable, RegisterVariable(platform::Trim(ReadToken(text, &pos))), {}};
        break;
      case '!':
        ++pos;
        item = {ItemKind::kLocalVar, 0, platform::Trim(ReadToken(text, &pos))};
        break;
      case '@':
        ++pos;
        // A label reference keeps the blanks after "@": "@ LOOP" names no label.
        item = {ItemKind::kLabel, 0, TrimRight(ReadToken(text, &pos))};
        break;
      case '&':
        ++pos;
        item = {ItemKind::kMission, 0, platform::Trim(ReadToken(text, &pos))};
        break;
      case '%':
        ++pos;
        item = {ItemKind::kObject, RegisterObject(platform::Trim(ReadToSeparator(text, &pos))), {}};
        break;
      default:
        if (const std::string_view plain = platform::Trim(ReadToken(text, &pos)); !plain.empty()) {
          item = {ItemKind::kOther, 0, plain};
        }
        break;
    }
    Store(slot, item, count);
  }
  return slot;
}

void InstructionBuilder::Store(size_t slot, Item item, int32_t count) {
  if (count != kOpenList && slot >= static_cast<size_t>(count)) {
    throw platform::Error("Too many parameters");
  }
  if (items_.size() <= slot) items_.resize(slot + 1);
  items_[slot] = item;
}

uint32_t InstructionBuilder::RegisterVariable(std::string_view name) {
  folded_.resize(name.size() + 1);
  folded_[0] = '$';
  for (size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    folded_[i + 1] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  if (const std::optional<uint32_t> known = symbols_.folded_variables.Find(folded_)) {
    return symbols_.folded_variable_ids[*known];
  }
  scratch_.assign("$").append(name);
  const platform::SortedNameList::Added added = symbols_.variables.Add(scratch_);
  if (added.is_new && symbols_.variables.size() > kMaxGlobalVariables) {
    throw platform::Error("Too many global variables: " + scratch_ + " would be number " +
                          std::to_string(kMaxGlobalVariables + 1) + ", and at most " +
                          std::to_string(kMaxGlobalVariables) + " fit the 16-bit offsets");
  }
  symbols_.folded_variables.Intern(folded_);
  symbols_.folded_variable_ids.push_back(added.id);
  return added.id;
}

uint32_t InstructionBuilder::RegisterObject(std::string_view name) {
  scratch_.assign("%").append(name);
  platform::UpperAsciiInPlace(&scratch_);
  if (const std::optional<uint32_t> known = symbols_.object_spellings.Find(scratch_)) return *known;
  ObjectRef object;
  if (const std::optional<uint32_t> model = models_.Find(scratch_)) {
    object = {true, *model};
  } else {
    if (name.size() > kObjectNameSize) {
      throw platform::Error("Local object name " + scratch_.substr(1) + " is longer than " +
                            std::to_string(kObjectNameSize) + " characters");
    }
    object = {false, symbols_.local_objects.Add(scratch_).id};
  }
  symbols_.objects.push_back(object);
  return symbols_.object_spellings.Intern(scratch_);
}

void InstructionBuilder::CheckSlots(std::string_view text, size_t last_slot, int32_t count) const {
  if (count != kOpenList) {
    const size_t found = text.empty() ? 0 : last_slot + 1;
    if (found < static_cast<size_t>(count)) {
      throw platform::Error("Expected " + std::to_string(count) + " parameters. But only found " +
                            std::to_string(found));
    }
  }
  const size_t slots = count == kOpenList ? items_.size() : static_cast<size_t>(count);
  for (size_t slot = 0; slot < slots; ++slot) {
    const bool empty = slot >= items_.size() || items_[slot].kind == ItemKind::kEmpty;
    if (empty) throw platform::Error("Parameter " + std::to_string(slot + 1) + " is empty");
    const Item& item = items_[slot];
    if (item.kind == ItemKind::kOther && item.text[0] == '"' &&
        StringLength(item.text) > kStringSize) {
      throw platform::Error("String " + std::string(item.text) + " is longer than " +
                            std::to_string(kStringSize) + " characters");
    }
  }
}

void InstructionBuilder::AppendItem(const Item& item, std::string* bytes) {
  switch (item.kind) {
    case ItemKind::kVariable:
      return AppendIdentifier(bytes, ParamTag::kGlobalVar, item.id);
    case ItemKind::kLocalVar:
      if (const std::optional<uint32_t> number = ParseHexDigits(item.text)) {
        AppendTag(bytes, ParamTag::kLocalVar);
        return AppendUint16(bytes, static_cast<uint16_t>(*number));
      }
      return AppendText(bytes, ParamTag::kBadLocalVar, item.text);
    case ItemKind::kObject: {
      const ObjectRef object = symbols_.objects[item.id];
      return AppendIdentifier(bytes, object.is_model ? ParamTag::kModel : ParamTag::kLocalObject,
                              object.index);
    }
    case ItemKind::kMission:
      return AppendIdentifier(bytes, ParamTag::kMission, symbols_.mission_names.Intern(item.text));
    case ItemKind::kLabel:
      scratch_.assign(item.text);
      platform::UpperAsciiInPlace(&scratch_);
      return AppendText(bytes, ParamTag::kLabel, scratch_);
    case ItemKind::kOther:
      return AppendPlainItem(bytes, item.text);
    case ItemKind::kEmpty:
      break;  // refused by CheckSlots
  }
}

}  // namespace vornak
