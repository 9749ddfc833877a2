// Named bookmarks of keys, one list per file set, kept in the settings under a section named
// after the set's SYSTEM and user hive files, and the favourites file that saves and loads them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "fileset/FileSet.h"
#include "hive/RegistryTypes.h"
#include "support/Settings.h"

namespace hivora {

struct Favorite {
    std::string name;
    RootKey root = 0;
    std::string subPath;  // empty for a root key
    bool operator==(const Favorite&) const = default;
};

// The System name immediately followed by the user hive name, both as typed.
std::string FavoritesSection(const FileSet& set);

// "HKEY_LOCAL_MACHINE" and "HKEY_USERS" (any case) give their roots; anything else is read as
// a hexadecimal number (0 without hexadecimal digits).
RootKey ParseRootName(std::string_view text);

class FavoriteStore {
public:
    // Only the first kPersisted favourites reach the settings.
    static constexpr size_t kPersisted = 50;

    // Uses the process-wide settings store and file set, looked up at each call.
    FavoriteStore() = default;
    // Uses the given ones (not owned), for tests and tools.
    FavoriteStore(SettingsStore& settings, const FileSet& fileSet)
        : settings_(&settings), fileSet_(&fileSet) {}

    // Makes the store reflect the current file set's section (a no-op when it already does).
    void LoadFavorites();
    // Writes all persisted entries of the section, empty ones past the end included.
    void SaveFavorites();

    size_t Count();
    bool GetFavorite(size_t index, Favorite& favorite);
    const std::vector<Favorite>& Favorites();

    void AddFavorite(const Favorite& favorite);
    // Both act on the last favourite whose name matches, ignoring case; false when none does.
    bool DeleteFavorite(std::string_view name);
    bool RenameFavorite(std::string_view oldName, std::string_view newName);

    // The favourites file: one line per favourite, CR LF line ends.
    std::string FormatFavoritesFile();
    // Adds each readable line of `text` as a favourite; returns how many were added.
    size_t AddFromFavoritesFile(std::string_view text);
    // The same through a file; raise FileError when the file can't be written or read.
    void SaveFavoritesToFile(const std::string& path);
    size_t LoadFavoritesFromFile(const std::string& path);

private:
    SettingsStore& Settings() const { return settings_ ? *settings_ : AppSettings(); }
    const FileSet& Files() const { return fileSet_ ? *fileSet_ : CurrentFileSet(); }
    int FindLast(std::string_view name);

    SettingsStore* settings_ = nullptr;
    const FileSet* fileSet_ = nullptr;
    std::string section_ = "+";  // no real section equals it
    std::vector<Favorite> favorites_;
};

// The one store of the process.
FavoriteStore& AppFavorites();

}  // namespace hivora
