// Deleted records of real hives. The yarp hives hold small known cases; reglookup-recover, run
// as a black box on every corpus hive it lists records for, must agree with the scan on the
// kind and name of each record both list, and nearly all records must be listed by both. The
// rest differ by design: the peer also lists leftovers whose size word is no cell size, that
// run into a cell in use again, or hold a NUL in their name; records inside such a leftover
// are listed only here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "hive/CorpusSupport.h"
#include "hive/DeletedRecords.h"
#include "hive/HiveSet.h"
#include "hive/HiveTestSupport.h"
#include "support/TextConvert.h"

namespace hivora::test {
namespace {

struct YarpRow {
    const char* hive;
    std::vector<std::string> keyPaths;  // in offset order
};

const YarpRow kYarpRows[] = {
    {"DeletedDataHive", {"456"}},
    {"DeletedTreeHive", {"1\\2\\3\\4\\New Key #1", "1\\2\\3", "1\\2\\3\\4", "1\\2\\3\\4\\5"}},
    {"DeletedTreeNoRootFlagHive",
     {"1\\2\\3\\4\\New Key #1", "1\\2\\3", "1\\2\\3\\4", "1\\2\\3\\4\\5"}},
    {"DeletedTreePartialPathHive", {"?\\3\\4\\New Key #1", "?\\3", "?\\3\\4", "?\\3\\4\\5"}},
};

TEST(DeletedCorpus, YarpDeletedKeysHaveTheirPaths) {
    const auto folder = CorpusFolder();
    if (folder.empty()) {
        GTEST_SKIP() << "HIVORA_CORPUS is not set";
    }
    for (const YarpRow& row : kYarpRows) {
        SCOPED_TRACE(row.hive);
        ASSERT_TRUE(LoadIntoSystemSlot(folder / "yarp" / row.hive));
        const DeletedRecords records = ScanDeletedRecords(*HiveInSlot(HiveSlot::System));
        std::vector<std::string> paths;
        for (size_t i = 0; i < records.Keys().size(); ++i) {
            paths.push_back(DeletedPathText(records.KeyPath(i)));
        }
        EXPECT_EQ(paths, row.keyPaths);
    }
    FreeHiveSet();
}

// One record as reglookup-recover lists it.
struct PeerRecord {
    bool isKey = false;
    std::string name;  // %XX escapes undone
};

// Cell offset -> record, from "OFFSET,LENGTH,KEY|VALUE,PATH,NAME,..." lines; empty when the
// tool fails.
std::map<uint32_t, PeerRecord> PeerRecords(const std::filesystem::path& file) {
    std::map<uint32_t, PeerRecord> records;
    std::istringstream lines(RunTool("reglookup-recover -H", file).value_or(""));
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> fields;
        std::istringstream split(line);
        for (std::string field; std::getline(split, field, ',');) {
            fields.push_back(field);
        }
        if (fields.size() < 5 || (fields[2] != "KEY" && fields[2] != "VALUE")) {
            continue;
        }
        // A record may be listed once per key that once held it.
        PeerRecord& record = records[std::stoul(fields[0], nullptr, 16) - 0x1000];
        record = {fields[2] == "KEY", ""};
        for (size_t i = 0; i < fields[4].size(); ++i) {
            unsigned escaped = 0;
            if (fields[4][i] == '%' && std::sscanf(&fields[4][i + 1], "%2x", &escaped) == 1) {
                record.name.push_back(static_cast<char>(escaped));
                i += 2;
            } else {
                record.name.push_back(fields[4][i]);
            }
        }
    }
    return records;
}

TEST(DeletedCorpus, AgreesWithReglookupRecover) {
    const auto folder = CorpusFolder();
    if (folder.empty()) {
        GTEST_SKIP() << "HIVORA_CORPUS is not set";
    }
    if (!HaveTool("reglookup-recover")) {
        GTEST_SKIP() << "reglookup-recover is not installed";
    }
    size_t same = 0, onlyTheirs = 0, onlyOurs = 0;
    for (const auto& file : CorpusHives(folder)) {
        const std::string name = CorpusName(folder, file);
        if (name.find(".LOG") != std::string::npos || name.find(".log") != std::string::npos) {
            continue;
        }
        const std::map<uint32_t, PeerRecord> theirs = PeerRecords(file);
        if (theirs.empty() || !LoadIntoSystemSlot(file)) {
            continue;
        }
        SCOPED_TRACE(name);
        const DeletedRecords records = ScanDeletedRecords(*HiveInSlot(HiveSlot::System));
        std::map<uint32_t, std::pair<bool, std::u16string>> ours;
        for (const DeletedKey& key : records.Keys()) {
            ours[key.offset] = {true, key.name};
        }
        for (const DeletedValue& value : records.Values()) {
            ours[value.offset] = {false, value.name};
        }
        size_t matched = 0;
        for (const auto& [offset, record] : theirs) {
            const auto found = ours.find(offset);
            if (found == ours.end()) {
                ++onlyTheirs;
                continue;
            }
            ++matched;
            EXPECT_EQ(found->second.first, record.isKey) << std::hex << offset;
            // The peer prints names that are not ASCII as raw bytes.
            const std::u16string& name16 = found->second.second;
            const bool ascii =
                std::all_of(name16.begin(), name16.end(), [](char16_t c) { return c < 0x80; });
            EXPECT_TRUE(!ascii || record.name == ToUtf8(name16)) << std::hex << offset;
        }
        same += matched;
        onlyOurs += ours.size() - matched;
    }
    FreeHiveSet();
    std::printf("  same %zu, only reglookup-recover %zu, only here %zu\n", same, onlyTheirs,
                onlyOurs);
    // About a thousand to one at the time of writing.
    EXPECT_GT(same, 100 * onlyTheirs);
    EXPECT_GT(same, 100 * onlyOurs);
}

}  // namespace
}  // namespace hivora::test
