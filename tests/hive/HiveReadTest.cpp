// The back end's key and value calls on built hives: which roots list which hives, lists of
// every kind, the buffer rules of the enumeration calls, data forms, and path lookups.
#include <gtest/gtest.h>

#include <string>

#include "hive/HiveTestSupport.h"

namespace hivora::test {
namespace {

using Names = std::vector<std::u16string>;
const HKEY kUntouched = reinterpret_cast<HKEY>(uintptr_t{0x5150});

class HiveReadTest : public HiveSetTest {
protected:
    // Loads `builder` as SYSTEM and opens its root key.
    RegKey LoadRoot(const HiveBuilder& builder) {
        Load(HiveSlot::System, builder.Build());
        return OpenRegKey(HKEY_LOCAL_MACHINE, u"system");
    }
};

TEST_F(HiveReadTest, RootsListTheLoadedHivesInTheirOrder) {
    using S = HiveSlot;
    const std::tuple<std::vector<S>, HKEY, Names> rows[] = {
        {{S::System, S::Software}, HKEY_LOCAL_MACHINE, {u"software", u"system"}},
        {{S::Bcd, S::Components, S::System, S::Software, S::Security, S::Sam},
         HKEY_LOCAL_MACHINE,
         {u"sam", u"security", u"software", u"system", u"COMPONENTS", u"BCD00000000"}},
        {{S::NtUser, S::Default}, HKEY_LOCAL_MACHINE, {}},
        {{S::Default}, HKEY_USERS, {u".DEFAULT"}},
        {{S::Default, S::NtUser}, HKEY_CURRENT_USER, {u"NTUSER", u".DEFAULT"}},
        {{S::System, S::NtUser}, HKEY_CLASSES_ROOT, {}},
    };
    const BuiltHive hive = HiveBuilder().Build();
    for (size_t row = 0; row < std::size(rows); ++row) {
        const auto& [loaded, root, listed] = rows[row];
        FreeHiveSet();
        for (HiveSlot slot : loaded) {
            Load(slot, hive);
        }
        EXPECT_EQ(SubkeyNames(root), listed) << "row " << row;
    }
}

// Seven subkeys under one root index whose leaves mix every leaf kind, read back to front: each
// random access must find the element of its own leaf.
TEST_F(HiveReadTest, RootIndexIsReadLeafByLeafInAnyOrder) {
    HiveBuilder builder;
    const Names expected = {u"k0", u"gr\u00FCn", u"\u65E5\u672C", u"k3", u"k4", u"k5", u"k6"};
    for (const auto& name : expected) {
        builder.AddKey(HiveBuilder::kRoot, name);
    }
    builder.SetSubkeyList(
        HiveBuilder::kRoot, ListKind::Ri,
        {{ListKind::Li, 3}, {ListKind::Lh, 2}, {ListKind::Lf, 1}, {ListKind::Li, 1}});
    RegKey root = LoadRoot(builder);
    SubkeyInfo info;
    for (uint32_t index = 7; index-- > 0;) {
        ASSERT_EQ(EnumSubkey(root.get(), index, info), ERROR_SUCCESS) << index;
        EXPECT_EQ(info.name, expected[index]);
        EXPECT_TRUE(OpenRegKey(root.get(), expected[index])) << index;
    }
    EXPECT_EQ(EnumSubkey(root.get(), 7, info), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(EnumSubkey(root.get(), 0xFFFFFFFFu, info), ERROR_NO_MORE_ITEMS);
}

// Names "abcde": five characters need a buffer of six. Key names, class names and value names
// follow one rule; type, data and the subkey handle come back also when the name did not fit.
TEST_F(HiveReadTest, NameBuffersFollowTheTruncationRule) {
    HiveBuilder builder;
    builder.SetClass(builder.AddKey(HiveBuilder::kRoot, u"abcde"), u"abcde");
    builder.AddValue(HiveBuilder::kRoot, u"abcde", REG_BINARY, Bytes({1, 2, 3, 4, 5, 6}));
    RegKey root = LoadRoot(builder);
    const std::tuple<uint32_t, int32_t, uint32_t, std::u16string> rows[] = {
        {10, ERROR_SUCCESS, 5, u"abcde"},   {6, ERROR_SUCCESS, 5, u"abcde"},
        {5, ERROR_MORE_DATA, 4, u"abcd"},   {1, ERROR_MORE_DATA, 0, u""},
        {0, ERROR_MORE_DATA, 0, u"######"},  // a buffer of no characters is not written
    };
    for (const auto& [capacity, status, lengthOut, stored] : rows) {
        SCOPED_TRACE(capacity);
        for (int call = 0; call < 3; ++call) {
            std::u16string buffer(16, u'#');
            uint32_t length = capacity, full = 16, type = 0, size = 8;
            char16_t fullName[16];
            uint8_t data[8] = {};
            HKEY subkey = nullptr;
            const int32_t got =
                call == 0   ? HiveEnumKeyEx(root.get(), 0, buffer.data(), &length, nullptr, nullptr,
                                            nullptr, nullptr, &subkey)
                : call == 1 ? HiveEnumKeyEx(root.get(), 0, fullName, &full, nullptr, buffer.data(),
                                            &length, nullptr, nullptr)
                            : HiveEnumValue(root.get(), 0, buffer.data(), &length, nullptr, &type,
                                            data, &size);
            EXPECT_EQ(got, status) << call;
            EXPECT_EQ(length, lengthOut) << call;
            EXPECT_EQ(std::u16string(buffer.c_str()).substr(0, 6), stored) << call;
            if (call == 0) {
                ASSERT_NE(subkey, nullptr);
                EXPECT_EQ(HiveCloseKey(subkey), ERROR_SUCCESS);
            } else if (call == 2) {
                EXPECT_EQ(std::tie(type, size, data[5]),
                          std::make_tuple(REG_BINARY, 6u, uint8_t{6}));
            }
        }
    }
}

TEST_F(HiveReadTest, DataSizeQueriesAndSmallBuffers) {
    HiveBuilder builder;
    builder.AddValue(HiveBuilder::kRoot, u"ten", REG_BINARY, Pattern(10));
    RegKey root = LoadRoot(builder);
    // {buffer offered, size in, status, data written}
    const std::tuple<bool, uint32_t, int32_t, bool> rows[] = {
        {false, 0, ERROR_MORE_DATA, false},
        {false, 100, ERROR_SUCCESS, false},
        {true, 9, ERROR_MORE_DATA, false},
        {true, 10, ERROR_SUCCESS, true},
    };
    for (const auto& [withBuffer, sizeIn, status, written] : rows) {
        std::vector<uint8_t> buffer(16, 0xEE);
        uint32_t size = sizeIn, type = 0;
        EXPECT_EQ(HiveEnumValue(root.get(), 0, nullptr, nullptr, nullptr, &type,
                                withBuffer ? buffer.data() : nullptr, &size),
                  status)
            << sizeIn;
        EXPECT_EQ(std::tie(size, type), std::make_tuple(10u, REG_BINARY)) << sizeIn;
        EXPECT_EQ(buffer[0] != 0xEE, written) << sizeIn;
        EXPECT_EQ(buffer[10], 0xEE) << sizeIn;
    }
    // Without a size pointer the data buffer is never written.
    std::vector<uint8_t> buffer(16, 0xEE);
    EXPECT_EQ(
        HiveEnumValue(root.get(), 0, nullptr, nullptr, nullptr, nullptr, buffer.data(), nullptr),
        ERROR_SUCCESS);
    EXPECT_EQ(buffer[0], 0xEE);
}

// Every key carries a DWORD "id" holding its builder id, so a test can tell which key a handle
// opened.
class OpenKeyTest : public HiveSetTest {
protected:
    static constexpr int kNotFound = -1;

    struct IdTree {
        HiveBuilder builder;
        IdTree() { builder.AddDword(HiveBuilder::kRoot, u"id", 0); }
        int Add(HiveBuilder::KeyId parent, std::u16string_view name,
                NameForm form = NameForm::Auto) {
            const auto id = builder.AddKey(parent, name, form);
            builder.AddDword(id, u"id", id);
            return static_cast<int>(id);
        }
    };

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
        software.Add(software.Add(HiveBuilder::kRoot, u"DUP"), u"below");
        // Only the base block's root offset finds this root.
        software.builder.MoveRootAwayFromFirstCell();
        Load(HiveSlot::Software, software.builder);
        IdTree defaultHive;
        environment_ = defaultHive.Add(HiveBuilder::kRoot, u"Environment");
        Load(HiveSlot::Default, defaultHive.builder);
    }

    static int IdOf(HKEY key) {
        std::vector<uint8_t> data;
        return key == nullptr                                    ? kNotFound
               : ReadValueData(key, 0, 4, data) != ERROR_SUCCESS ? -2
                                                                 : data.at(0) | data.at(1) << 8;
    }

    static int OpenedId(HKEY root, std::u16string_view path) {
        const std::u16string terminated(path);
        HKEY result = kUntouched;
        EXPECT_EQ(HiveOpenKey(root, terminated.c_str(), &result), ERROR_SUCCESS);
        const int id = IdOf(result);
        if (result != nullptr) {
            EXPECT_EQ(HiveCloseKey(result), ERROR_SUCCESS);
        }
        return id;
    }

    int classes_ = 0, clsid_ = 0, upperUmlaut_ = 0, cyrillic_ = 0, wideAscii_ = 0, longName_ = 0,
        firstDup_ = 0, environment_ = 0;
};

TEST_F(OpenKeyTest, ResolvesPathsFromTheRoots) {
    const std::u16string longPath = u"software\\" + std::u16string(255, u'N');
    const HKEY M = HKEY_LOCAL_MACHINE;
    const std::tuple<const char*, HKEY, std::u16string, int> rows[] = {
        {"hive_then_key", M, u"software\\Classes", classes_},
        {"extra_separators", M, u"\\\\software\\\\Classes\\\\\\", classes_},
        {"hive_alone_is_its_root", M, u"software", 0},
        {"ascii_case_folded", M, u"SOFTWARE\\classes\\ClSiD", clsid_},
        {"latin1_name_exact", M, u"software\\\u00C4RGER", upperUmlaut_},
        {"non_ascii_case_not_folded", M, u"software\\\u00E4rger", kNotFound},
        {"utf16_name", M, u"software\\\u041F\u0440\u0438\u0432\u0435\u0442", cyrillic_},
        {"utf16_ascii_name_folded", M, u"software\\widename", wideAscii_},
        {"name_of_255_chars", M, longPath, longName_},
        {"name_one_char_longer", M, longPath + u"n", kNotFound},
        {"first_match_only", M, u"software\\dup", firstDup_},
        {"no_second_try", M, u"software\\dup\\below", kNotFound},
        {"missing_component", M, u"software\\Classes\\Nope", kNotFound},
        {"prefix_needs_separator", M, u"softwareClasses", kNotFound},
        {"unknown_hive", M, u"HARDWARE", kNotFound},
        {"empty_slot", M, u"sam", kNotFound},
        {"user_hive_below_users", HKEY_USERS, u".DEFAULT\\Environment", environment_},
        {"user_hive_below_current_user", HKEY_CURRENT_USER, u".default\\environment", environment_},
        {"machine_hive_not_below_users", HKEY_USERS, u"software", kNotFound},
        {"classes_root_has_nothing", HKEY_CLASSES_ROOT, u"software", kNotFound},
        {"component_beyond_any_name", M, u"software\\" + std::u16string(5000, u'x'), kNotFound},
    };
    for (const auto& [name, root, path, expected] : rows) {
        EXPECT_EQ(OpenedId(root, path), expected) << name;
    }
    // Below an open handle, hive names mean nothing.
    RegKey software = OpenRegKey(HKEY_LOCAL_MACHINE, u"software");
    EXPECT_EQ(OpenedId(software.get(), u"\\Classes\\CLSID\\"), clsid_);
    EXPECT_EQ(OpenedId(software.get(), u"software"), kNotFound);
}

}  // namespace
}  // namespace hivora::test
