#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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

TEST_F(FavoriteStoreTest, SectionIsSystemThenUserNameAndEntriesAreNumbered) {
    EXPECT_EQ(FavoritesSection(files_), "C:\\h\\SYSTEMC:\\u\\NTUSER.DAT");
    store_.AddFavorite({"Soft", kLocalMachine, "SOFTWARE"});
    const std::string section = FavoritesSection(files_);
    EXPECT_EQ(settings_.GetProfileString(section, "000N"), "Soft");
    EXPECT_EQ(settings_.GetProfileString(section, "000S"), "SOFTWARE");
    EXPECT_EQ(static_cast<RootKey>(settings_.GetProfileInt(section, "000K", 0)), kLocalMachine);
    EXPECT_EQ(settings_.EntryCount(), 150u);  // all fifty entries are written every time
}

TEST_F(FavoriteStoreTest, OnlyTheFirstFiftyPersist) {
    for (int i = 0; i < 51; ++i) {
        store_.AddFavorite({"f" + std::to_string(i), kUsers, "k"});
    }
    EXPECT_EQ(store_.Count(), 51u);
    FavoriteStore reloaded(settings_, files_);
    EXPECT_EQ(reloaded.Count(), 50u);
}

TEST_F(FavoriteStoreTest, FileSetsWithTheSameSystemAndUserShareFavorites) {
    store_.AddFavorite({"A", kLocalMachine, "x"});
    FileSet other = files_;
    other[HiveSlot::Software] = "/elsewhere/SOFTWARE";
    FavoriteStore sameSection(settings_, other);
    EXPECT_EQ(sameSection.Count(), 1u);
    files_[HiveSlot::NtUser] = "/other/NTUSER.DAT";
    EXPECT_EQ(store_.Count(), 0u);  // the store follows the file set on the next read
    files_[HiveSlot::NtUser] = "C:\\u\\NTUSER.DAT";
    EXPECT_EQ(store_.Count(), 1u);
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


TEST_F(FavoriteStoreTest, FileLinesTakeTheirThreeForms) {
    store_.AddFavorite({"HKEY_LOCAL_MACHINE\\SOFTWARE", kLocalMachine, "SOFTWARE"});
    store_.AddFavorite({"Soft", kLocalMachine, "SOFTWARE"});
    store_.AddFavorite({"Users", kUsers, ""});
    store_.AddFavorite({"Cu", kCurrentUser, "Software\\x"});
    EXPECT_EQ(store_.FormatFavoritesFile(),
              "HKEY_LOCAL_MACHINE\\SOFTWARE\r\n"
              "Soft,HKEY_LOCAL_MACHINE\\SOFTWARE\r\n"
              "Users,HKEY_USERS\\\r\n"
              "Cu,80000001,Software\\x\r\n");
}

TEST_F(FavoriteStoreTest, FileRoundTripAndLineRules) {
    const std::vector<Favorite> saved = {{"HKEY_USERS\\", kUsers, ""},
                                         {"Work", kUsers, "S-1-5-21\\Software"},
                                         {"Cu", kCurrentUser, "Software"}};
    for (const Favorite& favorite : saved) {
        store_.AddFavorite(favorite);
    }
    const auto path = hivora::test::UniqueTempPath("hivora_favorites.txt").string();
    store_.SaveFavoritesToFile(path);
    for (const Favorite& favorite : saved) {
        store_.DeleteFavorite(favorite.name);
    }
    ASSERT_EQ(store_.Count(), 0u);
    EXPECT_EQ(store_.LoadFavoritesFromFile(path), 3u);
    EXPECT_EQ(store_.Favorites(), saved);
    std::filesystem::remove(path);

    MemorySettingsStore settings;
    FavoriteStore fresh(settings, files_);
    EXPECT_EQ(fresh.AddFromFavoritesFile("; comment\r\n\r\na,b,c,d\r\n,,Only,,HKEY_USERS\\k,\n"),
              1u);
    ASSERT_EQ(fresh.Count(), 1u);
    EXPECT_EQ(fresh.Favorites()[0], (Favorite{"Only", kUsers, "k"}));
}

TEST(NavigationHistory, BackForwardAndRecordingFollowTheStateTable) {
    NavigationHistory history;
    const HistoryEntry k1{kLocalMachine, "k1"}, k2{kLocalMachine, "k2"}, k3{kUsers, "k3"},
        k4{kUsers, "k4"};
    EXPECT_FALSE(history.CanGoBack());
    EXPECT_FALSE(history.CanGoForward());
    EXPECT_FALSE(history.StepBack());
    history.RecordKey(k1);
    EXPECT_FALSE(history.CanGoBack());
    EXPECT_FALSE(history.CanGoForward());
    history.RecordKey(k2);
    history.RecordKey(k3);
    EXPECT_TRUE(history.CanGoBack());
    EXPECT_FALSE(history.CanGoForward());
    {
        NavigationHistory::Suspend moving(history);
        EXPECT_EQ(history.StepBack(), k2);
        history.RecordKey(k2);  // the move's own selection is not recorded
    }
    EXPECT_EQ(history.Entries().size(), 3u);
    EXPECT_TRUE(history.CanGoBack());
    EXPECT_TRUE(history.CanGoForward());
    EXPECT_EQ(history.StepBack(), k1);
    EXPECT_FALSE(history.CanGoBack());
    EXPECT_EQ(history.StepBack(), k1);  // stays at the start
    EXPECT_EQ(history.StepForward(), k2);
    history.RecordKey(k4);  // drops k3
    EXPECT_EQ(history.Entries(), (std::vector<HistoryEntry>{k1, k2, k4}));
    EXPECT_FALSE(history.CanGoForward());
    history.RecordKey(k1);  // repeats are recorded
    EXPECT_EQ(history.StepBack(), k4);
    history.ClearHistory();
    EXPECT_FALSE(history.CanGoBack());
    EXPECT_FALSE(history.CanGoForward());
    EXPECT_TRUE(history.Entries().empty());
}

}  // namespace
}  // namespace hivora
