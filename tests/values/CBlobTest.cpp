#include "values/CBlob.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/MyException.h"
#include "support/TempPath.h"

namespace hivora {
namespace {

TEST(CBlob, GrowthFollowsTheCapacityRules) {
    CBlob blob;
    EXPECT_EQ(blob.GetCapacity(), 0u);
    EXPECT_EQ(blob.GetData(), nullptr);

    blob.Allocate(3);  // at least 8
    EXPECT_EQ(blob.GetSize(), 3u);
    EXPECT_EQ(blob.GetCapacity(), 8u);
    blob.Allocate(100);  // n + n/4
    EXPECT_EQ(blob.GetCapacity(), 125u);

    blob.AppendBytes(nullptr, 25);  // fits exactly
    EXPECT_EQ(blob.GetCapacity(), 125u);
    blob.AppendBytes(nullptr, 5);  // 130/3 + 130
    EXPECT_EQ(blob.GetSize(), 130u);
    EXPECT_EQ(blob.GetCapacity(), 173u);

    blob.SetSize(10);
    EXPECT_EQ(blob.GetSize(), 10u);
    EXPECT_EQ(blob.GetCapacity(), 173u);

    blob.Free();
    EXPECT_EQ(blob.GetSize(), 0u);
    EXPECT_EQ(blob.GetCapacity(), 0u);
    EXPECT_EQ(blob.GetData(), nullptr);
}

TEST(CBlob, AppendKeepsContentsAcrossReallocation) {
    CBlob blob;
    blob.AppendBytes("abc", 3);  // first append starts from Allocate(0)
    EXPECT_EQ(blob.GetCapacity(), 8u);
    blob.AppendBytes(nullptr, 0);
    for (int i = 0; i < 100; ++i) {
        blob.AppendBytes("xyz", 3);
    }
    ASSERT_EQ(blob.GetSize(), 303u);
    EXPECT_EQ(std::memcmp(blob.GetData(), "abcxyzxyz", 9), 0);
    EXPECT_EQ(std::memcmp(blob.GetData() + 300, "xyz", 3), 0);

    const CBlob copy(blob);
    ASSERT_EQ(copy.GetSize(), 303u);
    EXPECT_NE(copy.GetData(), blob.GetData());
    EXPECT_EQ(std::memcmp(copy.GetData(), blob.GetData(), 303), 0);
}

TEST(CBlob, GrowingPast4GiBFailsWithoutDamage) {
    CBlob blob;
    blob.AppendBytes("ab", 2);
    EXPECT_THROW(blob.AppendBytes(nullptr, UINT32_MAX), std::bad_alloc);
    EXPECT_EQ(blob.GetSize(), 2u);
    EXPECT_EQ(std::memcmp(blob.GetData(), "ab", 2), 0);
}

TEST(CBlob, SerializeRoundTripAndShortArchive) {
    CBlob blob;
    blob.AppendBytes("\x01\x02\x03", 3);
    std::stringstream archive;
    blob.Serialize(archive);
    EXPECT_EQ(archive.str(), std::string("\x03\x00\x00\x00\x01\x02\x03", 7));

    CBlob back;
    back.Deserialize(archive);
    ASSERT_EQ(back.GetSize(), 3u);
    EXPECT_EQ(std::memcmp(back.GetData(), "\x01\x02\x03", 3), 0);

    // A damaged size that claims more than the archive holds.
    std::stringstream shortArchive(std::string("\xFF\xFF\xFF\x7F\x01", 5));
    EXPECT_THROW(back.Deserialize(shortArchive), FileError);
    EXPECT_EQ(back.GetSize(), 0u);
}

TEST(CBlob, SaveToFileWritesUsedBytesAndReportsFailure) {
    const auto path = hivora::test::UniqueTempPath("hivora_cblob_test.bin");
    CBlob blob;
    blob.Allocate(100);
    std::memset(blob.GetData(), 'q', 100);
    blob.SetSize(4);
    blob.SaveToFile(path.string());
    std::ifstream in(path, std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(written, "qqqq");
    std::filesystem::remove(path);

    try {
        blob.SaveToFile("/nonexistent-folder/x.bin");
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Unable to open /nonexistent-folder/x.bin: No such file or directory");
    }
}

}  // namespace
}  // namespace hivora
