// The settings store of the desktop program: an INI file kept by QSettings under the
// organisation "Quenwick" and the application "HivoraRegEdit".
#pragma once

#include <QSettings>
#include <QString>
#include <memory>

#include "support/Settings.h"

namespace hivora {

class QtSettingsStore : public SettingsStore {
public:
    // The user's own settings file.
    QtSettingsStore();
    // A given INI file (tests).
    explicit QtSettingsStore(const QString& fileName);

    std::string GetProfileString(std::string_view section, std::string_view entry,
                                 std::string_view defaultValue = {}) const override;
    void WriteProfileString(std::string_view section, std::string_view entry,
                            std::string_view value) override;
    int GetProfileInt(std::string_view section, std::string_view entry,
                      int defaultValue) const override;
    void WriteProfileInt(std::string_view section, std::string_view entry, int value) override;

    void Sync() { settings_->sync(); }

    // The QSettings key of an entry. QSettings reads "/" and "\" as group separators and
    // cannot hold an empty group, so every byte outside [A-Za-z0-9._-] is written as "~XX"
    // and the section gets a leading "S"; distinct section and entry names never share a key.
    static QString EncodeKey(std::string_view section, std::string_view entry);

private:
    std::unique_ptr<QSettings> settings_;
};

}  // namespace hivora
