// The values list's rows for deleted values, shown on request: those of a deleted key, the
// value-list slack of a live key, and on a hive's node of unknown parents the deleted values
// whose key is unknown.
#pragma once

#include <vector>

#include "keys/KeyItemData.h"
#include "values/ValuesList.h"

namespace hivora {

inline constexpr int kDeletedValueImage = 2;
inline constexpr const char* kDataNotRecoverable = "(data not recoverable)";

// The deleted values of `record`'s key, sorted by name; none while deleted records are hidden.
// Each row's item holds the recovered bytes (none when they are not recoverable).
std::vector<ValueRow> DeletedValueRows(const KeyItemData& record);

}  // namespace hivora
