// The input history of the Choose Registry Files fields in section "SVCOMBOS": entry
// <prefix>000 is the text the field held at the last accepted OK, the others are names from
// the field's list, at most sixteen entries per field.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "support/Settings.h"

namespace hivora {

struct ComboHistory {
    std::string text;
    // Every non-empty entry, entry 000 included, sorted as the field's list shows them.
    std::vector<std::string> items;
};

ComboHistory LoadComboHistory(const SettingsStore& settings, std::string_view prefix);

// Writes `text` at 000 and then, from the first 15 of `items` (the list in its shown order),
// every name that differs from `text` ignoring case; the remaining entries are emptied.
void SaveComboHistory(SettingsStore& settings, std::string_view prefix, const std::string& text,
                      const std::vector<std::string>& items);

// The order of the field lists: alphabetical ignoring case.
bool HistoryLess(const std::string& a, const std::string& b);

}  // namespace hivora
