// The four levels of a name are streamed from its bytes: the weighted characters (bytes that are
// neither ignored nor punctuation, two-group bytes giving two) feed the primary, diacritic and
// case levels; the punctuation bytes feed the special level. A comparison stores nothing; a sort
// key is the levels one after another.
#include "platform/collation.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/collation_weights.h"

namespace platform {
namespace {

// Trailing diacritic and case entries of this value or less do not count.
constexpr uint8_t kDroppableWeight = 2;
// Ends a level in the sort key; every weight written is above it (WeightsFitSortKey).
constexpr char kLevelEnd = 1;
// A special entry's position below this takes one key byte, else this byte and 8 more.
constexpr size_t kLongPosition = 0xFF;

int Sign(int difference) { return (difference > 0) - (difference < 0); }

// The weighted characters of a name in order.
class WeightedChars {
 public:
  explicit WeightedChars(std::string_view name)
      : next_(reinterpret_cast<const uint8_t*>(name.data())), end_(next_ + name.size()) {}

  // The next character's weights, or nullptr after the last.
  const CollationGroup* Next() {
    if (pending_ != nullptr) {
      const CollationGroup* group = pending_;
      pending_ = nullptr;
      return group;
    }
    while (next_ != end_) {
      const ByteWeights& weights = kByteWeights[*next_++];
      const uint8_t script = weights.groups[0].script_member;
      if (script == kScriptIgnored || script == kScriptPunctuation) continue;
      if (weights.group_count == 2) pending_ = &weights.groups[1];
      return &weights.groups[0];
    }
    return nullptr;
  }

 private:
  const uint8_t* next_;
  const uint8_t* end_;
  const CollationGroup* pending_ = nullptr;
};

// The special entries of a name in order: each punctuation byte with the number of weighted
// characters before it.
class SpecialEntries {
 public:
  struct Entry {
    size_t position;
    uint8_t primary;
  };

  explicit SpecialEntries(std::string_view name)
      : next_(reinterpret_cast<const uint8_t*>(name.data())), end_(next_ + name.size()) {}

  // Fills |entry| and returns true, or returns false after the last.
  bool Next(Entry* entry) {
    while (next_ != end_) {
      const ByteWeights& weights = kByteWeights[*next_++];
      const uint8_t script = weights.groups[0].script_member;
      if (script == kScriptPunctuation) {
        *entry = {position_, weights.groups[0].primary};
        return true;
      }
      if (script != kScriptIgnored) position_ += weights.group_count;
    }
    return false;
  }

 private:
  const uint8_t* next_;
  const uint8_t* end_;
  size_t position_ = 0;
};

uint8_t DiacriticWeight(const CollationGroup& group) { return group.diacritic; }
uint8_t CaseWeight(const CollationGroup& group) { return group.case_weight & kCaseIgnoredMask; }

int ComparePrimary(std::string_view a, std::string_view b) {
  WeightedChars chars_a(a);
  WeightedChars chars_b(b);
  while (true) {
    const CollationGroup* x = chars_a.Next();
    const CollationGroup* y = chars_b.Next();
    if (x == nullptr || y == nullptr) return (x != nullptr) - (y != nullptr);
    if (x->script_member != y->script_member) return Sign(x->script_member - y->script_member);
    if (x->primary != y->primary) return Sign(x->primary - y->primary);
  }
}

// True when a character after the current one has a weight that counts.
template <typename WeightOf>
bool HasCountingWeight(WeightedChars* chars, WeightOf weight_of) {
  while (const CollationGroup* group = chars->Next()) {
    if (weight_of(*group) > kDroppableWeight) return true;
  }
  return false;
}

// Compares the level |weight_of| picks with trailing droppable entries removed. Up to the first
// difference both sides agree; past it, a side has an entry left only if some later weight
// counts, and when both have one the differing weights decide.
template <typename WeightOf>
int CompareDroppingTrailing(std::string_view a, std::string_view b, WeightOf weight_of) {
  WeightedChars chars_a(a);
  WeightedChars chars_b(b);
  while (true) {
    const CollationGroup* x = chars_a.Next();
    const CollationGroup* y = chars_b.Next();
    if (x != nullptr && y != nullptr && weight_of(*x) == weight_of(*y)) continue;
    const bool a_continues = x != nullptr && (weight_of(*x) > kDroppableWeight ||
                                              HasCountingWeight(&chars_a, weight_of));
    const bool b_continues = y != nullptr && (weight_of(*y) > kDroppableWeight ||
                                              HasCountingWeight(&chars_b, weight_of));
    if (!a_continues || !b_continues) return a_continues - b_continues;
    return Sign(weight_of(*x) - weight_of(*y));
  }
}

int CompareSpecial(std::string_view a, std::string_view b) {
  SpecialEntries entries_a(a);
  SpecialEntries entries_b(b);
  SpecialEntries::Entry x;
  SpecialEntries::Entry y;
  while (true) {
    const bool has_x = entries_a.Next(&x);
    const bool has_y = entries_b.Next(&y);
    if (!has_x || !has_y) return has_x - has_y;
    if (x.position != y.position) return x.position < y.position ? -1 : 1;
    if (x.primary != y.primary) return Sign(x.primary - y.primary);
  }
}

// The length of |level| without its droppable tail.
size_t KeptLength(const char* level, size_t length) {
  while (length > 0 && static_cast<uint8_t>(level[length - 1]) <= kDroppableWeight) --length;
  return length;
}

// Positions keep their order as key bytes: a short one is a single byte below kLongPosition, a
// long one is kLongPosition followed by 8 big-endian bytes.
constexpr size_t kMaxPositionSize = 9;

char* PutPosition(size_t position, char* at) {
  if (position < kLongPosition) {
    *at++ = static_cast<char>(position);
    return at;
  }
  *at++ = static_cast<char>(kLongPosition);
  const uint64_t wide = position;
  for (int shift = 56; shift >= 0; shift -= 8) *at++ = static_cast<char>(wide >> shift);
  return at;
}

}  // namespace

int CompareNames(std::string_view a, std::string_view b) {
  if (a == b) return 0;
  if (int result = ComparePrimary(a, b)) return result;
  if (int result = CompareDroppingTrailing(a, b, DiacriticWeight)) return result;
  if (int result = CompareDroppingTrailing(a, b, CaseWeight)) return result;
  return CompareSpecial(a, b);
}

// One pass over the name writes every level: the primary level in place, the other levels into
// room behind it, sized for the name, from where each moves down behind the level before it once
// that one's droppable tail is known. Counting the weighted characters first sizes the room.
void AppendSortKey(std::string_view name, std::string* key) {
  size_t groups = 0;
  size_t specials = 0;
  for (const char c : name) {
    const ByteWeights& weights = kByteWeights[static_cast<uint8_t>(c)];
    const uint8_t script = weights.groups[0].script_member;
    if (script == kScriptPunctuation) {
      ++specials;
    } else if (script != kScriptIgnored) {
      groups += weights.group_count;
    }
  }
  const size_t start = key->size();
  const size_t diacritic_start = start + 2 * groups + 1;
  const size_t case_room = diacritic_start + groups + 1;
  const size_t special_room = case_room + groups + 1;
  key->resize(special_room + specials * (kMaxPositionSize + 1));

  char* const base = key->data();
  char* primary = base + start;
  char* diacritic = base + diacritic_start;
  char* case_weight = base + case_room;
  char* special = base + special_room;
  size_t position = 0;
  for (const char c : name) {
    const ByteWeights& weights = kByteWeights[static_cast<uint8_t>(c)];
    const uint8_t script = weights.groups[0].script_member;
    if (script == kScriptIgnored) continue;
    if (script == kScriptPunctuation) {
      special = PutPosition(position, special);
      *special++ = static_cast<char>(weights.groups[0].primary);
      continue;
    }
    for (int g = 0; g < weights.group_count; ++g) {
      const CollationGroup& group = weights.groups[g];
      *primary++ = static_cast<char>(group.script_member);
      *primary++ = static_cast<char>(group.primary);
      *diacritic++ = static_cast<char>(DiacriticWeight(group));
      *case_weight++ = static_cast<char>(CaseWeight(group));
    }
    position += weights.group_count;
  }
  *primary = kLevelEnd;

  size_t at = diacritic_start + KeptLength(base + diacritic_start, groups);
  base[at++] = kLevelEnd;
  const size_t case_length = KeptLength(base + case_room, groups);
  std::memmove(base + at, base + case_room, case_length);
  at += case_length;
  base[at++] = kLevelEnd;
  // The special level comes last, so it needs no end of its own: a shorter key sorts first.
  const size_t special_length = static_cast<size_t>(special - (base + special_room));
  std::memmove(base + at, base + special_room, special_length);
  key->resize(at + special_length);
}

std::string SortKey(std::string_view name) {
  std::string key;
  AppendSortKey(name, &key);
  return key;
}

}  // namespace platform
