// Names are found by hash, never by search: by sort key, which is equal exactly for names the
// collation calls equal. The keys lie one after another in one string and the hash table holds
// ids, so a list of thousands of names is a few blocks of memory, not a node per name. The order
// is made by sorting the keys once a slot is asked for, so a list filled while reading sources is
// sorted a single time.
#include "platform/sorted_name_list.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <functional>
#include <numeric>

#include "platform/collation.h"

namespace platform {
namespace {

constexpr int kIdBits = 32;
constexpr uint64_t kIdMask = (uint64_t{1} << kIdBits) - 1;

uint64_t HashKey(std::string_view key) { return std::hash<std::string_view>()(key); }

// The byte order of two keys, eight bytes at a time: sorting thousands of names compares keys
// that share long beginnings.
bool KeyLess(std::string_view a, std::string_view b) {
  const size_t common = std::min(a.size(), b.size());
  size_t at = 0;
  for (; at + 8 <= common; at += 8) {
    uint64_t x;
    uint64_t y;
    std::memcpy(&x, a.data() + at, 8);
    std::memcpy(&y, b.data() + at, 8);
    if (x != y) {
      if constexpr (std::endian::native == std::endian::little) {
        x = __builtin_bswap64(x);
        y = __builtin_bswap64(y);
      }
      return x < y;
    }
  }
  for (; at < common; ++at) {
    if (a[at] != b[at]) return static_cast<uint8_t>(a[at]) < static_cast<uint8_t>(b[at]);
  }
  return a.size() < b.size();
}

}  // namespace

std::string_view SortedNameList::Key(uint32_t id) const {
  const size_t begin = id == 0 ? 0 : key_ends_[id - 1];
  return std::string_view(keys_).substr(begin, key_ends_[id] - begin);
}

std::optional<uint32_t> SortedNameList::FindKey(std::string_view key, uint64_t hash) const {
  if (table_.empty()) return std::nullopt;
  const size_t mask = table_.size() - 1;
  const uint64_t tag = hash >> kIdBits;
  for (size_t at = hash & mask;; at = (at + 1) & mask) {
    const uint64_t slot = table_[at];
    if (slot == 0) return std::nullopt;
    const auto id = static_cast<uint32_t>((slot & kIdMask) - 1);
    if ((slot >> kIdBits) == tag && Key(id) == key) return id;
  }
}

void SortedNameList::Place(uint64_t hash, uint32_t id) {
  const size_t mask = table_.size() - 1;
  size_t at = hash & mask;
  while (table_[at] != 0) at = (at + 1) & mask;
  table_[at] = (hash >> kIdBits << kIdBits) | (uint64_t{id} + 1);
}

SortedNameList::Added SortedNameList::Add(std::string_view name) {
  key_.clear();
  AppendSortKey(name, &key_);
  const uint64_t hash = HashKey(key_);
  if (const std::optional<uint32_t> found = FindKey(key_, hash)) return {*found, false};
  const auto id = static_cast<uint32_t>(spellings_.size());
  spellings_.emplace_back(name);
  keys_.append(key_);
  key_ends_.push_back(keys_.size());
  if ((spellings_.size() + 1) * 2 > table_.size()) {
    table_.assign(table_.empty() ? 16 : table_.size() * 2, 0);
    for (uint32_t known = 0; known < id; ++known) Place(HashKey(Key(known)), known);
  }
  Place(hash, id);
  sorted_ = false;
  return {id, true};
}

std::optional<uint32_t> SortedNameList::Find(std::string_view name) const {
  const std::string key = SortKey(name);
  return FindKey(key, HashKey(key));
}

void SortedNameList::Sort() const {
  std::vector<std::string_view> keys(spellings_.size());
  for (uint32_t id = 0; id < keys.size(); ++id) keys[id] = Key(id);
  order_.resize(spellings_.size());
  std::iota(order_.begin(), order_.end(), 0);
  std::sort(order_.begin(), order_.end(),
            [&keys](uint32_t a, uint32_t b) { return KeyLess(keys[a], keys[b]); });
  slots_.resize(order_.size());
  for (uint32_t slot = 0; slot < order_.size(); ++slot) slots_[order_[slot]] = slot;
  sorted_ = true;
}

}  // namespace platform
