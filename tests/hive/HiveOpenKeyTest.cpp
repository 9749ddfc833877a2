#include <gtest/gtest.h>

#include <string>

#include "hive/HiveTestSupport.h"

namespace hivora::test {
namespace {

// Every key carries a DWORD "id" holding its builder id, so a test can tell which key a
// handle opened.
class IdTree {
public:
    explicit IdTree(uint32_t minorVersion = 5) : builder(minorVersion) { Tag(HiveBuilder::kRoot); }

    HiveBuilder::KeyId Add(HiveBuilder::KeyId parent, std::u16string_view name,
                           NameForm form = NameForm::Auto) {
        const auto id = builder.AddKey(parent, name, form);
        Tag(id);
        return id;
    }

    HiveBuilder builder;

private:
    void Tag(HiveBuilder::KeyId id) { builder.AddDword(id, u"id", id); }
};

constexpr int kNotFound = -1;

int IdOf(HKEY key) {
    if (key == nullptr) {
        return kNotFound;
    }
    std::vector<uint8_t> data;
    if (ReadValueData(key, 0, 4, data) != ERROR_SUCCESS || data.size() != 4) {
        return -2;
    }
    return data[0] | data[1] << 8;
}

int OpenedId(HKEY root, std::u16string_view path) {
    const std::u16string terminated(path);
    HKEY result = reinterpret_cast<HKEY>(uintptr_t{0x1234});
    EXPECT_EQ(HiveOpenKey(root, terminated.c_str(), &result), ERROR_SUCCESS);
    const int id = IdOf(result);
    if (result != nullptr) {
        EXPECT_EQ(HiveCloseKey(result), ERROR_SUCCESS);
    }
    return id;
}

class OpenKeyTest : public HiveSetTest {
protected:
    void SetUp() override {
        HiveSetTest::SetUp();
        IdTree software;
        classes_ = software.Add(HiveBuilder::kRoot, u"Classes");
        clsid_ = software.Add(classes_, u"CLSID");
        upperUmlaut_ = software.Add(HiveBuilder::kRoot, u"\u00C4rger", NameForm::Latin1);
        cyrillic_ = software.Add(HiveBuilder::kRoot, u"\u041F\u0440\u0438\u0432\u0435\u0442");
        wideAscii_ = software.Add(HiveBuilder::kRoot, u"WideName", NameForm::Utf16);
        longName_ = software.Add(HiveBuilder::kRoot, std::u16string(255, u'n'));
        // Two keys of one name: only the first is tried, so dup\below is not found.
        firstDup_ = software.Add(HiveBuilder::kRoot, u"dup");
        const auto secondDup = software.Add(HiveBuilder::kRoot, u"DUP");
        software.Add(secondDup, u"below");
        Load(HiveSlot::Software, software.builder.Build());

        IdTree defaultHive;
        environment_ = defaultHive.Add(HiveBuilder::kRoot, u"Environment");
        Load(HiveSlot::Default, defaultHive.builder.Build());

        IdTree system;
        system.Add(HiveBuilder::kRoot, u"Select");
        Load(HiveSlot::System, system.builder.Build());
    }

    int classes_ = 0, clsid_ = 0, upperUmlaut_ = 0, cyrillic_ = 0, wideAscii_ = 0, longName_ = 0,
        firstDup_ = 0, environment_ = 0;
};

TEST_F(OpenKeyTest, ResolvesPathsFromTheRoots) {
    const std::u16string longPath = u"software\\" + std::u16string(255, u'N');
    struct Row {
        const char* name;
        HKEY root;
        std::u16string path;
        int expected;
    };
    const Row rows[] = {
        {"hive_then_key", HKEY_LOCAL_MACHINE, u"software\\Classes", classes_},
        {"extra_separators", HKEY_LOCAL_MACHINE, u"\\\\software\\\\Classes\\\\\\", classes_},
        {"hive_alone_is_its_root", HKEY_LOCAL_MACHINE, u"software", 0},
        {"hive_with_trailing_separator", HKEY_LOCAL_MACHINE, u"software\\", 0},
        {"other_machine_hive", HKEY_LOCAL_MACHINE, u"SYSTEM\\select", 1},
        {"ascii_case_folded", HKEY_LOCAL_MACHINE, u"SOFTWARE\\classes\\ClSiD", clsid_},
        {"latin1_name_exact", HKEY_LOCAL_MACHINE, u"software\\\u00C4RGER", upperUmlaut_},
        {"non_ascii_case_not_folded", HKEY_LOCAL_MACHINE, u"software\\\u00E4rger", kNotFound},
        {"utf16_name", HKEY_LOCAL_MACHINE, u"software\\\u041F\u0440\u0438\u0432\u0435\u0442",
         cyrillic_},
        {"utf16_ascii_name_folded", HKEY_LOCAL_MACHINE, u"software\\widename", wideAscii_},
        {"name_of_255_chars", HKEY_LOCAL_MACHINE, longPath, longName_},
        {"name_one_char_longer", HKEY_LOCAL_MACHINE, longPath + u"n", kNotFound},
        {"first_match_only", HKEY_LOCAL_MACHINE, u"software\\dup", firstDup_},
        {"no_second_try", HKEY_LOCAL_MACHINE, u"software\\dup\\below", kNotFound},
        {"missing_component", HKEY_LOCAL_MACHINE, u"software\\Classes\\Nope", kNotFound},
        {"prefix_needs_separator", HKEY_LOCAL_MACHINE, u"softwareClasses", kNotFound},
        {"unknown_hive", HKEY_LOCAL_MACHINE, u"HARDWARE", kNotFound},
        {"empty_slot", HKEY_LOCAL_MACHINE, u"sam", kNotFound},
        {"user_hive_below_users", HKEY_USERS, u".DEFAULT\\Environment", environment_},
        {"user_hive_below_current_user", HKEY_CURRENT_USER, u".default\\environment", environment_},
        {"machine_hive_not_below_users", HKEY_USERS, u"software", kNotFound},
        {"user_hive_not_below_machine", HKEY_LOCAL_MACHINE, u".DEFAULT", kNotFound},
        {"classes_root_has_nothing", HKEY_CLASSES_ROOT, u"software", kNotFound},
        {"current_config_has_nothing", HKEY_CURRENT_CONFIG, u"software", kNotFound},
        {"component_beyond_any_name", HKEY_LOCAL_MACHINE,
         u"software\\" + std::u16string(5000, u'x'), kNotFound},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(OpenedId(row.root, row.path), row.expected) << row.name;
    }
}

TEST_F(OpenKeyTest, OpensRelativeToAnOpenHandle) {
    RegKey software = OpenRegKey(HKEY_LOCAL_MACHINE, u"software");
    ASSERT_TRUE(software);
    EXPECT_EQ(OpenedId(software.get(), u"Classes\\CLSID"), clsid_);
    EXPECT_EQ(OpenedId(software.get(), u"\\Classes\\"), classes_);
    EXPECT_EQ(OpenedId(software.get(), u"software"), kNotFound);  // hive names mean nothing here
}

TEST_F(OpenKeyTest, EmptyPathGivesBackTheRootOrANewHandle) {
    HKEY result = nullptr;
    EXPECT_EQ(HiveOpenKey(HKEY_LOCAL_MACHINE, u"", &result), ERROR_SUCCESS);
    EXPECT_EQ(result, HKEY_LOCAL_MACHINE);
    EXPECT_EQ(HiveCloseKey(result), ERROR_SUCCESS);
    EXPECT_EQ(HiveOpenKey(HKEY_USERS, nullptr, &result), ERROR_SUCCESS);
    EXPECT_EQ(result, HKEY_USERS);

    HKEY classes = nullptr;
    ASSERT_EQ(HiveOpenKey(HKEY_LOCAL_MACHINE, u"software\\Classes", &classes), ERROR_SUCCESS);
    HKEY copy = nullptr;
    ASSERT_EQ(HiveOpenKey(classes, u"", &copy), ERROR_SUCCESS);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, classes);
    EXPECT_EQ(HiveCloseKey(classes), ERROR_SUCCESS);
    // The copy is independent of the handle it was made from.
    EXPECT_EQ(IdOf(copy), classes_);
    EXPECT_EQ(SubkeyNames(copy), std::vector<std::u16string>{u"CLSID"});
    EXPECT_EQ(HiveCloseKey(copy), ERROR_SUCCESS);
}

TEST_F(OpenKeyTest, NullHandlesAreInvalid) {
    HKEY result = reinterpret_cast<HKEY>(uintptr_t{0x1234});
    EXPECT_EQ(HiveOpenKey(nullptr, u"software", &result), ERROR_INVALID_HANDLE);
    EXPECT_EQ(result, reinterpret_cast<HKEY>(uintptr_t{0x1234}));  // not written
    EXPECT_EQ(HiveCloseKey(nullptr), ERROR_INVALID_HANDLE);
    EXPECT_EQ(
        HiveEnumKeyEx(nullptr, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
        ERROR_INVALID_HANDLE);
    EXPECT_EQ(HiveEnumValue(nullptr, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
              ERROR_INVALID_HANDLE);
}

TEST_F(OpenKeyTest, UnknownRootNumbersHaveNothingBelowThem) {
    HKEY result = reinterpret_cast<HKEY>(uintptr_t{0x1234});
    EXPECT_EQ(HiveOpenKey(RootHandle(0x12345678), u"software", &result), ERROR_SUCCESS);
    EXPECT_EQ(result, nullptr);
    EXPECT_EQ(HiveEnumKeyEx(RootHandle(0x80000042), 0, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
}

TEST(OpenKeyRootTest, FindsARootThatIsNotTheFirstCell) {
    FreeHiveSet();
    HiveBuilder builder;
    builder.AddKey(builder.AddKey(HiveBuilder::kRoot, u"Classes"), u"CLSID");
    builder.MoveRootAwayFromFirstCell();
    const BuiltHive hive = builder.Build();
    ASSERT_NE(hive.keys[HiveBuilder::kRoot].key, 0x20u);
    ASSERT_EQ(LoadHiveImage(HiveSlot::Software, hive.bytes.data(), hive.bytes.size()), 1);
    RegKey clsid = OpenRegKey(kLocalMachine, "software\\Classes\\CLSID");
    EXPECT_TRUE(clsid);
    FreeHiveSet();
}

}  // namespace
}  // namespace hivora::test
