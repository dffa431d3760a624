// A set of names ordered by the collation of collation.h, in the manner of the assembler's sorted
// symbol lists: adding a name equal to one already present does nothing and keeps the first
// spelling. Each name gets an id in order of addition; its slot is its position in collation
// order, computed once when first asked after the last addition.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform {

class SortedNameList {
 public:
  struct Added {
    uint32_t id;
    bool is_new;
  };

  // O(1) on average; a spelling met before costs one hash look-up.
  Added Add(std::string_view name);
  // The id of the name equal to |name| under the collation, if present. A spelling passed to Add
  // before costs one hash look-up; any other builds its sort key.
  std::optional<uint32_t> Find(std::string_view name) const;

  size_t size() const { return spellings_.size(); }
  // The spelling under which |id| was first added.
  const std::string& Spelling(uint32_t id) const { return spellings_[id]; }

  // Position of |id| in collation order (0-based).
  uint32_t Slot(uint32_t id) const;
  // Ids in collation order.
  const std::vector<uint32_t>& IdsInOrder() const;

 private:
  // Hashes std::string and std::string_view alike, so a look-up by view copies nothing.
  struct TextHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
  };
  using TextMap = std::unordered_map<std::string, uint32_t, TextHash, std::equal_to<>>;

  void SortIfNeeded() const;

  std::vector<std::string> spellings_;
  // Every spelling ever added, the first and the later equal ones, with the id it stands for.
  TextMap by_spelling_;
  TextMap by_key_;
  // keys_[id] is the sort key of |id|, held by by_key_ (its nodes never move).
  std::vector<const std::string*> keys_;
  mutable std::vector<uint32_t> order_;
  mutable std::vector<uint32_t> slots_;
  mutable bool sorted_ = true;
};

}  // namespace platform
