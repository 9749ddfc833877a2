// Settings kept in an INI-style text file, the one format both programs read and write:
// "[section]" lines and "entry=value" lines. Section names, entries and values are
// percent-escaped only where they hold characters the format gives a meaning, so section names
// stay readable ("[/cases/SYSTEM/cases/NTUSER.DAT]") and any name round-trips.
#pragma once

#include <map>
#include <string>

#include "support/Settings.h"

namespace hivora {

class IniSettingsStore : public SettingsStore {
public:
    // Reads `path` when it exists. Every write reads the file again, applies the one entry and
    // rewrites it whole, so entries another program wrote meanwhile are kept.
    explicit IniSettingsStore(std::string path);

    // $HIVORA_SETTINGS, else $XDG_CONFIG_HOME (or ~/.config)/Quenwick/HivoraRegEdit.ini.
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
    void Load();
    void Save() const;

    std::string path_;
    std::map<std::string, std::map<std::string, std::string, std::less<>>, std::less<>> sections_;
};

}  // namespace hivora
