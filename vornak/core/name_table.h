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

namespace vornak {

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
  uint64_t tail = 0;
  std::memcpy(&tail, text.data() + at, text.size() - at);
  hash = (hash ^ tail) * 0x94D049BB133111EBu;
  return hash ^ (hash >> 31);
}

class NameTable {
 public:
  // The id of |name|, compared byte for byte; a name not met before gets the next id.
  uint32_t Intern(std::string_view name) {
    const uint64_t hash = HashText(name);
    if (const std::optional<uint32_t> id = Find(name, hash)) return *id;
    if ((names_.size() + 1) * 2 > slots_.size()) Grow();
    const auto id = static_cast<uint32_t>(names_.size());
    names_.push_back({text_.size(), name.size()});
    text_.append(name);
    Place(hash, id);
    return id;
  }

  std::optional<uint32_t> Find(std::string_view name) const { return Find(name, HashText(name)); }

  std::string_view Name(uint32_t id) const {
    return std::string_view(text_).substr(names_[id].start, names_[id].size);
  }
  size_t size() const { return names_.size(); }

 private:
  struct Span {
    size_t start;
    size_t size;
  };
  // A slot holds the upper half of a name's hash and its id + 1; 0 marks an empty slot.
  static uint64_t SlotValue(uint64_t hash, uint32_t id) {
    return (hash & 0xFFFFFFFF00000000u) | (id + 1u);
  }

  std::optional<uint32_t> Find(std::string_view name, uint64_t hash) const {
    if (slots_.empty()) return std::nullopt;
    const size_t mask = slots_.size() - 1;
    for (size_t at = hash & mask;; at = (at + 1) & mask) {
      const uint64_t slot = slots_[at];
      if (slot == 0) return std::nullopt;
      const auto id = static_cast<uint32_t>(slot & 0xFFFFFFFFu) - 1;
      if ((slot >> 32) == (hash >> 32) && Name(id) == name) return id;
    }
  }

  void Place(uint64_t hash, uint32_t id) {
    const size_t mask = slots_.size() - 1;
    size_t at = hash & mask;
    while (slots_[at] != 0) at = (at + 1) & mask;
    slots_[at] = SlotValue(hash, id);
  }

  void Grow() {
    slots_.assign(slots_.empty() ? 16 : slots_.size() * 2, 0);
    for (uint32_t id = 0; id < names_.size(); ++id) Place(HashText(Name(id)), id);
  }

  std::string text_;
  std::vector<Span> names_;
  std::vector<uint64_t> slots_;
};

}  // namespace vornak
