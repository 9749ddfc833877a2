// The worker's one walk against Find Next repeated: the same hits, in the same order, with the
// same end, on a real hive and on damaged ones.
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "hive/CorpusSupport.h"
#include "search/SearchEngine.h"
#include "search/SearchTestSupport.h"

namespace hivora::test {
namespace {

struct HitRun {
    std::vector<SearchResult> hits;
    bool walkCut = false;
    bool operator==(const HitRun&) const = default;
};

// Find Next pressed until nothing more: each search starts at the previous hit.
HitRun FindNextRepeated(SearchCriteria criteria) {
    HitRun run;
    std::set<std::tuple<std::string, std::string, MatchKind, uint32_t>> seen;
    bool cut = false;
    while (auto hit = SearchFrom(criteria, nullptr, &cut)) {
        run.walkCut = run.walkCut || cut;
        if (!seen.emplace(hit->keyPath, hit->valueName, hit->kind, hit->deletedOffset).second) {
            return run;
        }
        run.hits.push_back(*hit);
        criteria.startPath = hit->keyPath;
        criteria.startValue = hit->valueName;
        criteria.startDeletedHive = hit->deletedHive;
        criteria.startDeletedOffset = hit->deletedOffset;
    }
    run.walkCut = run.walkCut || cut;
    return run;
}

HitRun OneWalk(const SearchCriteria& criteria, int* finished = nullptr) {
    SearchControl control;
    RecordingCallback callback;
    SearchWorker(control, callback, criteria);
    if (finished != nullptr) {
        *finished = callback.finished.at(0);
    }
    return {callback.hits, control.WalkCut()};
}

SearchCriteria Text(std::string text, int regex = 0, int matchCase = 0, int whole = 0,
                    int deleted = 0) {
    SearchCriteria criteria = TextCriteria(std::move(text));
    std::tie(criteria.regex, criteria.matchCase, criteria.wholeString, criteria.deleted) =
        std::tie(regex, matchCase, whole, deleted);
    return criteria;
}

// Sibling keys and values whose names differ in case alone, and a name holding a backslash:
// where a search starting at a hit does not resume right after it.
BuiltHive DuplicateNames() {
    HiveBuilder b;
    const auto apps = b.AddKey(HiveBuilder::kRoot, u"Apps");
    for (const char16_t* name : {u"Run", u"Other", u"RUN"}) {
        const auto key = b.AddKey(apps, name);
        b.AddString(key, u"Entry", name);
        b.AddString(key, u"entry", u"run again");
        b.AddKey(key, u"Runner");
    }
    b.AddKey(b.AddKey(HiveBuilder::kRoot, u"a\\run"), u"run");
    return b.Build();
}

// Two keys on each of 12 levels, the second sharing the first's subkey list: 2^13 paths with
// distinct names, more than so small a hive's budget lets one walk enumerate.
BuiltHive SharedListsBeyondTheBudget() {
    HiveBuilder b;
    std::vector<std::pair<HiveBuilder::KeyId, HiveBuilder::KeyId>> levels;
    for (auto parent = HiveBuilder::kRoot; levels.size() < 12; parent = levels.back().first) {
        levels.emplace_back(b.AddKey(parent, u"a"), b.AddKey(parent, u"b"));
        b.AddString(levels.back().second, u"v", levels.size() == 12 ? u"deep needle" : u"plain");
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
    static void ExpectFindNextHits(const std::vector<SearchCriteria>& table) {
        for (const SearchCriteria& criteria : table) {
            const HitRun expected = FindNextRepeated(criteria);
            EXPECT_TRUE(OneWalk(criteria) == expected)
                << criteria.text << " (by date: " << criteria.byDate << "), "
                << expected.hits.size() << " hits expected";
        }
    }
};

TEST_F(SearchEveryHit, GivesTheHitsOfFindNextRepeatedOnDamagedHives) {
    for (const auto& build : {DuplicateNames, SharedListsBeyondTheBudget}) {
        FreeHiveSet();
        Load(HiveSlot::Software, build());
        ExpectFindNextHits(
            {Text("run"), Text("RUN", 0, 1), Text("^run$", 1), Text("Run", 0, 0, 1), Text("needle"),
             Text("zzz"), Text("a|b", 1), EveryKeyByDate(),
             TextCriteria("run", "HKEY_LOCAL_MACHINE\\software\\Apps\\RUN", "entry")});
    }
}

TEST_F(SearchEveryHit, GivesTheHitsOfFindNextRepeatedOnARealHive) {
    const std::filesystem::path folder = CorpusFolder();
    if (folder.empty() || !LoadIntoSystemSlot(folder / "regipy" / "NTUSER.DAT")) {
        GTEST_SKIP() << "no corpus";
    }
    ExpectFindNextHits({Text("e"), Text("Microsoft", 0, 1), Text("^[a-c].*s$", 1, 0, 1),
                        EveryKeyByDate(), Text("s", 0, 0, 0, 1)});
}

TEST_F(SearchEveryHit, HitsCarryTimeAndPreviewAndATooComplexPatternStops) {
    HiveBuilder b;
    const auto key = b.AddKey(HiveBuilder::kRoot, u"Key");
    b.SetLastWrite(key, 7);
    b.AddString(key, u"a1", std::u16string(150, u'\u00e9') + u"a");
    b.AddString(key, u"x3", std::u16string(40, u'a') + u"!");
    Load(HiveSlot::Software, b);
    int finished = -1;
    const std::vector<SearchResult> hits = OneWalk(Text("^(a+)+\\d?$", 1), &finished).hits;
    EXPECT_EQ(finished, kSearchPatternTooComplex);
    ASSERT_EQ(hits.size(), 1u);                    // the name a1; x3's data stops the search
    EXPECT_EQ(hits[0].data.size(), 100 * 2 + 3u);  // cut after 100 characters, not bytes
    EXPECT_TRUE(hits[0].data.ends_with("\u00e9\u2026"));
    EXPECT_EQ(hits[0].lastWrite, 7u);
}

}  // namespace
}  // namespace hivora::test
