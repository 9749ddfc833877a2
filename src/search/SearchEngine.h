// The search walk: depth first through HKEY_LOCAL_MACHINE, then HKEY_USERS, in the back end's
// enumeration order, from a start position to the first hit or on through every hit.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "search/SearchCriteria.h"
#include "search/SearchResult.h"

namespace hivora {

class SearchControl;

// The first hit after the start position of `criteria`, or nothing. The walk resumes by
// position: at each level of the start path it passes over the subkeys enumerated before the
// first one whose name equals the start component ignoring case (that key's own name is not
// tested again), and in the start key over the values up to and including the first one named
// like the start value. Where no name equals the start, nothing is passed over. With a
// control, a cancel request ends the walk before the next key (no hit). `walkCut`, when
// given, tells whether the walk ran out of budget before its end (RegistryWalker);
// `tooComplex`, whether the pattern reached its match limits on some text, which ends the
// walk without a hit. An invalid pattern finds nothing.
std::optional<SearchResult> SearchFrom(const SearchCriteria& criteria,
                                       const SearchControl* control = nullptr,
                                       bool* walkCut = nullptr, bool* tooComplex = nullptr);

enum class SearchEnd { Declined, Cancelled, NothingMore, PatternTooComplex };

// Every hit after the start of `criteria`, handed to `found` one by one while it returns true:
// exactly the hits, in the same order, that SearchFrom gives when each search starts at the
// previous hit (its path and value name, or its deleted record), with the same budget for
// each. One walk goes on from hit to hit; it walks again from a hit only where a search
// starting there would not resume right after it (a deleted record, a path with a duplicate
// or unsplittable name). A hit met again ends the search as nothing more found. The pattern
// is compiled once; an invalid one finds nothing. `walkCut` is set when any of those searches
// would have run out of budget.
SearchEnd SearchEveryHit(const SearchCriteria& criteria, const SearchControl* control,
                         const std::function<bool(const SearchResult&)>& found, bool* walkCut);

}  // namespace hivora
