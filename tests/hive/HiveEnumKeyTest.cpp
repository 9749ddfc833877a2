#include <gtest/gtest.h>

#include <string>

#include "hive/HiveTestSupport.h"

namespace hivora::test {
namespace {

const HKEY kUntouched = reinterpret_cast<HKEY>(uintptr_t{0x5150});

BuiltHive RootWithClass(std::u16string_view className, FileTime time) {
    HiveBuilder builder;
    builder.SetClass(HiveBuilder::kRoot, className);
    builder.SetLastWrite(HiveBuilder::kRoot, time);
    return builder.Build();
}

using EnumKeyTest = HiveSetTest;

TEST_F(EnumKeyTest, RootsListTheLoadedHivesInTheirOrder) {
    struct Row {
        const char* name;
        std::vector<HiveSlot> loaded;
        HKEY root;
        std::vector<std::u16string> listed;
    };
    const Row rows[] = {
        {"software_and_system",
         {HiveSlot::System, HiveSlot::Software},
         HKEY_LOCAL_MACHINE,
         {u"software", u"system"}},
        {"every_machine_hive",
         {HiveSlot::Bcd, HiveSlot::Components, HiveSlot::System, HiveSlot::Software,
          HiveSlot::Security, HiveSlot::Sam},
         HKEY_LOCAL_MACHINE,
         {u"sam", u"security", u"software", u"system", u"COMPONENTS", u"BCD00000000"}},
        {"user_hives_not_below_machine",
         {HiveSlot::NtUser, HiveSlot::Default},
         HKEY_LOCAL_MACHINE,
         {}},
        {"default_alone", {HiveSlot::Default}, HKEY_USERS, {u".DEFAULT"}},
        {"both_user_hives",
         {HiveSlot::Default, HiveSlot::NtUser},
         HKEY_CURRENT_USER,
         {u"NTUSER", u".DEFAULT"}},
        {"classes_root_lists_nothing", {HiveSlot::System, HiveSlot::NtUser}, HKEY_CLASSES_ROOT, {}},
        {"performance_data_lists_nothing", {HiveSlot::System}, HKEY_PERFORMANCE_DATA, {}},
    };
    const BuiltHive hive = HiveBuilder().Build();
    for (const Row& row : rows) {
        FreeHiveSet();
        for (HiveSlot slot : row.loaded) {
            Load(slot, hive);
        }
        EXPECT_EQ(SubkeyNames(row.root), row.listed) << row.name;
    }
}

TEST_F(EnumKeyTest, ListedHiveReportsItsRootKeyClassAndTimeButNoHandle) {
    Load(HiveSlot::Sam, RootWithClass(u"SamClass", 0x01D0000000000001ull));
    char16_t name[16] = {};
    uint32_t nameLength = 16;
    char16_t className[16] = {};
    uint32_t classLength = 16;
    FileTime time = 0;
    HKEY subkey = kUntouched;
    EXPECT_EQ(HiveEnumKeyEx(HKEY_LOCAL_MACHINE, 0, name, &nameLength, nullptr, className,
                            &classLength, &time, &subkey),
              ERROR_SUCCESS);
    EXPECT_EQ(std::u16string(name), u"sam");
    EXPECT_EQ(nameLength, 3u);
    EXPECT_EQ(std::u16string(className), u"SamClass");
    EXPECT_EQ(classLength, 8u);
    EXPECT_EQ(time, 0x01D0000000000001ull);
    EXPECT_EQ(subkey, kUntouched);
    EXPECT_EQ(HiveEnumKeyEx(HKEY_LOCAL_MACHINE, 1, name, &nameLength, nullptr, nullptr, nullptr,
                            nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
}

// Subkeys k0..k6 under one root index whose leaves mix every leaf kind.
TEST_F(EnumKeyTest, RootIndexIsWalkedLeafByLeafWithEachLeafsElementSize) {
    HiveBuilder builder;
    std::vector<std::u16string> expected;
    for (int i = 0; i < 7; ++i) {
        expected.push_back(u"k" + std::u16string(1, static_cast<char16_t>(u'0' + i)));
        builder.AddKey(HiveBuilder::kRoot, expected.back());
    }
    builder.SetSubkeyList(
        HiveBuilder::kRoot, ListKind::Ri,
        {{ListKind::Li, 3}, {ListKind::Lh, 2}, {ListKind::Lf, 1}, {ListKind::Li, 1}});
    Load(HiveSlot::System, builder.Build());
    RegKey root = OpenRegKey(HKEY_LOCAL_MACHINE, u"system");
    ASSERT_TRUE(root);
    EXPECT_EQ(SubkeyNames(root.get()), expected);

    // Random access, backwards, must find the same element each time.
    for (uint32_t index = 7; index-- > 0;) {
        SubkeyInfo info;
        ASSERT_EQ(EnumSubkey(root.get(), index, info), ERROR_SUCCESS) << index;
        EXPECT_EQ(info.name, expected[index]);
    }
    SubkeyInfo info;
    EXPECT_EQ(EnumSubkey(root.get(), 7, info), ERROR_NO_MORE_ITEMS);
    for (const auto& name : expected) {
        EXPECT_TRUE(OpenRegKey(root.get(), name)) << ToUtf8(name);
    }
}

struct BufferRow {
    const char* name;
    uint32_t capacity;  // characters offered, terminator included
    int32_t status;
    uint32_t lengthOut;
    std::u16string stored;  // what the buffer reads as afterwards
};

// Name "abcde": five characters need a buffer of six.
const BufferRow kBufferRows[] = {
    {"room_to_spare", 10, ERROR_SUCCESS, 5, u"abcde"},
    {"exactly_enough", 6, ERROR_SUCCESS, 5, u"abcde"},
    {"no_room_for_terminator", 5, ERROR_MORE_DATA, 4, u"abcd"},
    {"one_char", 1, ERROR_MORE_DATA, 0, u""},
    {"zero_stores_nothing", 0, ERROR_MORE_DATA, 0, u"######"},
};

std::u16string Filled() {
    return u"######";
}

TEST_F(EnumKeyTest, NameAndClassBuffersFollowTheTruncationRule) {
    HiveBuilder builder;
    const auto key = builder.AddKey(HiveBuilder::kRoot, u"abcde");
    builder.SetClass(key, u"abcde");
    builder.AddKey(HiveBuilder::kRoot, u"noclass");
    Load(HiveSlot::System, builder.Build());
    RegKey root = OpenRegKey(HKEY_LOCAL_MACHINE, u"system");
    ASSERT_TRUE(root);

    for (const BufferRow& row : kBufferRows) {
        std::u16string name = Filled();
        name.resize(16, u'#');
        uint32_t length = row.capacity;
        HKEY subkey = nullptr;
        EXPECT_EQ(HiveEnumKeyEx(root.get(), 0, name.data(), &length, nullptr, nullptr, nullptr,
                                nullptr, &subkey),
                  row.status)
            << row.name;
        EXPECT_EQ(length, row.lengthOut) << row.name;
        EXPECT_EQ(std::u16string(name.c_str()).substr(0, 6), row.stored) << row.name;
        // The subkey handle comes back also when the name did not fit.
        ASSERT_NE(subkey, nullptr) << row.name;
        EXPECT_EQ(HiveCloseKey(subkey), ERROR_SUCCESS);

        std::u16string className = Filled();
        className.resize(16, u'#');
        uint32_t classLength = row.capacity;
        uint32_t nameLength = 16;
        char16_t fullName[16];
        EXPECT_EQ(HiveEnumKeyEx(root.get(), 0, fullName, &nameLength, nullptr, className.data(),
                                &classLength, nullptr, nullptr),
                  row.status)
            << row.name << " (class)";
        EXPECT_EQ(classLength, row.lengthOut) << row.name << " (class)";
        EXPECT_EQ(std::u16string(className.c_str()).substr(0, 6), row.stored) << row.name;
    }

    // No class name: length 0, buffer untouched.
    std::u16string className = Filled();
    uint32_t classLength = 7;
    EXPECT_EQ(HiveEnumKeyEx(root.get(), 1, nullptr, nullptr, nullptr, className.data(),
                            &classLength, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(classLength, 0u);
    EXPECT_EQ(className, Filled());
}

TEST_F(EnumKeyTest, ReportsNamesTimesAndHandles) {
    HiveBuilder builder;
    const auto latin1 = builder.AddKey(HiveBuilder::kRoot, u"gr\u00FCn", NameForm::Latin1);
    builder.SetLastWrite(latin1, 0x01D9A1B2C3D4E5F6ull);
    builder.AddKey(latin1, u"below");
    builder.AddKey(HiveBuilder::kRoot, u"\u65E5\u672C");
    Load(HiveSlot::System, builder.Build());
    RegKey root = OpenRegKey(HKEY_LOCAL_MACHINE, u"system");

    SubkeyInfo info;
    RegKey handle;
    ASSERT_EQ(EnumSubkey(root.get(), 0, info, &handle), ERROR_SUCCESS);
    EXPECT_EQ(info.name, u"gr\u00FCn");
    EXPECT_EQ(info.lastWrite, 0x01D9A1B2C3D4E5F6ull);
    ASSERT_TRUE(handle);
    EXPECT_EQ(SubkeyNames(handle.get()), std::vector<std::u16string>{u"below"});
    ASSERT_EQ(EnumSubkey(root.get(), 1, info), ERROR_SUCCESS);
    EXPECT_EQ(info.name, u"\u65E5\u672C");
    EXPECT_EQ(EnumSubkey(root.get(), 2, info), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(EnumSubkey(root.get(), 0xFFFFFFFFu, info), ERROR_NO_MORE_ITEMS);
}

}  // namespace
}  // namespace hivora::test
