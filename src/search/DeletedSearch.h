// The search through one hive's deleted records, which follows the walk of its live keys.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "search/SearchCriteria.h"
#include "search/SearchResult.h"

namespace hivora {

// How a text is tested (the live search's rule: whole string or folded substring).
using TextTest = std::function<bool(std::string_view)>;

// The first deleted key or value of the loaded hive image `hive` whose record lies after the
// cell offset `after` and matches (key names, value names, string data as `criteria` asks).
// `hiveKeyPath` is the hive root's full path; hit paths begin with it.
std::optional<SearchResult> SearchDeletedRecords(const SearchCriteria& criteria,
                                                 const TextTest& matches, uint32_t hive,
                                                 std::string_view hiveKeyPath, uint32_t after);

}  // namespace hivora
