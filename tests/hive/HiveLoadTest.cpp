#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "hive/HiveFileCheck.h"
#include "hive/HiveTestSupport.h"
#include "support/LittleEndian.h"
#include "support/TempPath.h"

namespace hivora::test {
namespace {

class HiveLoadTest : public HiveSetTest {
protected:
    void TearDown() override {
        HiveSetTest::TearDown();
        std::filesystem::remove_all(folder_);
    }

    std::u16string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        std::filesystem::create_directories(folder_);
        std::ofstream(folder_ / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return ToUtf16((folder_ / name).string());
    }

    const std::filesystem::path folder_ = UniqueTempPath("hivora_load");
};

// Loading decides on the signature alone; the base block check names what else is wrong.
TEST_F(HiveLoadTest, SignatureDecidesLoadingAndTheCheckNamesTheDamage) {
    using P = HiveFileProblem;
    const std::vector<uint8_t> good = HiveBuilder().Build().bytes;
    auto patched = [&](uint32_t at, uint32_t value, bool reseal) {
        std::vector<uint8_t> bytes = good;
        WriteLittleEndian<uint32_t>(bytes, at, value);
        if (reseal) {
            WriteLittleEndian<uint32_t>(bytes, layout::kChecksum, BaseBlockChecksum(bytes));
        }
        return bytes;
    };
    const std::tuple<const char*, std::vector<uint8_t>, P> rows[] = {
        {"built_hive", good, P::None},
        {"wrong_checksum", patched(layout::kChecksum, 0x12345678, false), P::DamagedBaseBlock},
        {"sequence_changed_unsealed", patched(layout::kPrimarySequence, 2, false),
         P::DamagedBaseBlock},
        {"major_version_2", patched(layout::kMajorVersion, 2, true), P::DamagedBaseBlock},
        {"bins_size_unaligned", patched(layout::kHiveBinsDataSize, 0x1001, true),
         P::DamagedBaseBlock},
        {"root_outside_bins", patched(layout::kRootCellOffset, 0x7FFFFFF0, true),
         P::DamagedBaseBlock},
        {"bins_cut_short", {good.begin(), good.end() - 0x800}, P::Truncated},
        {"base_block_cut_short", {good.begin(), good.begin() + 0x200}, P::Truncated},
        {"signature_alone", {'r', 'e', 'g', 'f'}, P::Truncated},
        {"empty_file", {}, P::NotAHive},
        {"three_bytes", {'r', 'e', 'g'}, P::NotAHive},
        {"old_format_registry", {'C', 'R', 'E', 'G', 0, 0, 1, 0}, P::NotAHive},
        {"signature_in_other_case", {'R', 'E', 'G', 'F'}, P::NotAHive},
    };
    for (const auto& [name, bytes, problem] : rows) {
        const HiveFileCheck check = CheckHiveBytes(bytes);
        EXPECT_EQ(check.problem, problem) << name << ": " << check.reason;
        EXPECT_EQ(check.reason.empty(), problem == P::None) << name;
        // Damaged and truncated hives still load, so that what is readable can be shown.
        const int loads = problem == P::NotAHive ? 0 : 1;
        EXPECT_EQ(LoadHiveImage(HiveSlot::System, bytes), loads) << name;
        const std::u16string path = Write(name, bytes);
        std::unique_ptr<HiveImage> image;
        EXPECT_EQ(LoadHiveFile(path.c_str(), image), loads) << name;
        EXPECT_EQ(image != nullptr, loads == 1) << name;
        if (image) {
            EXPECT_EQ(image->LoadReport().path, ToUtf8(path));
            EXPECT_EQ(image->LoadReport().check.problem, problem) << name;
        }
    }
    EXPECT_EQ(CheckHiveBytes(good, kMaxHiveFileSize).problem, P::TooLarge);
    EXPECT_EQ(CheckHiveBytes(good, kMaxHiveFileSize - 1).problem, P::None);

    const std::string missing = (folder_ / "missing").string();
    EXPECT_EQ(CheckHiveFile(missing).problem, P::Unreadable);
    EXPECT_NE(CheckHiveFile(missing).reason.find(missing), std::string::npos);
    EXPECT_EQ(CheckHiveFile(folder_.string()).problem, P::Unreadable);
    std::unique_ptr<HiveImage> image;
    EXPECT_EQ(LoadHiveFile(ToUtf16(missing).c_str(), image), 0);
    EXPECT_EQ(LoadHiveFile(ToUtf16(folder_.string()).c_str(), image), 0);  // a folder
}

}  // namespace
}  // namespace hivora::test
