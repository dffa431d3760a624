// A set of names ordered by the collation of collation.h, in the manner of the assembler's sorted
// symbol lists: adding a name equal to one already present does nothing and keeps the first
// spelling. Each name gets an id in order of addition; its slot is its position in collation
// order, computed once when first asked after the last addition.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/arena.h"

namespace platform {

class SortedNameList {
 public:
  SortedNameList() = default;
  // Keeps its names in |arena|, which must outlive every use of the list.
  explicit SortedNameList(Arena* arena)
      : keys_(ArenaAllocator<char>(arena)),
        key_ends_(ArenaAllocator<size_t>(arena)),
        table_(ArenaAllocator<uint64_t>(arena)) {}

  struct Added {
    uint32_t id;
    bool is_new;
  };

  // O(1) on average: the name's sort key and one hash look-up.
  Added Add(std::string_view name);
  // The id of the name equal to |name| under the collation, if present.
  std::optional<uint32_t> Find(std::string_view name) const;

  size_t size() const { return spellings_.size(); }
  // The spelling under which |id| was first added.
  const std::string& Spelling(uint32_t id) const { return spellings_[id]; }

  // Position of |id| in collation order (0-based).
  uint32_t Slot(uint32_t id) const {
    SortIfNeeded();
    return slots_[id];
  }
  // Ids in collation order.
  const std::vector<uint32_t>& IdsInOrder() const {
    SortIfNeeded();
    return order_;
  }

 private:
  std::string_view Key(uint32_t id) const;
  // The id whose sort key is |key|, if any; |hash| is the key's hash.
  std::optional<uint32_t> FindKey(std::string_view key, uint64_t hash) const;
  void Place(uint64_t hash, uint32_t id);
  void SortIfNeeded() const {
    if (!sorted_) Sort();
  }
  void Sort() const;

  // On the heap, since strings are more than plain values; in blocks, so that growing moves
  // none of them.
  std::deque<std::string> spellings_;
  // The sort keys of all names one after another; key_ends_[id] is where the key of |id| ends.
  std::basic_string<char, std::char_traits<char>, ArenaAllocator<char>> keys_;
  std::vector<size_t, ArenaAllocator<size_t>> key_ends_;
  // Open addressing over the keys: a slot holds the top bits of a key's hash and its id + 1;
  // 0 marks an empty slot.
  std::vector<uint64_t, ArenaAllocator<uint64_t>> table_;
  std::string key_;  // the key of the name being added
  mutable std::vector<uint32_t> order_;
  mutable std::vector<uint32_t> slots_;
  mutable bool sorted_ = true;
};

}  // namespace platform
