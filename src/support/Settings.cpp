#include "support/Settings.h"

namespace hivora {
namespace {

MemorySettingsStore& BuiltInStore() {
    static MemorySettingsStore store;
    return store;
}

SettingsStore* g_store = nullptr;

}  // namespace

std::string MemorySettingsStore::GetProfileString(std::string_view section, std::string_view entry,
                                                  std::string_view defaultValue) const {
    auto it = entries_.find(Key(section, entry));
    if (it == entries_.end()) {
        return std::string(defaultValue);
    }
    if (const auto* text = std::get_if<std::string>(&it->second)) {
        return *text;
    }
    return std::to_string(std::get<int>(it->second));
}

void MemorySettingsStore::WriteProfileString(std::string_view section, std::string_view entry,
                                             std::string_view value) {
    entries_[Key(section, entry)] = std::string(value);
}

int MemorySettingsStore::GetProfileInt(std::string_view section, std::string_view entry,
                                       int defaultValue) const {
    auto it = entries_.find(Key(section, entry));
    if (it == entries_.end()) {
        return defaultValue;
    }
    if (const int* number = std::get_if<int>(&it->second)) {
        return *number;
    }
    try {
        return std::stoi(std::get<std::string>(it->second));
    } catch (...) {
        return defaultValue;
    }
}

void MemorySettingsStore::WriteProfileInt(std::string_view section, std::string_view entry,
                                          int value) {
    entries_[Key(section, entry)] = value;
}

SettingsStore& AppSettings() { return g_store ? *g_store : BuiltInStore(); }
void SetAppSettings(SettingsStore* store) { g_store = store; }

}  // namespace hivora
