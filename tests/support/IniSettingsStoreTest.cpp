#include "support/IniSettingsStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include "support/TempPath.h"

namespace hivora {
namespace {

TEST(IniSettingsStore, AnySectionEntryAndValueRoundTripThroughTheFile) {
    const auto path = hivora::test::UniqueTempPath("hivora_ini") / "settings.ini";
    std::filesystem::remove_all(path.parent_path());
    const std::string awkward[] = {"",
                                   "C:\\h\\SYSTEMC:\\u\\NTUSER.DAT",
                                   "/a/b:c",
                                   "[x]=;%20",
                                   "line\r\nbreak",
                                   "\u00e9t\u00e9"};
    {
        IniSettingsStore store(path.string());
        for (const std::string& text : awkward) {
            store.WriteProfileString(text, text, text);
        }
        store.WriteProfileInt("n", "root", static_cast<int>(0x80000002u));
    }
    IniSettingsStore reread(path.string());
    for (const std::string& text : awkward) {
        EXPECT_EQ(reread.GetProfileString(text, text, "missing"), text);
    }
    EXPECT_EQ(static_cast<uint32_t>(reread.GetProfileInt("n", "root", 0)), 0x80000002u);
    EXPECT_EQ(reread.GetProfileInt("n", "absent", 7), 7);
    EXPECT_EQ(reread.GetProfileString("absent", "x", "default"), "default");
    std::filesystem::remove_all(path.parent_path());
}

}  // namespace
}  // namespace hivora
