// A search's hits as rows of a table: the columns the results list shows and saves (kind, key
// path, value name, data, the key's last-write time), their cells, and their order.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "search/ResultWriter.h"
#include "search/SearchResult.h"

namespace hivora {

enum HitColumn : int { kHitKind, kHitKey, kHitValue, kHitData, kHitLastWrite, kHitColumnCount };

// "Kind", "Key", "Value", "Data", "Last write (UTC)".
std::vector<std::string> HitColumnNames();

// "Key name", "Value name", "Data", "Last write".
std::string_view HitKindName(MatchKind kind);

// The value's name as listed: empty for key hits.
std::string_view HitValueName(const SearchResult& hit);

// One row of a saved file, a cell per column. The time is written to its full precision
// ("2004-03-05T12:34:56.0000000Z"), and left empty when the hit carries none.
std::vector<std::string> HitRowCells(const SearchResult& hit);

// Negative, zero or positive as `a` sorts before, with or after `b` by `column`: texts
// alphabetically ignoring case, kinds in their listed order, times by instant.
int CompareHits(const SearchResult& a, const SearchResult& b, int column);

// The positions of `hits` in the order `column` sorts them (CompareHits, ties in their
// present order), reversed when `descending`. Each text is case-folded once rather than in
// every comparison, so 100,000 hits sort in well under a second.
std::vector<size_t> HitSortOrder(std::span<const SearchResult> hits, int column, bool descending);

// JSON Lines for a name ending in ".jsonl" or ".json" (any case), else CSV.
ResultFormat ResultFormatForFileName(std::string_view fileName);

// Writes the hits in their order, a header naming the columns (CSV) or the names as keys
// (JSON Lines). The file appears under its name only when complete; a failure raises
// FileError naming it.
void SaveHits(std::span<const SearchResult> hits, ResultFormat format,
              const std::string& fileName);

}  // namespace hivora
