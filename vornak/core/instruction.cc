// Construction scans the parameter text once and encodes each item into the record as it is met.
// Each item goes to the slot that the commas before it select; a later item for the same slot
// replaces the one before it, which is always the last one written. The slots are checked when
// the whole text has been read, and only then is the record appended to the part's records, so a
// failed construction leaves them as they were.
#include "vornak/core/instruction.h"

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

#include "platform/error.h"
#include "platform/number_text.h"
#include "platform/text.h"
#include "vornak/core/scm_format.h"

namespace vornak {
namespace {

// What a character does where the scan looks for the next item.
enum class Role : uint8_t {
  kItem,     // starts a plain item: a number, a string, or something of no known kind
  kBlank,    // tab, line feed, carriage return, space: skipped
  kComma,    // moves on to the next slot
  kComment,  // ";": the rest is a comment
  kVariable,
  kLocalVar,
  kLabel,
  kMission,
  kObject,
};

constexpr std::array<Role, 256> MakeRoles() {
  std::array<Role, 256> roles{};
  for (const char c : {'\t', '\n', '\r', ' '}) roles[static_cast<uint8_t>(c)] = Role::kBlank;
  roles[','] = Role::kComma;
  roles[';'] = Role::kComment;
  roles['$'] = Role::kVariable;
  roles['!'] = Role::kLocalVar;
  roles['@'] = Role::kLabel;
  roles['&'] = Role::kMission;
  roles['%'] = Role::kObject;
  return roles;
}
constexpr std::array<Role, 256> kRoles = MakeRoles();

// The characters that end a token: every prefix of a kind but "&", and the separators.
constexpr std::array<bool, 256> MakeTokenEnds() {
  std::array<bool, 256> ends{};
  for (const char c : {'!', '$', '%', ',', ';', '@'}) ends[static_cast<uint8_t>(c)] = true;
  return ends;
}
constexpr std::array<bool, 256> kTokenEnds = MakeTokenEnds();

Role RoleOf(char c) { return kRoles[static_cast<uint8_t>(c)]; }

// The characters from |*at| up to the next character that ends a token; |*at| stays on it.
std::string_view ReadToken(const char** at, const char* end) {
  const char* start = *at;
  const char* p = start;
  while (p != end && !kTokenEnds[static_cast<uint8_t>(*p)]) ++p;
  *at = p;
  return {start, static_cast<size_t>(p - start)};
}

// An object name runs to the next comma or semicolon, blanks and prefix characters included.
std::string_view ReadToSeparator(const char** at, const char* end) {
  const char* start = *at;
  const char* p = start;
  while (p != end && *p != ',' && *p != ';') ++p;
  *at = p;
  return {start, static_cast<size_t>(p - start)};
}

std::string_view TrimRight(std::string_view text) {
  while (!text.empty() && platform::IsBlankOrControl(text.back())) text.remove_suffix(1);
  return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool StartsNumber(char c) { return IsDigit(c) || c == '-' || c == '.'; }

char* PutByte(char* at, uint8_t value) {
  *at = static_cast<char>(value);
  return at + 1;
}

char* PutTag(char* at, ParamTag tag) { return PutByte(at, static_cast<uint8_t>(tag)); }

char* PutUint16(char* at, uint16_t value) {
  at[0] = static_cast<char>(value & 0xFF);
  at[1] = static_cast<char>(value >> 8);
  return at + 2;
}

char* PutUint32(char* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return at + 4;
}

constexpr size_t kMaxVarintSize = 10;

char* PutVarint(char* at, uint64_t value) {
  while (value >= 0x80) {
    *at++ = static_cast<char>(value | 0x80);
    value >>= 7;
  }
  *at++ = static_cast<char>(value);
  return at;
}

size_t VarintSize(uint64_t value) {
  size_t size = 1;
  for (; value >= 0x80; value >>= 7) ++size;
  return size;
}

// A decimal number in sixteenths, truncated toward zero; the low 16 bits of the product are kept
// however large it is. A product that is not finite has no low bits and does not convert.
std::optional<uint16_t> Sixteenths(double value) {
  const double product = std::trunc(value * 16.0);
  if (!std::isfinite(product)) return std::nullopt;
  // Within the range of a 64-bit integer its low bits are those of the product.
  if (std::fabs(product) < 0x1p63) return static_cast<uint16_t>(static_cast<int64_t>(product));
  double low = std::fmod(product, 65536.0);
  if (low < 0) low += 65536.0;
  return static_cast<uint16_t>(low);
}

// The value of |text| when it is "-" or nothing and at most 9 decimal digits: the common form,
// which ParseInteger reads the same.
std::optional<int32_t> ShortDecimal(std::string_view text) {
  const bool negative = text[0] == '-';
  const size_t digits = text.size() - negative;
  if (digits == 0 || digits > 9) return std::nullopt;
  int32_t value = 0;
  for (size_t i = negative; i < text.size(); ++i) {
    if (!IsDigit(text[i])) return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return negative ? -value : value;
}

// Sizes that construction knows: an instruction is its opcode word, each parameter's type byte
// and payload, and the end byte of an open list.
constexpr uint32_t kOpcodeWordSize = 2;
constexpr uint32_t kInt8Size = 2;
constexpr uint32_t kInt16Size = 3;
constexpr uint32_t kInt32Size = 5;
constexpr uint32_t kUnknownSize = 0;  // sized in layout, or refused there

uint32_t IntegerSize(int64_t value) {
  if (value >= INT8_MIN && value <= INT8_MAX) return kInt8Size;
  if (value >= INT16_MIN && value <= INT16_MAX) return kInt16Size;
  return kInt32Size;
}

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

// One construction: the record is built in the builder's buffer behind room for its header. The
// scan tracks the slot the commas lead to, the item written last (so that a later item of its
// slot replaces it), the size known so far, and the first faulty slot.
class InstructionBuilder::Scan {
 public:
  // Room for the header: the opcode word and three varints of at most 5 bytes each (the known
  // size, the length of the parameters, their count).
  static constexpr size_t kHeaderRoom = 2 + 3 * 5;

  Scan(InstructionBuilder& builder, int32_t count)
      : builder_(builder), record_(builder.record_), count_(count) {
    record_.Truncate(0);
    record_.Advance(record_.Room(kHeaderRoom) + kHeaderRoom);
  }

  void Run(std::string_view text);
  // Checks the slots and completes the record; returns it.
  std::string_view Finish(uint16_t word, bool text_empty);

 private:
  // Makes the place for an item of |slot|: over the item written last when it is of the same slot.
  void BeginItem(size_t slot) {
    if (count_ != kOpenList && slot >= static_cast<size_t>(count_)) TooManyParameters();
    if (has_item_ && slot == item_slot_) {
      Unwrite();
    } else {
      if (has_item_) EndItem();
      const size_t first_open = has_item_ ? item_slot_ + 1 : 0;
      if (slot > first_open) EmptySlot(first_open);
    }
    has_item_ = true;
    item_slot_ = slot;
    item_start_ = record_.size();
    long_string_ = {};
  }
  [[noreturn]] static void TooManyParameters() { throw platform::Error("Too many parameters"); }
  // Takes back the item written last.
  void Unwrite() {
    record_.Truncate(item_start_);
    if (item_size_ == kUnknownSize) {
      --unknown_items_;
    } else {
      known_size_ -= item_size_;
    }
  }
  // Counts the item just written; |size| is kUnknownSize when construction cannot tell it.
  void Written(uint32_t size) {
    item_size_ = size;
    if (size == kUnknownSize) {
      ++unknown_items_;
    } else {
      known_size_ += size;
    }
  }
  // The item written last is final: a string too long for its field makes its slot faulty.
  void EndItem() {
    if (!long_string_.empty()) LongString();
  }
  // Slots turn out faulty in ascending order, so the first one noted is the one reported.
  void Fault(std::string message) {
    if (fault_.empty()) fault_ = std::move(message);
  }
  [[gnu::cold]] void EmptySlot(size_t slot) {
    Fault("Parameter " + std::to_string(slot + 1) + " is empty");
  }
  [[gnu::cold]] void LongString() {
    Fault("String " + std::string(long_string_) + " is longer than " + std::to_string(kStringSize) +
          " characters");
  }

  void Identifier(ParamTag tag, uint32_t id) {
    char* at = PutTag(record_.Room(1 + kMaxVarintSize), tag);
    record_.Advance(PutVarint(at, id));
  }
  void Text(ParamTag tag, std::string_view text) {
    char* at = PutTag(record_.Room(1 + kMaxVarintSize), tag);
    record_.Advance(PutVarint(at, text.size()));
    record_.Append(text);
  }
  void Integer(int32_t value);
  void Label(std::string_view name);
  void LocalVariable(std::string_view digits);
  void Object(uint32_t spelling);
  void PlainItem(std::string_view text);

  InstructionBuilder& builder_;
  ByteBuffer& record_;
  const int32_t count_;
  size_t last_slot_ = 0;          // the slot the commas lead to at the end of the text
  bool has_item_ = false;         // an item has been written
  size_t item_slot_ = 0;          // the slot of the item written last
  size_t item_start_ = 0;         // where that item starts in |record_|
  uint32_t item_size_ = 0;        // and its size
  std::string_view long_string_;  // that item, when it is a string too long for its field
  uint64_t known_size_ = 0;       // of the items written whose size is known
  size_t unknown_items_ = 0;      // items written whose size is not known
  std::string fault_;             // the message for the first faulty slot
};

void InstructionBuilder::Scan::Run(std::string_view text) {
  const char* p = text.data();
  const char* const end = p + text.size();
  size_t slot = 0;
  while (p != end) {
    switch (RoleOf(*p)) {
      case Role::kBlank:
        ++p;
        break;
      case Role::kComma:
        ++p;
        ++slot;
        break;
      case Role::kComment:
        last_slot_ = slot;
        return;
      case Role::kVariable: {
        ++p;
        const uint32_t id = builder_.RegisterVariable(platform::Trim(ReadToken(&p, end)));
        BeginItem(slot);
        Identifier(ParamTag::kGlobalVar, id);
        Written(3);
        break;
      }
      case Role::kLocalVar: {
        ++p;
        const std::string_view digits = platform::Trim(ReadToken(&p, end));
        BeginItem(slot);
        LocalVariable(digits);
        break;
      }
      case Role::kLabel: {
        ++p;
        // A label reference keeps the blanks after "@": "@ LOOP" names no label.
        const std::string_view name = TrimRight(ReadToken(&p, end));
        BeginItem(slot);
        Label(name);
        break;
      }
      case Role::kMission: {
        ++p;
        const std::string_view name = platform::Trim(ReadToken(&p, end));
        BeginItem(slot);
        Identifier(ParamTag::kMission, builder_.symbols_.mission_names.Intern(name));
        Written(5);
        break;
      }
      case Role::kObject: {
        ++p;
        const uint32_t spelling = builder_.RegisterObject(platform::Trim(ReadToSeparator(&p, end)));
        BeginItem(slot);
        Object(spelling);
        break;
      }
      case Role::kItem: {
        const std::string_view plain = platform::Trim(ReadToken(&p, end));
        if (plain.empty()) break;  // control characters alone make no item
        BeginItem(slot);
        PlainItem(plain);
        break;
      }
    }
  }
  last_slot_ = slot;
}

std::string_view InstructionBuilder::Scan::Finish(uint16_t word, bool text_empty) {
  if (has_item_) EndItem();
  if (count_ != kOpenList) {
    const size_t found = text_empty ? 0 : last_slot_ + 1;
    if (found < static_cast<size_t>(count_)) {
      throw platform::Error("Expected " + std::to_string(count_) + " parameters. But only found " +
                            std::to_string(found));
    }
  }
  const size_t first_open = has_item_ ? item_slot_ + 1 : 0;
  const size_t slots = count_ == kOpenList ? first_open : static_cast<size_t>(count_);
  if (first_open < slots) EmptySlot(first_open);
  if (!fault_.empty()) throw platform::Error(fault_);

  const uint64_t size = kOpcodeWordSize + known_size_ + (count_ == kOpenList ? 1 : 0);
  const uint64_t known_size =
      unknown_items_ == 0 && size <= std::numeric_limits<uint32_t>::max() ? size : kUnknownSize;
  const uint64_t length = VarintSize(slots) + (record_.size() - kHeaderRoom);
  // The header goes right before the parameters, so the record is one run of bytes.
  const size_t header_size = 2 + VarintSize(known_size) + VarintSize(length) + VarintSize(slots);
  char* const record = record_.data() + (kHeaderRoom - header_size);
  PutVarint(PutVarint(PutVarint(PutUint16(record, word), known_size), length), slots);
  return {record, header_size + record_.size() - kHeaderRoom};
}

void InstructionBuilder::Scan::Integer(int32_t value) {
  char* at = record_.Room(5);
  if (value >= INT8_MIN && value <= INT8_MAX) {
    at = PutByte(PutTag(at, ParamTag::kInt8), static_cast<uint8_t>(value));
  } else if (value >= INT16_MIN && value <= INT16_MAX) {
    at = PutUint16(PutTag(at, ParamTag::kInt16), static_cast<uint16_t>(value));
  } else {
    at = PutUint32(PutTag(at, ParamTag::kInt32), static_cast<uint32_t>(value));
  }
  record_.Advance(at);
  Written(IntegerSize(value));
}

void InstructionBuilder::Scan::Label(std::string_view name) {
  char* at = PutTag(record_.Room(1 + kMaxVarintSize + name.size()), ParamTag::kLabel);
  at = PutVarint(at, name.size());
  for (const char c : name) *at++ = platform::UpperAsciiChar(c);
  record_.Advance(at);
  Written(5);
}

void InstructionBuilder::Scan::LocalVariable(std::string_view digits) {
  if (const std::optional<uint32_t> number = ParseHexDigits(digits)) {
    char* at = PutTag(record_.Room(3), ParamTag::kLocalVar);
    record_.Advance(PutUint16(at, static_cast<uint16_t>(*number)));
  } else {
    Text(ParamTag::kBadLocalVar, digits);
  }
  Written(3);
}

void InstructionBuilder::Scan::Object(uint32_t spelling) {
  const ObjectRef object = builder_.symbols_.objects[spelling];
  Identifier(object.is_model ? ParamTag::kModel : ParamTag::kLocalObject, object.index);
  // A local object's number rests on its slot, known when reading is over; a model's number is
  // known now, unless it is none that an object parameter can hold.
  uint32_t size = kUnknownSize;
  if (object.is_model) {
    const std::optional<int32_t> number = builder_.models_.model(object.index).value;
    if (number && *number >= INT16_MIN && *number <= INT16_MAX) size = IntegerSize(*number);
  }
  Written(size);
}

void InstructionBuilder::Scan::PlainItem(std::string_view text) {
  if (text[0] == '"') {
    // The characters between the quotes: the last character goes whatever it is.
    const std::string_view characters = text.size() >= 2 ? text.substr(1, text.size() - 2) : "";
    char* at = PutTag(record_.Room(2 + characters.size()), ParamTag::kString);
    at = PutByte(at, static_cast<uint8_t>(characters.size()));
    std::memcpy(at, characters.data(), characters.size());
    record_.Advance(at + characters.size());
    Written(kStringSize);
    if (characters.size() > kStringSize) long_string_ = text;
  } else if (!StartsNumber(text[0])) {
    record_.Advance(PutTag(record_.Room(1), ParamTag::kUnknown));
    Written(kUnknownSize);
  } else if (const std::optional<int32_t> value = ShortDecimal(text)) {
    Integer(*value);
  } else if (std::memchr(text.data(), '.', text.size()) != nullptr) {
    const std::optional<double> real = platform::ParseReal(text);
    const std::optional<uint16_t> fixed = real ? Sixteenths(*real) : std::nullopt;
    if (fixed) {
      record_.Advance(PutUint16(PutTag(record_.Room(3), ParamTag::kFixed16), *fixed));
    } else {
      Text(ParamTag::kBadDecimal, text);
    }
    Written(3);
  } else if (const std::optional<int32_t> value = platform::ParseInteger(text)) {
    Integer(*value);
  } else {
    Text(ParamTag::kBadInteger, text);
    Written(kUnknownSize);
  }
}

InstructionBuilder::InstructionBuilder(const OpcodeTable& opcodes, const ModelCatalogue& models,
                                       Symbols* symbols)
    : opcodes_(opcodes), models_(models), symbols_(*symbols) {}

std::string_view InstructionBuilder::Construct(uint16_t opcode, std::string_view param_text,
                                               bool negated) {
  Scan scan(*this, opcodes_.Def(opcode).count);
  if (!param_text.empty()) scan.Run(param_text);
  return scan.Finish(static_cast<uint16_t>(opcode | (negated ? kNegatedBit : 0)),
                     param_text.empty());
}

std::string_view InstructionBuilder::Folded(char prefix, std::string_view name) {
  if (folded_.size() <= name.size()) folded_.resize(2 * name.size() + 1);
  char* at = folded_.data();
  *at++ = prefix;
  for (const char c : name) *at++ = platform::UpperAsciiChar(c);
  return {folded_.data(), name.size() + 1};
}

uint32_t InstructionBuilder::RegisterVariable(std::string_view name) {
  const std::string_view folded = Folded('$', name);
  if (const std::optional<uint32_t> known = symbols_.folded_variables.Find(folded)) {
    return symbols_.folded_variable_ids[*known];
  }
  scratch_.assign("$").append(name);
  const platform::SortedNameList::Added added = symbols_.variables.Add(scratch_);
  if (added.is_new && symbols_.variables.size() > kMaxGlobalVariables) {
    throw platform::Error("Too many global variables: " + scratch_ + " would be number " +
                          std::to_string(kMaxGlobalVariables + 1) + ", and at most " +
                          std::to_string(kMaxGlobalVariables) + " fit the 16-bit offsets");
  }
  symbols_.folded_variables.Intern(folded);
  symbols_.folded_variable_ids.push_back(added.id);
  return added.id;
}

uint32_t InstructionBuilder::RegisterObject(std::string_view name) {
  // Object names are kept upper case, so a spelling met before is found as it stands.
  const std::string_view upper = Folded('%', name);
  if (const std::optional<uint32_t> known = symbols_.object_spellings.Find(upper)) return *known;
  ObjectRef object;
  if (const std::optional<uint32_t> model = models_.Find(upper)) {
    object = {true, *model};
  } else {
    if (name.size() > kObjectNameSize) {
      throw platform::Error("Local object name " + std::string(upper.substr(1)) +
                            " is longer than " + std::to_string(kObjectNameSize) + " characters");
    }
    object = {false, symbols_.local_objects.Add(upper).id};
  }
  symbols_.objects.push_back(object);
  return symbols_.object_spellings.Intern(upper);
}

}  // namespace vornak
