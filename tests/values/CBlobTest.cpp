#include "values/CBlob.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "support/MyException.h"
#include "support/TempPath.h"

namespace hivora {
namespace {

TEST(CBlob, AppendKeepsContentsAcrossReallocationAndCopies) {
    CBlob blob;
    for (int i = 0; i < 100; ++i) {
        blob.AppendBytes("xyz", 3);
    }
    const CBlob copy(blob);
    ASSERT_EQ(copy.GetSize(), 300u);
    EXPECT_NE(copy.GetData(), blob.GetData());
    EXPECT_EQ(std::memcmp(copy.GetData() + 297, "xyz", 3), 0);
    // Growing past 4 GiB fails without damage.
    EXPECT_THROW(blob.AppendBytes(nullptr, UINT32_MAX), std::bad_alloc);
    EXPECT_EQ(blob.GetSize(), 300u);
}

TEST(CBlob, SaveToFileWritesUsedBytesAndReportsFailure) {
    const auto path = hivora::test::UniqueTempPath("hivora_cblob_test.bin");
    CBlob blob;
    blob.Allocate(100);
    std::memset(blob.GetData(), 'q', 100);
    blob.SetSize(4);
    blob.SaveToFile(path.string());
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "qqqq");
    std::filesystem::remove(path);
    EXPECT_THROW(blob.SaveToFile("/nonexistent-folder/x.bin"), FileError);
}

}  // namespace
}  // namespace hivora
