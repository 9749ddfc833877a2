#include "values/CBlob.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "support/MyException.h"
#include "support/TempPath.h"

namespace hivora {
namespace {

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
