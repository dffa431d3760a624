// A set of names ordered by the collation of collation.h, in the manner of the assembler's sorted
// symbol lists: adding a name equal to one already present does nothing and keeps the first
// spelling. Each name gets an id in order of addition; its slot is its position in collation
// order, computed once when first asked after the last addition.
#pragma once

#include <cstdint>
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
  // The id of the name equal to |name| under the collation, if present.
  std::optional<uint32_t> Find(std::string_view name) const;

  size_t size() const { return spellings_.size(); }
  // The spelling under which |id| was first added.
  const std::string& Spelling(uint32_t id) const { return spellings_[id]; }

  // Position of |id| in collation order (0-based).
  uint32_t Slot(uint32_t id) const;
  // Ids in collation order.
  const std::vector<uint32_t>& IdsInOrder() const;

 private:
  void SortIfNeeded() const;

  std::vector<std::string> spellings_;
  std::vector<std::string> keys_;
  std::unordered_map<std::string, uint32_t> by_key_;
  std::unordered_map<std::string, uint32_t> by_spelling_;
  mutable std::vector<uint32_t> order_;
  mutable std::vector<uint32_t> slots_;
  mutable bool sorted_ = true;
};

}  // namespace platform
