// Interned names: every distinct text gets a small dense id, so records hold four bytes in place
// of a copied string, and a name met again costs one hash look-up and no allocation.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vornak {

// Hashes a text given as a string or a string_view alike, so look-ups need not build a string.
struct TextHash {
  using is_transparent = void;
  size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

template <class Value>
using TextMap = std::unordered_map<std::string, Value, TextHash, std::equal_to<>>;

class NameTable {
 public:
  NameTable() = default;
  NameTable(NameTable&&) = default;
  NameTable& operator=(NameTable&&) = default;

  // The id of |name|, compared byte for byte; a name not met before gets the next id.
  uint32_t Intern(std::string_view name) {
    if (auto found = ids_.find(name); found != ids_.end()) return found->second;
    auto added = ids_.emplace(std::string(name), static_cast<uint32_t>(names_.size())).first;
    names_.push_back(&added->first);
    return added->second;
  }
  std::optional<uint32_t> Find(std::string_view name) const {
    if (auto found = ids_.find(name); found != ids_.end()) return found->second;
    return std::nullopt;
  }
  std::string_view Name(uint32_t id) const { return *names_[id]; }
  size_t size() const { return names_.size(); }

 private:
  TextMap<uint32_t> ids_;
  std::vector<const std::string*> names_;  // the map's nodes never move, so their keys stay put
};

}  // namespace vornak
