#include <gtest/gtest.h>

#include <string>

#include "hive/HiveTestSupport.h"

namespace hivora::test {
namespace {

class EnumValueTest : public HiveSetTest {
protected:
    // Loads `builder` as SYSTEM and opens its root key.
    RegKey LoadRoot(const HiveBuilder& builder) {
        Load(HiveSlot::System, builder.Build());
        return OpenRegKey(HKEY_LOCAL_MACHINE, u"system");
    }
};

struct ValueRead {
    int32_t status = 0;
    uint32_t type = 0;
    uint32_t size = 0;
    std::vector<uint8_t> data;
};

ValueRead ReadWhole(HKEY key, uint32_t index) {
    ValueRead read;
    read.status =
        HiveEnumValue(key, index, nullptr, nullptr, nullptr, &read.type, nullptr, &read.size);
    if (read.status == ERROR_MORE_DATA || read.status == ERROR_SUCCESS) {
        read.data.assign(std::max<uint32_t>(read.size, 4) + 8, 0xCC);
        uint32_t size = static_cast<uint32_t>(read.data.size());
        read.status = HiveEnumValue(key, index, nullptr, nullptr, nullptr, &read.type,
                                    read.data.data(), &size);
        read.size = size;
        read.data.resize(size);
    }
    return read;
}

TEST_F(EnumValueTest, DataFormsReadBackAsStored) {
    struct Row {
        const char* name;
        uint32_t minorVersion;
        uint32_t type;
        std::vector<uint8_t> data;
        DataForm form;
        uint32_t typeOut;
        std::vector<uint8_t> dataOut;
    };
    const std::vector<uint8_t> big = Pattern(3 * kBigDataSegmentBytes + 1000);
    const std::vector<uint8_t> twoSegments = Pattern(2 * kBigDataSegmentBytes);
    const std::vector<uint8_t> oneSegment = Pattern(kBigDataSegmentBytes);
    const Row rows[] = {
        {"resident_dword", 5, REG_DWORD, Bytes({1, 0, 0, 0}), DataForm::Resident, REG_DWORD,
         Bytes({1, 0, 0, 0})},
        {"resident_two_bytes", 5, REG_BINARY, Bytes({0xAB, 0xCD}), DataForm::Resident, REG_BINARY,
         Bytes({0xAB, 0xCD})},
        {"empty_form_keeps_its_type", 5, REG_SZ, {}, DataForm::EmptyForm, REG_SZ, {}},
        {"empty_data_cell", 5, REG_BINARY, {}, DataForm::Cell, REG_BINARY, {}},
        {"small_cell", 5, REG_SZ, Bytes({'a', 0, 'b', 0, 0, 0}), DataForm::Cell, REG_SZ,
         Bytes({'a', 0, 'b', 0, 0, 0})},
        {"any_type_number", 5, 0xFFFF0007u, Bytes({9, 8, 7, 6, 5}), DataForm::Cell, 0xFFFF0007u,
         Bytes({9, 8, 7, 6, 5})},
        {"big_data_segments", 5, REG_BINARY, big, DataForm::BigData, REG_BINARY, big},
        {"big_data_whole_segments", 5, REG_BINARY, twoSegments, DataForm::BigData, REG_BINARY,
         twoSegments},
        {"single_cell_large_in_1_3", 3, REG_BINARY, big, DataForm::Cell, REG_BINARY, big},
        {"one_segment_size_stays_one_cell", 5, REG_BINARY, oneSegment, DataForm::Auto, REG_BINARY,
         oneSegment},
    };
    for (const Row& row : rows) {
        HiveBuilder builder(row.minorVersion);
        builder.AddValue(HiveBuilder::kRoot, u"v", row.type, row.data, row.form);
        RegKey root = LoadRoot(builder);
        const ValueRead read = ReadWhole(root.get(), 0);
        EXPECT_EQ(read.status, ERROR_SUCCESS) << row.name;
        EXPECT_EQ(read.type, row.typeOut) << row.name;
        EXPECT_EQ(read.size, row.dataOut.size()) << row.name;
        EXPECT_TRUE(read.data == row.dataOut) << row.name;
    }
}

TEST_F(EnumValueTest, DefaultValueHasAnEmptyNameWhateverTheBufferHeld) {
    HiveBuilder builder;
    builder.AddDword(HiveBuilder::kRoot, u"A", 1);
    builder.AddDword(HiveBuilder::kRoot, u"", 2);
    builder.AddDword(HiveBuilder::kRoot, u"B", 3);
    RegKey root = LoadRoot(builder);
    char16_t name[8] = {u'x', u'y', u'z', 0};
    uint32_t length = 8;
    EXPECT_EQ(HiveEnumValue(root.get(), 1, name, &length, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(name[0], 0);
    // A buffer of no characters has no room even for the terminator: nothing is written.
    name[0] = u'x';
    length = 0;
    EXPECT_EQ(HiveEnumValue(root.get(), 1, name, &length, nullptr, nullptr, nullptr, nullptr),
              ERROR_MORE_DATA);
    EXPECT_EQ(name[0], u'x');
    EXPECT_EQ(ValueNames(root.get()), (std::vector<std::u16string>{u"A", u"", u"B"}));
}

TEST_F(EnumValueTest, NameBufferFollowsTheTruncationRuleAndTheCallGoesOn) {
    struct Row {
        const char* name;
        uint32_t capacity;
        int32_t status;
        uint32_t lengthOut;
        std::u16string stored;
    };
    const Row rows[] = {
        {"fits", 6, ERROR_SUCCESS, 5, u"abcde"},
        {"terminator_missing", 5, ERROR_MORE_DATA, 4, u"abcd"},
        {"zero", 0, ERROR_MORE_DATA, 0, u"#####"},
    };
    HiveBuilder builder;
    builder.AddValue(HiveBuilder::kRoot, u"abcde", REG_BINARY, Bytes({1, 2, 3, 4, 5, 6}));
    RegKey root = LoadRoot(builder);
    for (const Row& row : rows) {
        std::u16string name(8, u'#');
        uint32_t length = row.capacity;
        uint32_t type = 0;
        uint8_t data[8] = {};
        uint32_t size = sizeof data;
        EXPECT_EQ(HiveEnumValue(root.get(), 0, name.data(), &length, nullptr, &type, data, &size),
                  row.status)
            << row.name;
        EXPECT_EQ(length, row.lengthOut) << row.name;
        EXPECT_EQ(std::u16string(name.c_str()).substr(0, 5), row.stored) << row.name;
        // Type and data are delivered whether or not the name fitted.
        EXPECT_EQ(type, REG_BINARY) << row.name;
        EXPECT_EQ(size, 6u) << row.name;
        EXPECT_EQ(data[5], 6) << row.name;
    }
}

TEST_F(EnumValueTest, DataSizeQueriesAndSmallBuffers) {
    HiveBuilder builder;
    builder.AddValue(HiveBuilder::kRoot, u"ten", REG_BINARY, Pattern(10));
    RegKey root = LoadRoot(builder);
    struct Row {
        const char* name;
        bool withBuffer;
        uint32_t sizeIn;
        int32_t status;
        bool dataWritten;
    };
    const Row rows[] = {
        {"size_query_zero", false, 0, ERROR_MORE_DATA, false},
        {"size_query_large", false, 100, ERROR_SUCCESS, false},
        {"buffer_too_small", true, 9, ERROR_MORE_DATA, false},
        {"buffer_exact", true, 10, ERROR_SUCCESS, true},
    };
    for (const Row& row : rows) {
        std::vector<uint8_t> buffer(16, 0xEE);
        uint32_t size = row.sizeIn;
        uint32_t type = 0;
        char16_t name[8];
        uint32_t nameLength = 8;
        EXPECT_EQ(HiveEnumValue(root.get(), 0, name, &nameLength, nullptr, &type,
                                row.withBuffer ? buffer.data() : nullptr, &size),
                  row.status)
            << row.name;
        EXPECT_EQ(size, 10u) << row.name;
        EXPECT_EQ(type, REG_BINARY) << row.name;
        EXPECT_EQ(std::u16string(name), u"ten") << row.name;
        EXPECT_EQ(buffer[0] != 0xEE, row.dataWritten) << row.name;
        EXPECT_EQ(buffer[10], 0xEE) << row.name;
    }
    // Without a size pointer the data buffer is never written.
    std::vector<uint8_t> buffer(16, 0xEE);
    EXPECT_EQ(
        HiveEnumValue(root.get(), 0, nullptr, nullptr, nullptr, nullptr, buffer.data(), nullptr),
        ERROR_SUCCESS);
    EXPECT_EQ(buffer[0], 0xEE);
}

TEST_F(EnumValueTest, UserRootsStandForTheUserHiveRoot) {
    HiveBuilder user;
    user.AddDword(HiveBuilder::kRoot, u"RootValue", 7);
    Load(HiveSlot::NtUser, user.Build());
    Load(HiveSlot::System, user.Build());
    for (HKEY root : {HKEY_USERS, HKEY_CURRENT_USER}) {
        EXPECT_EQ(ValueNames(root), std::vector<std::u16string>{u"RootValue"});
    }
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT, HKEY_CURRENT_CONFIG}) {
        uint32_t size = 0;
        EXPECT_EQ(HiveEnumValue(root, 0, nullptr, nullptr, nullptr, nullptr, nullptr, &size),
                  ERROR_NO_MORE_ITEMS);
    }
    FreeHiveSet();
    Load(HiveSlot::Default, user.Build());
    EXPECT_EQ(HiveEnumValue(HKEY_USERS, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
}

}  // namespace
}  // namespace hivora::test
