#include "fileset/ui/ComboHistory.h"

#include <algorithm>
#include <cstdio>

#include "support/CaseFold.h"

namespace hivora {
namespace {

constexpr std::string_view kSection = "SVCOMBOS";
constexpr unsigned kEntries = 16;

std::string EntryName(std::string_view prefix, unsigned index) {
    char number[8];
    std::snprintf(number, sizeof number, "%03u", index);
    return std::string(prefix) + number;
}

}  // namespace

bool HistoryLess(const std::string& a, const std::string& b) {
    return CompareNoCase(a, b) < 0;
}

ComboHistory LoadComboHistory(const SettingsStore& settings, std::string_view prefix) {
    ComboHistory history;
    for (unsigned index = 0; index < kEntries; ++index) {
        std::string value = settings.GetProfileString(kSection, EntryName(prefix, index));
        if (index == 0) {
            history.text = value;
        }
        if (!value.empty()) {
            history.items.push_back(std::move(value));
        }
    }
    std::stable_sort(history.items.begin(), history.items.end(), HistoryLess);
    return history;
}

void SaveComboHistory(SettingsStore& settings, std::string_view prefix, const std::string& text,
                      const std::vector<std::string>& items) {
    for (unsigned index = 0; index < kEntries; ++index) {
        settings.WriteProfileString(kSection, EntryName(prefix, index), "");
    }
    settings.WriteProfileString(kSection, EntryName(prefix, 0), text);
    unsigned next = 1;
    for (size_t i = 0; i < items.size() && i < kEntries - 1; ++i) {
        if (!EqualsNoCase(items[i], text)) {
            settings.WriteProfileString(kSection, EntryName(prefix, next++), items[i]);
        }
    }
}

}  // namespace hivora
