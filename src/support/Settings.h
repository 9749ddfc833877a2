// What persists between runs: string and integer entries in named sections. The desktop
// program stores them with QSettings; tests and the command-line tool use memory or a file.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace hivora {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // Missing sections and entries read as the caller's default.
    virtual std::string GetProfileString(std::string_view section, std::string_view entry,
                                         std::string_view defaultValue = {}) const = 0;
    virtual void WriteProfileString(std::string_view section, std::string_view entry,
                                    std::string_view value) = 0;
    virtual int GetProfileInt(std::string_view section, std::string_view entry,
                              int defaultValue) const = 0;
    virtual void WriteProfileInt(std::string_view section, std::string_view entry, int value) = 0;
};

// Entries kept in memory; any section name works.
class MemorySettingsStore : public SettingsStore {
public:
    std::string GetProfileString(std::string_view section, std::string_view entry,
                                 std::string_view defaultValue = {}) const override;
    void WriteProfileString(std::string_view section, std::string_view entry,
                            std::string_view value) override;
    int GetProfileInt(std::string_view section, std::string_view entry,
                      int defaultValue) const override;
    void WriteProfileInt(std::string_view section, std::string_view entry, int value) override;

    size_t EntryCount() const { return entries_.size(); }

private:
    using Key = std::pair<std::string, std::string>;
    std::map<Key, std::variant<std::string, int>, std::less<>> entries_;
};

// The process-wide store. Until a program installs its own, a memory store.
SettingsStore& AppSettings();
// Installs `store` (not owned; nullptr goes back to the built-in memory store).
void SetAppSettings(SettingsStore* store);

}  // namespace hivora
