// Every corpus hive with logs beside it, replayed: the yarp hives as Windows itself recovered
// them, their bad logs refused, all other real logs applied to their last entry.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>

#include "hive/CorpusSupport.h"
#include "hive/HiveTestSupport.h"
#include "hive/LogReplay.h"
#include "hive/TreeWalk.h"

namespace hivora::test {
namespace {

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every key path, value name, type and data of an image, in walk order.
std::vector<std::u16string> Dump(const std::vector<uint8_t>& image) {
    std::vector<std::u16string> lines;
    RegKey root;
    if (LoadHiveImage(HiveSlot::System, image.data(), image.size()) == 1) {
        root = OpenRegKey(HKEY_LOCAL_MACHINE, u"system");
    }
    if (root) {
        WalkTree(root.get(), {[&](const std::u16string& path, int) { lines.push_back(path); },
                              [&](const std::u16string& path, const WalkedValue& value) {
                                  lines.push_back(path + u"|" + value.name + u"|" +
                                                  static_cast<char16_t>(value.type));
                                  lines.back().append(value.data.begin(), value.data.end());
                              }});
    }
    return lines;
}

struct Expected {
    const char* reasonPart;     // non-empty: the logs are refused for this reason
    const char* windowsResult;  // what Windows made of the hive and its logs, beside it
};
const std::map<std::string, Expected> kYarp = {
    {"yarp/NewDirtyHive1/NewDirtyHive", {"", "RecoveredHive_Windows10"}},
    {"yarp/OldDirtyHive/OldDirtyHive", {"", "RecoveredHive_Windows7"}},
    {"yarp/BadLogHive1/BadLogHive", {"LOG1: base block checksum is wrong", ""}},
    {"yarp/BadLogHive2/BadLogHive", {"no dirty page bitmap", ""}},
    {"yarp/BadLogHive3/BadLogHive", {"LOG2: base block checksum is wrong", ""}},
};

TEST(LogReplayCorpusTest, EveryHiveWithLogsReplays) {
    const auto corpus = CorpusFolder();
    if (corpus.empty()) {
        GTEST_SKIP() << "HIVORA_CORPUS is not set or names no folder; corpus tests skipped";
    }
    UseHiveEngine();
    size_t withLogs = 0;
    for (const auto& file : CorpusHives(corpus)) {
        const auto logs = ReadTransactionLogs(file);
        if (logs.empty()) {
            continue;
        }
        ++withLogs;
        const std::string name = CorpusName(corpus, file);
        SCOPED_TRACE(name);
        const auto found = kYarp.find(name);
        const Expected expected = found != kYarp.end() ? found->second : Expected{"", ""};
        const std::vector<uint8_t> original = ReadBytes(file);
        std::vector<uint8_t> image = original;
        const auto report = ReplayTransactionLogs(image, logs);

        EXPECT_EQ(report.baseBlockRecovered, name.starts_with("yarp/BadBaseBlockHive"));
        if (*expected.reasonPart) {
            EXPECT_EQ(report.state, LogReplayReport::State::NotApplied);
            EXPECT_NE(report.reason.find(expected.reasonPart), std::string::npos) << report.reason;
            EXPECT_EQ(image, original);
            continue;
        }
        // Real logs replay to their last entry: a stop there means a rule is too strict.
        EXPECT_NE(report.state, LogReplayReport::State::NotApplied) << report.reason;
        EXPECT_EQ(report.reason, "");
        EXPECT_FALSE(IsHiveDirty(image));
        if (*expected.windowsResult) {
            EXPECT_NE(Dump(image), Dump(original));
            EXPECT_EQ(Dump(image), Dump(ReadBytes(file.parent_path() / expected.windowsResult)));
        }
    }
    EXPECT_GE(withLogs, 30u);
    FreeHiveSet();
}

}  // namespace
}  // namespace hivora::test
