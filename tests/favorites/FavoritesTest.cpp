#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "favorites/FavoriteStore.h"
#include "favorites/NavigationHistory.h"
#include "support/TempPath.h"

namespace hivora {
namespace {

class FavoriteStoreTest : public testing::Test {
protected:
    FavoriteStoreTest() {
        files_[HiveSlot::System] = "C:\\h\\SYSTEM";
        files_[HiveSlot::NtUser] = "C:\\u\\NTUSER.DAT";
    }
    MemorySettingsStore settings_;
    FileSet files_;
    FavoriteStore store_{settings_, files_};
};

TEST_F(FavoriteStoreTest, SettingsSectionFollowsSystemAndUserFilesAndKeepsFifty) {
    const std::string section = FavoritesSection(files_);
    EXPECT_EQ(section, "C:\\h\\SYSTEMC:\\u\\NTUSER.DAT");
    store_.AddFavorite({"Soft", kLocalMachine, "SOFTWARE"});
    EXPECT_EQ(settings_.GetProfileString(section, "000N"), "Soft");
    EXPECT_EQ(settings_.GetProfileString(section, "000S"), "SOFTWARE");
    EXPECT_EQ(static_cast<RootKey>(settings_.GetProfileInt(section, "000K", 0)), kLocalMachine);

    files_[HiveSlot::NtUser] = "/other/NTUSER.DAT";
    EXPECT_EQ(store_.Count(), 0u);  // the store follows the file set on the next read
    for (int i = 0; i < 51; ++i) {
        store_.AddFavorite({"f" + std::to_string(i), kUsers, "k"});
    }
    EXPECT_EQ(FavoriteStore(settings_, files_).Count(), 50u);
}

TEST_F(FavoriteStoreTest, DeleteAndRenameActOnTheLastMatchIgnoringCase) {
    store_.AddFavorite({"A", kLocalMachine, "first"});
    store_.AddFavorite({"a", kLocalMachine, "second"});
    store_.AddFavorite({"B", kLocalMachine, "third"});
    EXPECT_TRUE(store_.RenameFavorite("A", "C"));
    EXPECT_EQ(store_.Favorites()[1].name, "C");
    EXPECT_TRUE(store_.DeleteFavorite("a"));  // after the rename only "A" matches
    ASSERT_EQ(store_.Count(), 2u);
    EXPECT_EQ(store_.Favorites()[0].subPath, "second");
    EXPECT_FALSE(store_.DeleteFavorite("missing"));
}

TEST_F(FavoriteStoreTest, FileLinesTakeTheirThreeFormsAndReadBack) {
    const std::vector<Favorite> saved = {
        {"HKEY_LOCAL_MACHINE\\SOFTWARE", kLocalMachine, "SOFTWARE"},
        {"Users", kUsers, ""},
        {"Cu", kCurrentUser, "Software\\x"}};
    for (const Favorite& favorite : saved) {
        store_.AddFavorite(favorite);
    }
    EXPECT_EQ(store_.FormatFavoritesFile(),
              "HKEY_LOCAL_MACHINE\\SOFTWARE\r\nUsers,HKEY_USERS\\\r\nCu,80000001,Software\\x\r\n");
    const auto path = hivora::test::UniqueTempPath("hivora_favorites.txt").string();
    store_.SaveFavoritesToFile(path);
    MemorySettingsStore settings;
    FavoriteStore fresh(settings, files_);
    EXPECT_EQ(fresh.LoadFavoritesFromFile(path), 3u);
    EXPECT_EQ(FavoriteStore(settings, files_).Favorites(), saved);  // through the settings too
    std::filesystem::remove(path);

    const FileSet noFiles;
    FavoriteStore other(settings_, noFiles);
    EXPECT_EQ(other.AddFromFavoritesFile("; comment\r\n\r\na,b,c,d\r\n,,Only,,HKEY_USERS\\k,\n"),
              1u);
    EXPECT_EQ(other.Favorites(), (std::vector<Favorite>{{"Only", kUsers, "k"}}));
}

TEST(NavigationHistory, BackForwardAndRecordingFollowTheStateTable) {
    NavigationHistory history;
    const HistoryEntry k1{kLocalMachine, "k1"}, k2{kLocalMachine, "k2"}, k3{kUsers, "k3"},
        k4{kUsers, "k4"};
    EXPECT_FALSE(history.StepBack());
    history.RecordKey(k1);
    EXPECT_FALSE(history.CanGoBack() || history.CanGoForward());
    history.RecordKey(k2);
    history.RecordKey(k3);
    {
        NavigationHistory::Suspend moving(history);
        EXPECT_EQ(history.StepBack(), k2);
        history.RecordKey(k2);  // the move's own selection is not recorded
    }
    EXPECT_TRUE(history.CanGoBack() && history.CanGoForward());
    EXPECT_EQ(history.StepBack(), k1);
    EXPECT_EQ(history.StepBack(), k1);  // stays at the start
    EXPECT_FALSE(history.CanGoBack());
    EXPECT_EQ(history.StepForward(), k2);
    history.RecordKey(k4);  // drops k3
    EXPECT_EQ(history.Entries(), (std::vector<HistoryEntry>{k1, k2, k4}));
    EXPECT_FALSE(history.CanGoForward());
    history.ClearHistory();
    EXPECT_FALSE(history.CanGoBack() || history.CanGoForward());
}

}  // namespace
}  // namespace hivora
