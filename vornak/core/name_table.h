// Interned names: every distinct text gets a small dense id, so records hold a few bytes in place
// of a copied string.
//
// Look-ups are the hot path of reading sources (every instruction word, variable, object and
// label passes through one), so the table is flat: the names lie one after another in a single
// block, and an open-addressed slot array holds each name's hash and id. A look-up then touches
// two compact arrays instead of scattered nodes, and stays in the cache for tables of thousands
// of names.
#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/arena.h"

namespace vornak {

// The |count| (below 8) bytes at |bytes| as one number, loaded in at most two reads of fixed
// size: a copy of a variable count would be a library call.
inline uint64_t LoadTail(const char* bytes, size_t count) {
  if (count >= 4) {
    uint32_t low;
    uint32_t high;
    std::memcpy(&low, bytes, 4);
    std::memcpy(&high, bytes + count - 4, 4);  // overlaps |low| by 8 - count bytes
    return low | static_cast<uint64_t>(high) << (8 * (count - 4));
  }
  if (count == 0) return 0;
  const auto byte = [bytes](size_t i) {
    return static_cast<uint64_t>(static_cast<uint8_t>(bytes[i]));
  };
  return byte(0) | byte(count / 2) << (8 * (count / 2)) | byte(count - 1) << (8 * (count - 1));
}

// A fast hash of short texts, eight bytes at a time.
inline uint64_t HashText(std::string_view text) {
  uint64_t hash = 0x9E3779B97F4A7C15u ^ text.size();
  size_t at = 0;
  for (; at + 8 <= text.size(); at += 8) {
    uint64_t word;
    std::memcpy(&word, text.data() + at, 8);
    hash = (hash ^ word) * 0xBF58476D1CE4E5B9u;
    hash ^= hash >> 29;
  }
  hash = (hash ^ LoadTail(text.data() + at, text.size() - at)) * 0x94D049BB133111EBu;
  // A last round spreads every byte over the low bits too, which pick a name's slot.
  hash = (hash ^ (hash >> 32)) * 0xBF58476D1CE4E5B9u;
  return hash ^ (hash >> 29);
}

class NameTable {
 public:
  NameTable() = default;
  // Keeps its names in |arena|, which must outlive every use of the table.
  explicit NameTable(platform::Arena* arena)
      : text_(platform::ArenaAllocator<char>(arena)),
        starts_(platform::ArenaAllocator<size_t>(arena)),
        slots_(platform::ArenaAllocator<uint64_t>(arena)) {}

  // The id of |name|, compared byte for byte; a name not met before gets the next id.
  uint32_t Intern(std::string_view name) {
    const uint64_t hash = HashText(name);
    if (const std::optional<uint32_t> id = Find(name, hash)) return *id;
    if ((starts_.size() + 1) * 2 > slots_.size()) Grow();
    const auto id = static_cast<uint32_t>(starts_.size());
    starts_.push_back(text_.size());
    AppendWord(id);
    AppendWord(static_cast<uint32_t>(name.size()));
    text_.append(name);
    Place(hash, starts_.back());
    return id;
  }

  std::optional<uint32_t> Find(std::string_view name) const { return Find(name, HashText(name)); }

  // Forgets every name; the memory stays for the next ones.
  void Clear() {
    text_.clear();
    starts_.clear();
    slots_.clear();
  }

  // The same table in |arena|, in no more room than it needs: a table that grew by doubling
  // leaves its earlier copies behind in its arena.
  NameTable CompactCopy(platform::Arena* arena) const {
    NameTable copy(arena);
    copy.text_.reserve(text_.size());
    copy.text_.assign(text_.data(), text_.size());
    copy.starts_.reserve(starts_.size());
    copy.starts_.assign(starts_.begin(), starts_.end());
    copy.slots_.reserve(slots_.size());
    copy.slots_.assign(slots_.begin(), slots_.end());
    return copy;
  }

  std::string_view Name(uint32_t id) const { return NameAt(starts_[id]); }
  size_t size() const { return starts_.size(); }

 private:
  // Each name lies in |text_| as its id and size (four bytes each) and its characters, so a
  // look-up that finds its slot reads everything else from one place. A slot holds the top bits
  // of the name's hash and the position of its entry + 1; 0 marks an empty slot.
  static constexpr int kPositionBits = 40;
  static constexpr uint64_t kPositionMask = (uint64_t{1} << kPositionBits) - 1;

  uint32_t WordAt(size_t at) const {
    uint32_t word;
    std::memcpy(&word, text_.data() + at, 4);
    return word;
  }
  void AppendWord(uint32_t word) { text_.append(reinterpret_cast<const char*>(&word), 4); }
  std::string_view NameAt(size_t start) const {
    return std::string_view(text_).substr(start + 8, WordAt(start + 4));
  }

  std::optional<uint32_t> Find(std::string_view name, uint64_t hash) const {
    if (slots_.empty()) return std::nullopt;
    const size_t mask = slots_.size() - 1;
    const uint64_t tag = hash >> kPositionBits;
    for (size_t at = hash & mask;; at = (at + 1) & mask) {
      const uint64_t slot = slots_[at];
      if (slot == 0) return std::nullopt;
      if ((slot >> kPositionBits) != tag) continue;
      const size_t start = (slot & kPositionMask) - 1;
      if (NameAt(start) == name) return WordAt(start);
    }
  }

  void Place(uint64_t hash, size_t start) {
    const size_t mask = slots_.size() - 1;
    size_t at = hash & mask;
    while (slots_[at] != 0) at = (at + 1) & mask;
    slots_[at] = (hash >> kPositionBits << kPositionBits) | (start + 1);
  }

  void Grow() {
    slots_.assign(slots_.empty() ? 16 : slots_.size() * 2, 0);
    for (const size_t start : starts_) Place(HashText(NameAt(start)), start);
  }

  std::basic_string<char, std::char_traits<char>, platform::ArenaAllocator<char>> text_;
  std::vector<size_t, platform::ArenaAllocator<size_t>>
      starts_;  // by id: where the name's entry starts
  std::vector<uint64_t, platform::ArenaAllocator<uint64_t>> slots_;
};

}  // namespace vornak
