// The search walk: depth first through HKEY_LOCAL_MACHINE, then HKEY_USERS, in the back end's
// enumeration order, from a start position to the first hit.
#pragma once

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
// given, tells whether the walk ran out of budget before its end (RegistryWalker).
std::optional<SearchResult> SearchFrom(const SearchCriteria& criteria,
                                       const SearchControl* control = nullptr,
                                       bool* walkCut = nullptr);

}  // namespace hivora
