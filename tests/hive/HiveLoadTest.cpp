#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "hive/HiveTestSupport.h"

namespace hivora::test {
namespace {

class HiveLoadTest : public HiveSetTest {
protected:
    void SetUp() override {
        HiveSetTest::SetUp();
        folder_ =
            std::filesystem::temp_directory_path() / ("hivora-load-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override {
        HiveSetTest::TearDown();
        std::filesystem::remove_all(folder_);
    }

    std::u16string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        const auto path = folder_ / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return ToUtf16(path.string());
    }

    std::filesystem::path folder_;
};

TEST_F(HiveLoadTest, OnlyFilesThatBeginWithTheSignatureLoad) {
    struct Row {
        const char* name;
        std::vector<uint8_t> bytes;
        int loaded;
    };
    const Row rows[] = {
        {"empty_file", {}, 0},
        {"three_bytes", {'r', 'e', 'g'}, 0},
        {"signature_alone", {'r', 'e', 'g', 'f'}, 1},
        {"signature_then_anything", {'r', 'e', 'g', 'f', 0xFF, 0x00}, 1},
        {"old_format_registry", {'C', 'R', 'E', 'G', 0, 0, 1, 0}, 0},
        {"signature_in_other_case", {'R', 'E', 'G', 'F'}, 0},
    };
    for (const Row& row : rows) {
        const std::u16string path = Write(row.name, row.bytes);
        std::unique_ptr<HiveImage> image;
        EXPECT_EQ(LoadHiveFile(path.c_str(), image), row.loaded) << row.name;
        EXPECT_EQ(image != nullptr, row.loaded == 1) << row.name;
    }
    std::unique_ptr<HiveImage> image;
    EXPECT_EQ(LoadHiveFile(ToUtf16((folder_ / "missing").string()).c_str(), image), 0);
    EXPECT_EQ(LoadHiveFile(ToUtf16(folder_.string()).c_str(), image), 0);  // a folder
}

TEST_F(HiveLoadTest, LoadingASetReplacesThePreviousOne) {
    const std::u16string hive = Write("hive", HiveBuilder().Build().bytes);
    const std::u16string junk = Write("junk", {'n', 'o', 'p', 'e'});
    ASSERT_EQ(LoadHiveSet(hive.c_str(), nullptr, hive.c_str(), u"", nullptr, nullptr, nullptr,
                          hive.c_str()),
              1);
    EXPECT_EQ(SubkeyNames(HKEY_LOCAL_MACHINE),
              (std::vector<std::u16string>{u"software", u"system", u"BCD00000000"}));

    // Only the user hive loads: the machine root lists nothing any more.
    EXPECT_EQ(LoadHiveSet(junk.c_str(), hive.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr,
                          nullptr),
              1);
    EXPECT_TRUE(SubkeyNames(HKEY_LOCAL_MACHINE).empty());
    EXPECT_EQ(SubkeyNames(HKEY_USERS), std::vector<std::u16string>{u"NTUSER"});

    // Nothing loads: every slot is empty afterwards, also those that held images.
    EXPECT_EQ(LoadHiveSet(junk.c_str(), junk.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr,
                          nullptr),
              0);
    for (int slot = 0; slot < kHiveSlotCount; ++slot) {
        EXPECT_EQ(HiveInSlot(static_cast<HiveSlot>(slot)), nullptr) << slot;
    }
}

}  // namespace
}  // namespace hivora::test
