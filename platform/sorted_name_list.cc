// Names are found by hash, never by search: first by exact spelling, then by sort key, which is
// equal exactly for names the collation calls equal. The order is made by sorting the keys once
// a slot is asked for, so a list filled while reading sources is sorted a single time.
#include "platform/sorted_name_list.h"

#include <algorithm>
#include <numeric>

#include "platform/collation.h"

namespace platform {

SortedNameList::Added SortedNameList::Add(std::string_view name) {
  if (auto found = by_spelling_.find(name); found != by_spelling_.end()) {
    return {found->second, false};
  }
  const auto id = static_cast<uint32_t>(spellings_.size());
  const auto [by_key, is_new] = by_key_.try_emplace(SortKey(name), id);
  by_spelling_.emplace(name, by_key->second);
  if (!is_new) return {by_key->second, false};
  spellings_.emplace_back(name);
  keys_.push_back(&by_key->first);
  sorted_ = false;
  return {id, true};
}

std::optional<uint32_t> SortedNameList::Find(std::string_view name) const {
  if (auto found = by_spelling_.find(name); found != by_spelling_.end()) return found->second;
  if (auto found = by_key_.find(SortKey(name)); found != by_key_.end()) return found->second;
  return std::nullopt;
}

uint32_t SortedNameList::Slot(uint32_t id) const {
  SortIfNeeded();
  return slots_[id];
}

const std::vector<uint32_t>& SortedNameList::IdsInOrder() const {
  SortIfNeeded();
  return order_;
}

void SortedNameList::SortIfNeeded() const {
  if (sorted_) return;
  order_.resize(spellings_.size());
  std::iota(order_.begin(), order_.end(), 0);
  std::sort(order_.begin(), order_.end(),
            [this](uint32_t a, uint32_t b) { return *keys_[a] < *keys_[b]; });
  slots_.resize(order_.size());
  for (uint32_t slot = 0; slot < order_.size(); ++slot) slots_[order_[slot]] = slot;
  sorted_ = true;
}

}  // namespace platform
