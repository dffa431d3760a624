// The case-insensitive word sort of code page 1252 that orders the assembler's symbol lists.
//
// Every byte has weights (script member, primary, diacritic, case); a few bytes sort as two
// letters. Names compare level by level: primary, then diacritic, then case (case bits cleared,
// so letters pair up without regard to case), then the punctuation that only breaks ties
// (apostrophe, hyphen and some controls). Zero bytes are ignored. Equality is equality at every
// level, so "co-op" equals "CO-OP" but not "coop".
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Negative, zero or positive as |a| sorts before, equal to or after |b|. Allocates nothing.
int CompareNames(std::string_view a, std::string_view b);

// A byte string whose plain byte order is the order of CompareNames and which is equal for two
// names exactly when they compare equal: the key for hashing names by collation.
std::string SortKey(std::string_view name);
// Appends the sort key of |name| to |key|.
void AppendSortKey(std::string_view name, std::string* key);

}  // namespace platform
