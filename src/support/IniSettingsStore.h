// Settings kept in an INI-style text file, for the command-line tool: "[section]" lines and
// "entry=value" lines. Section names, entries and values are percent-escaped where they hold
// characters the format gives a meaning, so any section name round-trips.
#pragma once

#include <map>
#include <string>

#include "support/Settings.h"

namespace hivora {

class IniSettingsStore : public SettingsStore {
public:
    // Reads `path` when it exists; every write rewrites it whole.
    explicit IniSettingsStore(std::string path);

    // $HIVORA_SETTINGS, else ~/.config/Quenwick/HivoraRegEdit.ini.
    static std::string DefaultPath();
    const std::string& Path() const { return path_; }

    std::string GetProfileString(std::string_view section, std::string_view entry,
                                 std::string_view defaultValue = {}) const override;
    void WriteProfileString(std::string_view section, std::string_view entry,
                            std::string_view value) override;
    int GetProfileInt(std::string_view section, std::string_view entry,
                      int defaultValue) const override;
    void WriteProfileInt(std::string_view section, std::string_view entry, int value) override;

private:
    void Save() const;

    std::string path_;
    std::map<std::string, std::map<std::string, std::string, std::less<>>, std::less<>> sections_;
};

}  // namespace hivora
