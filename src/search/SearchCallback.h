// How a search worker reports: hits one by one, then the end.
#pragma once

#include "search/SearchResult.h"

namespace hivora {

// Why a search ended.
inline constexpr int kSearchEndedAtHit = 0;  // Found declined to go on
inline constexpr int kSearchCancelled = 1;
inline constexpr int kSearchNothingFound = 2;  // nothing (more) was found
// The pattern reached its match limits on some name or data (kPatternTooComplex): the search
// stopped there.
inline constexpr int kSearchPatternTooComplex = 3;

// Called on the worker thread.
class SearchCallback {
public:
    virtual ~SearchCallback() = default;
    virtual void Finished(int reason) = 0;
    // Non-zero: go on searching after this hit; 0: end the search.
    virtual int Found(const SearchResult& result) = 0;
};

}  // namespace hivora
