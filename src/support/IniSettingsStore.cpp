#include "support/IniSettingsStore.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "support/BuildInfo.h"
#include "support/MyException.h"

namespace hivora {
namespace {

bool NeedsEscape(unsigned char c) {
    return c < 0x20 || c == '%' || c == '[' || c == ']' || c == '=' || c == ';' || c == 0x7F;
}

std::string Escape(std::string_view text) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (NeedsEscape(c)) {
            out += '%';
            out += kDigits[c >> 4];
            out += kDigits[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::string Unescape(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
            HexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

IniSettingsStore::IniSettingsStore(std::string path) : path_(std::move(path)) {
    Load();
}

void IniSettingsStore::Load() {
    sections_.clear();
    std::ifstream in(path_, std::ios::binary);
    std::string line;
    std::string section;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            section = Unescape(std::string_view(line).substr(1, line.size() - 2));
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string::npos || line[0] == ';') {
            continue;
        }
        sections_[section][Unescape(std::string_view(line).substr(0, equals))] =
            Unescape(std::string_view(line).substr(equals + 1));
    }
}

std::string IniSettingsStore::DefaultPath() {
    if (const char* path = std::getenv("HIVORA_SETTINGS"); path != nullptr && *path != 0) {
        return path;
    }
    std::string folder;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config == '/') {
        folder = config;
    } else {
        const char* home = std::getenv("HOME");
        folder = std::string(home ? home : ".") + "/.config";
    }
    return folder + "/" + build::kOrganizationName + "/" + build::kApplicationName + ".ini";
}

std::string IniSettingsStore::GetProfileString(std::string_view section, std::string_view entry,
                                               std::string_view defaultValue) const {
    const auto found = sections_.find(section);
    if (found != sections_.end()) {
        const auto value = found->second.find(entry);
        if (value != found->second.end()) {
            return value->second;
        }
    }
    return std::string(defaultValue);
}

void IniSettingsStore::WriteProfileString(std::string_view section, std::string_view entry,
                                          std::string_view value) {
    Load();
    sections_[std::string(section)][std::string(entry)] = std::string(value);
    Save();
}

int IniSettingsStore::GetProfileInt(std::string_view section, std::string_view entry,
                                    int defaultValue) const {
    const std::string text = GetProfileString(section, entry);
    if (text.empty()) {
        return defaultValue;
    }
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    return end != text.c_str() ? static_cast<int>(value) : defaultValue;
}

void IniSettingsStore::WriteProfileInt(std::string_view section, std::string_view entry,
                                       int value) {
    WriteProfileString(section, entry, std::to_string(value));
}

void IniSettingsStore::Save() const {
    const std::filesystem::path path(path_);
    std::error_code ignored;
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path(), ignored);
    }
    std::string text;
    for (const auto& [section, entries] : sections_) {
        text += "[" + Escape(section) + "]\n";
        for (const auto& [entry, value] : entries) {
            text += Escape(entry) + "=" + Escape(value) + "\n";
        }
        text += "\n";
    }
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    if (!out.write(text.data(), static_cast<std::streamsize>(text.size())) || !out.flush()) {
        throw FileError("Unable to write " + path_ + ": " + std::strerror(errno));
    }
}

}  // namespace hivora
