#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "hive/HiveFileCheck.h"
#include "hive/HiveTestSupport.h"
#include "support/LittleEndian.h"

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

// One good base block, one field broken per row.
TEST(HiveFileCheck, NamesWhatIsWrongWithTheBaseBlock) {
    using P = HiveFileProblem;
    const std::vector<uint8_t> good = HiveBuilder().Build().bytes;
    auto patched = [&](uint32_t at, uint32_t value) {
        std::vector<uint8_t> bytes = good;
        WriteLittleEndian<uint32_t>(bytes, at, value);
        return bytes;
    };
    auto resealed = [&](uint32_t at, uint32_t value) {
        std::vector<uint8_t> bytes = patched(at, value);
        WriteLittleEndian<uint32_t>(bytes, layout::kChecksum, BaseBlockChecksum(bytes));
        return bytes;
    };
    struct Row {
        const char* name;
        std::vector<uint8_t> bytes;
        P problem;
    };
    const Row rows[] = {
        {"built_hive", good, P::None},
        {"wrong_checksum", patched(layout::kChecksum, 0x12345678), P::DamagedBaseBlock},
        {"sequence_changed_unsealed", patched(layout::kPrimarySequence, 2), P::DamagedBaseBlock},
        {"major_version_2", resealed(layout::kMajorVersion, 2), P::DamagedBaseBlock},
        {"bins_size_unaligned", resealed(layout::kHiveBinsDataSize, 0x1001), P::DamagedBaseBlock},
        {"root_outside_bins", resealed(layout::kRootCellOffset, 0x7FFFFFF0), P::DamagedBaseBlock},
        {"bins_cut_short", {good.begin(), good.end() - 0x800}, P::Truncated},
        {"base_block_cut_short", {good.begin(), good.begin() + 0x200}, P::Truncated},
        {"not_regf", {'r', 'e', 'g', 'x'}, P::NotAHive},
    };
    for (const Row& row : rows) {
        const HiveFileCheck check = CheckHiveBytes(row.bytes);
        EXPECT_EQ(check.problem, row.problem) << row.name << ": " << check.reason;
        EXPECT_EQ(check.reason.empty(), row.problem == P::None) << row.name;
        // Damaged and truncated hives still load, so that what is readable can be shown.
        EXPECT_EQ(LoadHiveImage(HiveSlot::System, row.bytes), row.problem == P::NotAHive ? 0 : 1)
            << row.name;
    }
    FreeHiveSet();
    EXPECT_EQ(CheckHiveBytes(good, kMaxHiveFileSize).problem, P::TooLarge);
    EXPECT_EQ(CheckHiveBytes(good, kMaxHiveFileSize - 1).problem, P::None);
}

TEST_F(HiveLoadTest, FileCheckNamesTheFileAndLoadKeepsTheReport) {
    const std::string missing = (folder_ / "missing").string();
    const HiveFileCheck check = CheckHiveFile(missing);
    EXPECT_EQ(check.problem, HiveFileProblem::Unreadable);
    EXPECT_NE(check.reason.find(missing), std::string::npos) << check.reason;
    EXPECT_EQ(CheckHiveFile(folder_.string()).problem, HiveFileProblem::Unreadable);

    std::vector<uint8_t> bytes = HiveBuilder().Build().bytes;
    bytes[layout::kChecksum] ^= 1;
    const std::u16string path = Write("damaged", bytes);
    EXPECT_EQ(CheckHiveFile(ToUtf8(path)).problem, HiveFileProblem::DamagedBaseBlock);
    std::unique_ptr<HiveImage> image;
    ASSERT_EQ(LoadHiveFile(path.c_str(), image), 1);
    EXPECT_EQ(image->LoadReport().path, ToUtf8(path));
    EXPECT_EQ(image->LoadReport().check.problem, HiveFileProblem::DamagedBaseBlock);
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
