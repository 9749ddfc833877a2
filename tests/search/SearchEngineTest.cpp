#include "search/SearchEngine.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "search/SearchTestSupport.h"

namespace hivora::test {
namespace {

using Lines = std::vector<std::string>;

// Values of every kind the text search must tell apart, in one key.
HiveBuilder ValueKindsHive() {
    HiveBuilder b;
    const auto apps = b.AddKey(HiveBuilder::kRoot, u"Apps");
    b.AddString(apps, u"Title", u"plain");
    b.AddString(apps, u"", u"has needle");
    b.AddDword(apps, u"needle count", 7);
    b.AddString(apps, u"Words", std::u16string_view(u"one\0two needle\0", 15), REG_MULTI_SZ);
    b.AddDword(apps, u"Number", 1234);
    b.AddString(apps, u"Blob", u"needle 1234", REG_BINARY);
    b.AddString(apps, u"Path", u"%SystemRoot%\\needle", REG_EXPAND_SZ);
    b.AddKey(apps, u"Run");
    b.AddKey(apps, u"RunOnce");
    b.AddKey(HiveBuilder::kRoot, u"NeedleKey");
    return b;
}

class TextSearch : public LoadedHivesTest {};

TEST_F(TextSearch, FindsEachKindOfHitInWalkOrder) {
    Load(HiveSlot::Software, ValueKindsHive());
    auto with = [](std::string text, int keys, int values, int data, int whole) {
        SearchCriteria c = TextCriteria(std::move(text));
        std::tie(c.keys, c.values, c.data, c.wholeString) = std::tie(keys, values, data, whole);
        return c;
    };
    const std::string apps = "HKEY_LOCAL_MACHINE\\software\\Apps";
    const std::string defaultData = "ValueData " + apps + ":(default)",
                      countName = "ValueName " + apps + ":needle count",
                      wordsData = "ValueData " + apps + ":Words", run = "KeyName " + apps + "\\Run";
    struct Row {
        const char* name;
        SearchCriteria criteria;
        Lines expected;
    };
    const Row rows[] = {
        {"all three tests",
         with("NEEDLE", 1, 1, 1, 0),
         {defaultData, countName, wordsData, "ValueData " + apps + ":Path",
          "KeyName HKEY_LOCAL_MACHINE\\software\\NeedleKey"}},
        {"numbers are not text", with("1234", 1, 1, 1, 0), {}},
        {"unnamed value by its shown name",
         with("(DEFAULT)", 0, 1, 0, 1),
         {"ValueName " + apps + ":(default)"}},
        {"whole string", with("run", 1, 0, 0, 1), {run}},
        {"part of a name", with("run", 1, 0, 0, 0), {run, run + "Once"}},
        {"second string of a multi-string, whole", with("two NEEDLE", 0, 0, 1, 1), {wordsData}},
    };
    for (const Row& row : rows) {
        int reason = -1;
        EXPECT_EQ(AllHits(row.criteria, &reason), row.expected) << row.name;
        EXPECT_EQ(reason, kSearchNothingFound) << row.name;
    }
}

// Names in an order no name comparison can follow: the walk's own order decides.
HiveBuilder UnsortedHive() {
    HiveBuilder b;
    const auto zed = b.AddKey(HiveBuilder::kRoot, u"Zed_needle");
    b.AddString(zed, u"zz_needle", u"x");
    b.AddString(zed, u"aa_needle", u"x");
    b.AddKey(zed, u"Child_needle");
    const auto abe = b.AddKey(HiveBuilder::kRoot, u"Abe_needle");
    b.AddString(abe, u"", u"needle data");
    b.AddString(abe, u"b_needle", u"x");
    return b;
}

HiveBuilder OneKeyHive(std::u16string_view name) {
    HiveBuilder b;
    b.AddKey(HiveBuilder::kRoot, name);
    return b;
}

class SearchStart : public LoadedHivesTest {
protected:
    void SetUp() override {
        LoadedHivesTest::SetUp();
        Load(HiveSlot::Software, UnsortedHive());
        Load(HiveSlot::Components, OneKeyHive(u"needle"));  // listed after "software"
        Load(HiveSlot::NtUser, OneKeyHive(u"needle"));
    }
};

TEST_F(SearchStart, ResumesRightAfterTheStartPosition) {
    const std::string sw = "HKEY_LOCAL_MACHINE\\software\\", zed = sw + "Zed_needle";
    struct Row {
        const char* name;
        std::string startPath;
        const char* startValue;
        std::optional<std::string> expected;  // key path, then ":" and the value name
    };
    const Row rows[] = {
        {"empty start", "", "", zed},
        {"a key hit goes on with its values", zed, "\n", zed + ":zz_needle"},
        {"after a value, by position, ignoring case", zed, "ZZ_NEEDLE", zed + ":aa_needle"},
        {"(default) names the unnamed value", sw + "Abe_needle", "(default)",
         sw + "Abe_needle:b_needle"},
        {"after the last key of a level", zed + "\\Child_needle", "", sw + "Abe_needle"},
        {"no such start key: the level from its beginning", sw + "Gone", "", zed},
        {"unsorted hive listing", sw + "Abe_needle", "b_needle",
         "HKEY_LOCAL_MACHINE\\COMPONENTS\\needle"},
        {"machine hives before user hives", "HKEY_LOCAL_MACHINE\\COMPONENTS\\needle", "\n",
         "HKEY_USERS\\NTUSER\\needle"},
        {"HKEY_USERS ends the search", "HKEY_USERS\\NTUSER\\needle", "\n", std::nullopt},
    };
    for (const Row& row : rows) {
        const auto hit = SearchFrom(TextCriteria("needle", row.startPath, row.startValue));
        std::optional<std::string> got;
        if (hit) {
            got = hit->keyPath + (hit->valueName != kKeyHitValueName ? ":" + hit->valueName : "");
        }
        EXPECT_EQ(got, row.expected) << row.name;
    }
}

class DateSearch : public LoadedHivesTest {
protected:
    static constexpr FileTime kT0 = 100, kT1 = 200, kT2 = 300, kT3 = 400;

    void SetUp() override {
        LoadedHivesTest::SetUp();
        HiveBuilder b;
        b.SetLastWrite(HiveBuilder::kRoot, kT0);
        const auto old = b.AddKey(HiveBuilder::kRoot, u"Old");
        b.SetLastWrite(old, kT1);
        b.AddString(old, u"Old", u"Old");  // values are never looked at by date
        b.SetLastWrite(b.AddKey(HiveBuilder::kRoot, u"Mid"), kT2);
        b.SetLastWrite(b.AddKey(HiveBuilder::kRoot, u"New"), kT3);
        Load(HiveSlot::Software, b);
    }

    static SearchCriteria Dates(int afterOn, FileTime after, int beforeOn, FileTime before) {
        SearchCriteria c;
        c.byDate = 1;
        std::tie(c.afterOn, c.after, c.beforeOn, c.before) =
            std::tie(afterOn, after, beforeOn, before);
        return c;
    }
};

TEST_F(DateSearch, LimitsAreInclusiveAndEachCanBeOff) {
    const std::string sw = "KeyDate HKEY_LOCAL_MACHINE\\software";
    struct Row {
        const char* name;
        SearchCriteria criteria;
        Lines expected;
    };
    const Row rows[] = {
        {"after only", Dates(1, kT2, 0, 0), {sw + "\\Mid", sw + "\\New"}},
        {"before only", Dates(0, 0, 1, kT1), {sw, sw + "\\Old"}},
        {"one instant", Dates(1, kT2, 1, kT2), {sw + "\\Mid"}},
        {"empty range", Dates(1, kT3, 1, kT2), {}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(AllHits(row.criteria), row.expected) << row.name;
    }
}

}  // namespace
}  // namespace hivora::test
