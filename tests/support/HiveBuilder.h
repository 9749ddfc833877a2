// Writes synthetic "regf" hive images for tests and benchmarks: a tree of keys and values
// described in code, laid out the way Windows lays out a hive (base block, 4 KiB hive bins,
// 8-byte aligned cells with negative size words for allocated cells).
//
// The image comes back as a BuiltHive, which also records where every key's records were
// written, so that a test can damage exactly one field and see what the engine makes of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "hive/HiveLayout.h"
#include "hive/RegistryTypes.h"

namespace hivora::test {

// How a key or value name is stored: one byte per character or UTF-16. Auto picks one byte
// per character when every character fits in a byte, as Windows does.
enum class NameForm { Auto, Latin1, Utf16 };

// Subkey list kinds. Ri is a root index over leaf lists of the kinds given per leaf.
enum class ListKind { Li, Lf, Lh, Ri };

// How a value's data is stored. Auto: resident when at most four bytes, big data when larger
// than one segment in a format 1.4+ hive, otherwise one data cell.
enum class DataForm {
    Auto,
    Resident,  // in the data offset field, bit 31 of the length set (at most four bytes)
    Cell,      // one data cell, whatever the size (how format 1.3 stores large data)
    BigData,   // a "db" record, a segment list and segments of up to 16344 bytes
    EmptyForm  // data length exactly 0x80000000; the data bytes are ignored
};

// Field offsets inside the records, for tests that patch them.
namespace field = ::hivora::layout;
using layout::kBigDataSegmentBytes;

// Where one key's records were written, as cell offsets (counted from file offset 0x1000).
struct KeyCells {
    static constexpr uint32_t kNone = layout::kNoCell;
    uint32_t key = kNone;
    uint32_t subkeyList = kNone;  // the list itself (the root index for Ri)
    uint32_t valueList = kNone;
    std::vector<uint32_t> values;  // "vk" records, in order
    std::vector<uint32_t> data;    // data cell (or "db" record) per value; kNone if resident
};

// A written hive image and the positions of what was written in it.
class BuiltHive {
public:
    std::vector<uint8_t> bytes;
    std::vector<KeyCells> keys;  // indexed by HiveBuilder::KeyId

    // File offset of the record inside the cell `cell`.
    static uint64_t RecordAt(uint32_t cell) {
        return layout::kHiveBinsStart + cell + layout::kCellSizeWord;
    }

    // Overwrite or read a field of the record in `cell`.
    void PutU16(uint32_t cell, uint32_t offset, uint16_t value);
    void PutU32(uint32_t cell, uint32_t offset, uint32_t value);
    uint32_t GetU32(uint32_t cell, uint32_t offset) const;

    // Appends a new hive bin holding one list cell: signature, `count`, then the elements
    // (each followed by a zero hash word for "lf"/"lh"). Returns its cell offset.
    uint32_t AppendList(std::string_view signature, std::span<const uint32_t> elements,
                        uint16_t count);
    uint32_t AppendList(std::string_view signature, std::span<const uint32_t> elements) {
        return AppendList(signature, elements, static_cast<uint16_t>(elements.size()));
    }

    void Truncate(size_t size) { bytes.resize(size); }
};

class HiveBuilder {
public:
    using KeyId = uint32_t;
    static constexpr KeyId kRoot = 0;

    struct RiLeaf {
        ListKind kind = ListKind::Lh;  // Li, Lf or Lh
        uint32_t count = 0;            // consecutive subkeys held by this leaf
    };

    // `minorVersion` goes to the base block (3 for format 1.3, 5 for 1.5).
    explicit HiveBuilder(uint32_t minorVersion = 5, std::u16string_view rootName = u"ROOT");

    KeyId AddKey(KeyId parent, std::u16string_view name, NameForm form = NameForm::Auto);
    // Adds (or finds) every key of a backslash-separated path below `parent`; the last one.
    KeyId AddPath(KeyId parent, std::u16string_view path);

    void SetClass(KeyId key, std::u16string_view className) { keys_.at(key).className = className; }
    void SetLastWrite(KeyId key, FileTime time) { keys_.at(key).lastWrite = time; }
    // Subkey list kind; for Ri, the leaves in order (their counts must add up to the number of
    // subkeys; without leaves one "lh" leaf holds them all).
    void SetSubkeyList(KeyId key, ListKind kind, std::vector<RiLeaf> leaves = {});

    void AddValue(KeyId key, std::u16string_view name, uint32_t type, std::vector<uint8_t> data,
                  DataForm form = DataForm::Auto, NameForm nameForm = NameForm::Auto);
    // UTF-16 text stored with its terminator, as Windows stores REG_SZ.
    void AddString(KeyId key, std::u16string_view name, std::u16string_view text,
                   uint32_t type = REG_SZ);
    void AddDword(KeyId key, std::u16string_view name, uint32_t value);

    // Puts a free cell before the root key, so that only the base block's root offset names it.
    void MoveRootAwayFromFirstCell() { rootAfterFiller_ = true; }

    BuiltHive Build() const;

private:
    struct Value {
        std::u16string name;
        NameForm nameForm;
        uint32_t type;
        std::vector<uint8_t> data;
        DataForm form;
    };
    struct Key {
        std::u16string name;
        NameForm nameForm = NameForm::Auto;
        KeyId parent = kRoot;
        std::u16string className;
        FileTime lastWrite = 0;
        ListKind listKind = ListKind::Lh;
        std::vector<RiLeaf> riLeaves;
        std::vector<KeyId> subkeys;
        std::vector<Value> values;
    };

    uint32_t minorVersion_;
    bool rootAfterFiller_ = false;
    std::vector<Key> keys_;
};

}  // namespace hivora::test
