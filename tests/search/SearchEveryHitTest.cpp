// The worker's one walk against Find Next repeated: the same hits, in the same order, with the
// same end, on real hives and on damaged ones.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <tuple>

#include "hive/CorpusSupport.h"
#include "search/SearchEngine.h"
#include "search/SearchTestSupport.h"
#include "search/TextPattern.h"

namespace hivora::test {
namespace {

struct HitRun {
    std::vector<std::string> hits;  // every field of each hit
    bool walkCut = false;
};

std::string Fields(const SearchResult& hit) {
    return std::to_string(static_cast<int>(hit.kind)) + " " + hit.keyPath + ":" + hit.valueName +
           " " + std::to_string(hit.lastWrite) + " " + std::to_string(hit.deletedOffset) + " " +
           hit.data;
}

// Find Next pressed until nothing more: each search starts at the previous hit.
HitRun FindNextRepeated(SearchCriteria criteria) {
    HitRun run;
    std::set<std::tuple<std::string, std::string, MatchKind, uint32_t>> reported;
    for (;;) {
        bool cut = false;
        const std::optional<SearchResult> hit = SearchFrom(criteria, nullptr, &cut);
        run.walkCut = run.walkCut || cut;
        if (!hit ||
            !reported.emplace(hit->keyPath, hit->valueName, hit->kind, hit->deletedOffset).second) {
            return run;
        }
        run.hits.push_back(Fields(*hit));
        criteria.startPath = hit->keyPath;
        criteria.startValue = hit->valueName;
        criteria.startDeletedHive = hit->deletedHive;
        criteria.startDeletedOffset = hit->deletedOffset;
    }
}

HitRun OneWalk(const SearchCriteria& criteria) {
    SearchControl control;
    RecordingCallback callback;
    SearchWorker(control, callback, criteria);
    HitRun run{{}, control.WalkCut()};
    for (const SearchResult& hit : callback.hits) {
        run.hits.push_back(Fields(hit));
    }
    return run;
}

SearchCriteria Text(std::string text, int regex = 0, int matchCase = 0, int whole = 0) {
    SearchCriteria criteria = TextCriteria(std::move(text));
    criteria.regex = regex;
    criteria.matchCase = matchCase;
    criteria.wholeString = whole;
    return criteria;
}

SearchCriteria EveryKeyByDate() {
    SearchCriteria criteria;
    criteria.byDate = 1;
    criteria.afterOn = criteria.beforeOn = 0;
    return criteria;
}

// Siblings whose names differ in case alone, at two levels and among values, and a name
// holding a backslash: the places where a resumed search does not come back to its hit.
BuiltHive DuplicateNames() {
    HiveBuilder b;
    const auto apps = b.AddKey(HiveBuilder::kRoot, u"Apps");
    for (const char16_t* name : {u"HitRun", u"Other", u"RUN"}) {
        const auto key = b.AddKey(apps, name);
        b.AddString(key, u"Entry", name);
        b.AddString(key, u"entry", u"run again");
        b.AddKey(key, u"Runner");
    }
    b.AddKey(b.AddKey(HiveBuilder::kRoot, u"a\\run"), u"run");
    b.AddString(b.AddKey(HiveBuilder::kRoot, u"apps"), u"", u"run last");
    return b.Build();
}

// Two keys on each of 12 levels, the second sharing the first's subkey list: 2^13 paths with
// distinct names, more than the budget of so small a hive lets one walk enumerate.
BuiltHive SharedListsBeyondTheBudget() {
    HiveBuilder b;
    std::vector<std::pair<HiveBuilder::KeyId, HiveBuilder::KeyId>> levels;
    HiveBuilder::KeyId parent = HiveBuilder::kRoot;
    for (int level = 0; level < 12; ++level) {
        const auto a = b.AddKey(parent, u"a");
        const auto other = b.AddKey(parent, u"b");
        b.AddString(other, u"v", level == 11 ? u"deep needle" : u"plain");
        levels.emplace_back(a, other);
        parent = a;
    }
    BuiltHive hive = b.Build();
    for (size_t level = 0; level + 1 < levels.size(); ++level) {
        const auto [a, other] = levels[level];
        hive.PutU32(hive.keys[other].key, field::kKeySubkeyList, hive.keys[a].subkeyList);
        hive.PutU32(hive.keys[other].key, field::kKeySubkeyCount, 2);
    }
    return hive;
}

class SearchEveryHit : public LoadedHivesTest {
protected:
    void ExpectSameAsFindNext(const std::vector<SearchCriteria>& table) {
        for (const SearchCriteria& criteria : table) {
            SCOPED_TRACE(criteria.byDate ? std::string("by date") : criteria.text);
            const HitRun expected = FindNextRepeated(criteria);
            const HitRun actual = OneWalk(criteria);
            EXPECT_EQ(actual.hits, expected.hits);
            EXPECT_EQ(actual.walkCut, expected.walkCut);
        }
    }
};

TEST_F(SearchEveryHit, GivesTheHitsOfFindNextRepeatedOnDamagedHives) {
    const std::vector<SearchCriteria> table = {
        Text("run"),
        Text("RUN", 0, 1),
        Text("^run$", 1),
        Text("HitRun", 0, 0, 1),
        Text("needle"),
        Text("zzz"),
        Text("a|b", 1),
        EveryKeyByDate(),
        TextCriteria("run", "HKEY_LOCAL_MACHINE\\software\\Apps\\RUN", "entry"),
    };
    for (const auto& build : {DuplicateNames, SharedListsBeyondTheBudget}) {
        FreeHiveSet();
        Load(HiveSlot::Software, build());
        ExpectSameAsFindNext(table);
    }
}

TEST_F(SearchEveryHit, GivesTheHitsOfFindNextRepeatedOnARealHive) {
    const std::filesystem::path folder = CorpusFolder();
    if (folder.empty() || !LoadIntoSystemSlot(folder / "regipy" / "NTUSER.DAT")) {
        GTEST_SKIP() << "no corpus";
    }
    ExpectSameAsFindNext(
        {Text("e"), Text("Microsoft", 0, 1), Text("^[a-c].*s$", 1, 0, 1), EveryKeyByDate()});
}

TEST_F(SearchEveryHit, HitsCarryTheKeyTimeAndAShortDataPreview) {
    HiveBuilder b;
    const auto key = b.AddKey(HiveBuilder::kRoot, u"Key");
    b.SetLastWrite(key, 133'000'000'000'000'000);
    b.AddString(key, u"long", std::u16string(150, u'\u00e9'));
    b.AddDword(key, u"longish", 1);
    Load(HiveSlot::Software, b);
    SearchControl control;
    RecordingCallback callback;
    SearchWorker(control, callback, Text("long"));
    const std::vector<SearchResult>& hits = callback.hits;
    ASSERT_EQ(hits.size(), 2u);
    std::string shown;
    for (int i = 0; i < 100; ++i) {
        shown += "\u00e9";
    }
    EXPECT_EQ(hits[0].data, shown + "\u2026");
    EXPECT_EQ(hits[1].data, "0x00000001 (1)");
    EXPECT_EQ(hits[0].lastWrite, 133'000'000'000'000'000u);
    EXPECT_EQ(hits[1].lastWrite, 133'000'000'000'000'000u);
}

TEST_F(SearchEveryHit, APatternBeyondItsLimitsStopsTheSearch) {
    HiveBuilder b;
    const auto key = b.AddKey(HiveBuilder::kRoot, u"Key");
    b.AddString(key, u"first", u"aaa");
    b.AddString(key, u"second", std::u16string(40, u'a') + u"!");
    b.AddString(key, u"third", u"aaa");
    Load(HiveSlot::Software, b);
    SearchControl control;
    RecordingCallback callback;
    SearchWorker(control, callback, Text("^(a+)+$", 1));
    EXPECT_EQ(callback.Lines(),
              std::vector<std::string>{"ValueData HKEY_LOCAL_MACHINE\\software\\Key:first"});
    EXPECT_EQ(callback.finished, std::vector<int>{kSearchPatternTooComplex});
    // An invalid pattern finds nothing.
    EXPECT_EQ(AllHits(Text("(", 1)), std::vector<std::string>{});
}

}  // namespace
}  // namespace hivora::test
