#include "support/ui/QtSettingsStore.h"

#include <string>

namespace hivora {
namespace {

void AppendEncoded(std::string_view text, std::string& out) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (unsigned char c : text) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                           (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
        if (plain) {
            out += static_cast<char>(c);
        } else {
            out += '~';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
}

}  // namespace

QtSettingsStore::QtSettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                            QStringLiteral("Quenwick"),
                                            QStringLiteral("HivoraRegEdit"))) {}

QtSettingsStore::QtSettingsStore(const QString& fileName)
    : settings_(std::make_unique<QSettings>(fileName, QSettings::IniFormat)) {}

QString QtSettingsStore::EncodeKey(std::string_view section, std::string_view entry) {
    std::string key = "S";
    AppendEncoded(section, key);
    key += "/E";
    AppendEncoded(entry, key);
    return QString::fromLatin1(key);
}

std::string QtSettingsStore::GetProfileString(std::string_view section, std::string_view entry,
                                              std::string_view defaultValue) const {
    const QVariant value = settings_->value(EncodeKey(section, entry));
    if (!value.isValid()) {
        return std::string(defaultValue);
    }
    return value.toString().toStdString();
}

void QtSettingsStore::WriteProfileString(std::string_view section, std::string_view entry,
                                         std::string_view value) {
    settings_->setValue(EncodeKey(section, entry),
                        QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
}

int QtSettingsStore::GetProfileInt(std::string_view section, std::string_view entry,
                                   int defaultValue) const {
    const QVariant value = settings_->value(EncodeKey(section, entry));
    bool ok = false;
    const int number = value.toInt(&ok);
    return ok ? number : defaultValue;
}

void QtSettingsStore::WriteProfileInt(std::string_view section, std::string_view entry, int value) {
    settings_->setValue(EncodeKey(section, entry), value);
}

}  // namespace hivora
