#include "favorites/FavoriteStore.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

#include <fmt/format.h>

#include "support/CaseFold.h"
#include "support/MyException.h"

namespace hivora {
namespace {

constexpr std::string_view kMachineName = "HKEY_LOCAL_MACHINE";
constexpr std::string_view kUsersName = "HKEY_USERS";

std::string Entry(size_t index, char kind) {
    return fmt::format("{:03}{}", index, kind);
}

std::string RootText(RootKey root) {
    if (root == kLocalMachine) {
        return std::string(kMachineName);
    }
    if (root == kUsers) {
        return std::string(kUsersName);
    }
    return fmt::format("{:X}", root);
}

// The runtime tokeniser's splitting: empty fields vanish.
std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    while (start <= line.size()) {
        const size_t comma = std::min(line.find(',', start), line.size());
        if (comma > start) {
            fields.push_back(line.substr(start, comma - start));
        }
        start = comma + 1;
    }
    return fields;
}

Favorite FromPath(std::string_view name, std::string_view path) {
    Favorite favorite;
    favorite.name = std::string(name);
    const size_t slash = path.find('\\');
    favorite.root = ParseRootName(path.substr(0, slash));
    favorite.subPath = std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
    return favorite;
}

}  // namespace

std::string FavoritesSection(const FileSet& set) {
    return set[HiveSlot::System] + set[HiveSlot::NtUser];
}

RootKey ParseRootName(std::string_view text) {
    if (EqualsNoCase(text, kMachineName)) {
        return kLocalMachine;
    }
    if (EqualsNoCase(text, kUsersName)) {
        return kUsers;
    }
    // As "%X" reads: optional blanks, an optional 0x, then hexadecimal digits.
    size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) {
        ++pos;
    }
    if (text.size() - pos > 2 && text[pos] == '0' && (text[pos + 1] | 0x20) == 'x') {
        pos += 2;
    }
    uint32_t value = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        int digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f') {
            digit = (c | 0x20) - 'a' + 10;
        } else {
            break;
        }
        value = value * 16 + static_cast<uint32_t>(digit);
    }
    return value;
}

void FavoriteStore::LoadFavorites() {
    const std::string section = FavoritesSection(Files());
    if (section == section_) {
        return;
    }
    section_ = section;
    favorites_.clear();
    const SettingsStore& settings = Settings();
    for (size_t i = 0; i < kPersisted; ++i) {
        std::string name = settings.GetProfileString(section, Entry(i, 'N'));
        if (name.empty()) {
            break;
        }
        Favorite favorite;
        favorite.name = std::move(name);
        favorite.subPath = settings.GetProfileString(section, Entry(i, 'S'));
        favorite.root = static_cast<RootKey>(settings.GetProfileInt(section, Entry(i, 'K'), 0));
        favorites_.push_back(std::move(favorite));
    }
}

void FavoriteStore::SaveFavorites() {
    SettingsStore& settings = Settings();
    const std::string section = FavoritesSection(Files());
    for (size_t i = 0; i < kPersisted; ++i) {
        const Favorite* favorite = i < favorites_.size() ? &favorites_[i] : nullptr;
        settings.WriteProfileString(section, Entry(i, 'N'), favorite ? favorite->name : "");
        settings.WriteProfileString(section, Entry(i, 'S'), favorite ? favorite->subPath : "");
        settings.WriteProfileInt(section, Entry(i, 'K'),
                                 favorite ? static_cast<int>(favorite->root) : 0);
    }
}

size_t FavoriteStore::Count() {
    LoadFavorites();
    return favorites_.size();
}

bool FavoriteStore::GetFavorite(size_t index, Favorite& favorite) {
    LoadFavorites();
    if (index >= favorites_.size()) {
        return false;
    }
    favorite = favorites_[index];
    return true;
}

const std::vector<Favorite>& FavoriteStore::Favorites() {
    LoadFavorites();
    return favorites_;
}

void FavoriteStore::AddFavorite(const Favorite& favorite) {
    LoadFavorites();
    favorites_.push_back(favorite);
    SaveFavorites();
}

int FavoriteStore::FindLast(std::string_view name) {
    LoadFavorites();
    for (size_t i = favorites_.size(); i-- > 0;) {
        if (EqualsNoCase(favorites_[i].name, name)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool FavoriteStore::DeleteFavorite(std::string_view name) {
    const int index = FindLast(name);
    if (index < 0) {
        return false;
    }
    favorites_.erase(favorites_.begin() + index);
    SaveFavorites();
    return true;
}

bool FavoriteStore::RenameFavorite(std::string_view oldName, std::string_view newName) {
    const int index = FindLast(oldName);
    if (index < 0) {
        return false;
    }
    favorites_[static_cast<size_t>(index)].name = std::string(newName);
    SaveFavorites();
    return true;
}

std::string FavoriteStore::FormatFavoritesFile() {
    std::string text;
    for (const Favorite& favorite : Favorites()) {
        const std::string root = RootText(favorite.root);
        if (favorite.root == kLocalMachine || favorite.root == kUsers) {
            const std::string path = root + "\\" + favorite.subPath;
            text += favorite.name == path ? path : favorite.name + "," + path;
        } else {
            text += favorite.name + "," + root + "," + favorite.subPath;
        }
        text += "\r\n";
    }
    return text;
}

size_t FavoriteStore::AddFromFavoritesFile(std::string_view text) {
    size_t added = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty() || line[0] == ';') {
            continue;
        }
        const std::vector<std::string_view> fields = SplitFields(line);
        Favorite favorite;
        if (fields.size() == 1) {
            favorite = FromPath(fields[0], fields[0]);
        } else if (fields.size() == 2) {
            favorite = FromPath(fields[0], fields[1]);
        } else if (fields.size() == 3) {
            favorite = {std::string(fields[0]), ParseRootName(fields[1]), std::string(fields[2])};
        } else {
            continue;
        }
        AddFavorite(favorite);
        ++added;
    }
    return added;
}

void FavoriteStore::SaveFavoritesToFile(const std::string& path) {
    const std::string text = FormatFavoritesFile();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        throw FileError("Unable to open " + path + ": " + std::strerror(errno));
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (std::fclose(file) != 0 || !written) {
        throw FileError("Unable to write " + path + ": " + std::strerror(errno));
    }
}

size_t FavoriteStore::LoadFavoritesFromFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw FileError("Unable to open " + path + ": " + std::strerror(errno));
    }
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    return AddFromFavoritesFile(text);
}

FavoriteStore& AppFavorites() {
    static FavoriteStore store;
    return store;
}

}  // namespace hivora
