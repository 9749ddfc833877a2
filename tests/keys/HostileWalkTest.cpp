// Every client of the registry walk on damaged and hostile hives: export, statistics, search and
// a timeline-style listing must each walk the same keys, end, and say when the walk was cut.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "cli/CliTestSupport.h"
#include "export/RegistryExport.h"
#include "hive/HiveTestSupport.h"
#include "keys/RegistryWalker.h"
#include "search/SearchEngine.h"
#include "search/SearchTestSupport.h"

namespace hivora::test {
namespace {

using Paths = std::vector<std::string>;
const std::string kSys = "HKEY_LOCAL_MACHINE\\system";

// Child's subkey list names Top, its own ancestor.
BuiltHive ListNamesItsOwnAncestor() {
    HiveBuilder b;
    const auto top = b.AddKey(HiveBuilder::kRoot, u"Top");
    const auto child = b.AddKey(top, u"Child");
    b.AddKey(child, u"Loop");
    BuiltHive hive = b.Build();
    hive.PutU32(hive.keys[child].subkeyList, field::kListElements, hive.keys[top].key);
    return hive;
}

// B's record points at A's subkey list, as in a damaged hive: the tree shows B\Sub too.
BuiltHive TwoKeysShareASubkeyList() {
    HiveBuilder b;
    const auto a = b.AddKey(HiveBuilder::kRoot, u"A");
    b.AddKey(b.AddKey(a, u"Sub"), u"Deep");
    const auto other = b.AddKey(HiveBuilder::kRoot, u"B");
    b.AddKey(other, u"Gone");
    BuiltHive hive = b.Build();
    hive.PutU32(hive.keys[other].key, field::kKeySubkeyList, hive.keys[a].subkeyList);
    return hive;
}

BuiltHive ChainDeeperThanAnyRegistry() {
    HiveBuilder b;
    auto key = HiveBuilder::kRoot;
    for (int i = 0; i < 600; ++i) {
        key = b.AddKey(key, u"d");
    }
    return b.Build();
}

// Each level's list names the next key twice: 2^40 paths in a hive of a few kilobytes.
BuiltHive EveryLevelNamesItsChildTwice() {
    HiveBuilder b;
    std::vector<HiveBuilder::KeyId> chain{HiveBuilder::kRoot};
    for (int i = 0; i < 40; ++i) {
        chain.push_back(b.AddKey(chain.back(), u"x"));
    }
    BuiltHive hive = b.Build();
    for (size_t i = 0; i + 1 < chain.size(); ++i) {
        const uint32_t next = hive.keys[chain[i + 1]].key;
        const uint32_t twice[] = {next, next};
        const uint32_t list = hive.AppendList("li", twice);
        hive.PutU32(hive.keys[chain[i]].key, field::kKeySubkeyList, list);
        hive.PutU32(hive.keys[chain[i]].key, field::kKeySubkeyCount, 2);
    }
    return hive;
}

std::string Repeat(const std::string& part, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += part;
    }
    return out;
}

struct Fixture {
    const char* name;
    std::function<BuiltHive()> build;
    Paths expected;        // the keys walked below HKEY_LOCAL_MACHINE, in walk order
    uint64_t keysCounted;  // enumerated keys (also those not walked)
};

std::vector<Fixture> Fixtures() {
    Paths deep{kSys};
    for (int level = 1; level <= 511; ++level) {
        deep.push_back(kSys + Repeat("\\d", level));
    }
    return {
        {"list_names_its_own_ancestor",
         ListNamesItsOwnAncestor,
         {kSys, kSys + "\\Top", kSys + "\\Top\\Child"},
         4},
        {"two_keys_share_a_subkey_list",
         TwoKeysShareASubkeyList,
         {kSys, kSys + "\\A", kSys + "\\A\\Sub", kSys + "\\A\\Sub\\Deep", kSys + "\\B",
          kSys + "\\B\\Sub", kSys + "\\B\\Sub\\Deep"},
         7},
        {"chain_deeper_than_any_registry", ChainDeeperThanAnyRegistry, deep, 513},
    };
}

// The timeline-style client: every key with its last-write time, in walk order.
class Listing : public WalkVisitor {
public:
    WalkStep Enter(const WalkedKey& key) override {
        if (key.reach == KeyReach::Open && key.depth > 0) {
            paths.emplace_back(key.path);
        }
        return WalkStep::Descend;
    }
    Paths paths;
};

Paths ExportedKeys(RegistryCounters& counters) {
    ExportOutput out;
    WriteRegistryExport(ExportStyle::Reg, "", out, counters);
    Paths paths;
    const std::string& text = out.Text();
    for (size_t at = text.find("\n[HKEY_LOCAL_MACHINE\\"); at != std::string::npos;
         at = text.find("\n[HKEY_LOCAL_MACHINE\\", at + 1)) {
        paths.push_back(text.substr(at + 2, text.find(']', at) - at - 2));
    }
    return paths;
}

class HostileWalk : public HiveSetTest {};

TEST_F(HostileWalk, EveryClientWalksTheKeysTheTreeShows) {
    for (const Fixture& fixture : Fixtures()) {
        SCOPED_TRACE(fixture.name);
        FreeHiveSet();
        Load(HiveSlot::System, fixture.build());

        RegistryCounters exported;
        EXPECT_EQ(ExportedKeys(exported), fixture.expected);
        EXPECT_EQ(exported.keys, fixture.keysCounted);

        const RegistryCounters counted = CountRegistry();
        EXPECT_EQ(counted.keys, fixture.keysCounted);
        EXPECT_EQ(counted.values, exported.values);
        EXPECT_FALSE(counted.walkCut || exported.walkCut);

        Paths searched;
        for (const std::string& line : AllHits(EveryKeyByDate())) {
            searched.push_back(line.substr(line.find(' ') + 1));
        }
        EXPECT_EQ(searched, fixture.expected);

        Listing listing;
        EXPECT_TRUE(RegistryWalker().Walk(HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", listing));
        EXPECT_EQ(listing.paths, fixture.expected);
    }
}

TEST_F(HostileWalk, SharingThatBlowsUpSpendsTheBudgetAndSaysSo) {
    Load(HiveSlot::System, EveryLevelNamesItsChildTwice());

    RegistryCounters exported;
    const size_t walked = ExportedKeys(exported).size();
    EXPECT_TRUE(exported.walkCut);
    EXPECT_GT(walked, 40u);  // the walk went on as far as the budget allowed
    EXPECT_LT(walked, 100000u);
    EXPECT_NE(FormatExportCompletion(0, exported).find(kWalkBudgetSpentText), std::string::npos);

    EXPECT_TRUE(CountRegistry().walkCut);

    bool cut = false;
    SearchCriteria nothing;
    nothing.text = "no such name";
    EXPECT_FALSE(SearchFrom(nothing, nullptr, &cut));
    EXPECT_TRUE(cut);
    SearchControl control;
    RecordingCallback callback;
    SearchWorker(control, callback, nothing);
    EXPECT_TRUE(control.WalkCut());
    EXPECT_EQ(callback.finished, std::vector<int>{kSearchNothingFound});

    RegistryWalker walker;
    Listing listing;
    EXPECT_FALSE(walker.Walk(HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", listing));
    EXPECT_TRUE(walker.Exhausted());
    EXPECT_FALSE(walker.Walk(HKEY_USERS, "HKEY_USERS", listing));  // a spent budget stays spent
}

class HostileWalkCli : public CliTest {};

TEST_F(HostileWalkCli, ACutWalkIsAnError) {
    const BuiltHive hive = EveryLevelNamesItsChildTwice();
    const std::string file =
        WriteBytes("SYSTEM", std::string(hive.bytes.begin(), hive.bytes.end()));
    const std::vector<std::vector<std::string>> commands = {
        {"stats"}, {"export-reg"}, {"search", "no such name"}};
    for (std::vector<std::string> command : commands) {
        const std::string name = command.front();
        command.insert(command.begin(), {"--system", file});
        const CliRun run = Run(command);
        EXPECT_EQ(run.status, 2) << name;
        EXPECT_NE(run.err.find("hivora-cli: " + std::string(kWalkBudgetSpentText)),
                  std::string::npos)
            << name << ": " << run.err;
    }
}

}  // namespace
}  // namespace hivora::test
