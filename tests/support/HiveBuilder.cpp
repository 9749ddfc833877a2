#include "support/HiveBuilder.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <stdexcept>

#include "hive/HiveFileCheck.h"
#include "hive/HiveLayout.h"
#include "support/LittleEndian.h"

namespace hivora::test {
namespace {

using namespace layout;

constexpr uint16_t kRootKeyFlags = kKeyFlagHiveEntry | kKeyFlagNoDelete;
constexpr size_t kMaxLeafCount = 1024;

void Put16(std::vector<uint8_t>& out, uint64_t at, uint16_t value) {
    WriteLittleEndian<uint16_t>(out, at, value);
}
void Put32(std::vector<uint8_t>& out, uint64_t at, uint32_t value) {
    WriteLittleEndian<uint32_t>(out, at, value);
}
void Put64(std::vector<uint8_t>& out, uint64_t at, uint64_t value) {
    WriteLittleEndian<uint64_t>(out, at, value);
}
uint32_t Get32(const std::vector<uint8_t>& in, uint64_t at) {
    return ReadLe32(in, at);
}

// Records the hive bins' size and the checksum after the image changed size.
void SealBaseBlock(std::vector<uint8_t>& bytes) {
    Put32(bytes, kHiveBinsDataSize, static_cast<uint32_t>(bytes.size() - kBaseBlockSize));
    Put32(bytes, kChecksum, BaseBlockChecksum(bytes));
}

uint32_t Align8(uint64_t size) {
    return static_cast<uint32_t>((size + 7) & ~uint64_t{7});
}

struct EncodedName {
    std::vector<uint8_t> bytes;
    bool latin1 = false;
};

EncodedName EncodeName(std::u16string_view name, NameForm form) {
    EncodedName out;
    if (form == NameForm::Auto) {
        const bool fits =
            std::all_of(name.begin(), name.end(), [](char16_t c) { return c < 0x100; });
        form = fits ? NameForm::Latin1 : NameForm::Utf16;
    }
    out.latin1 = form == NameForm::Latin1;
    out.bytes.reserve(name.size() * (out.latin1 ? 1 : 2));
    for (char16_t c : name) {
        out.bytes.push_back(static_cast<uint8_t>(c));
        if (!out.latin1) {
            out.bytes.push_back(static_cast<uint8_t>(c >> 8));
        }
    }
    return out;
}

char16_t UpperAscii(char16_t c) {
    return (c >= u'a' && c <= u'z') ? c - 32 : c;
}

uint32_t HashLeafWord(std::u16string_view name) {
    uint32_t hash = 0;
    for (char16_t c : name) {
        hash = hash * 37 + UpperAscii(c);
    }
    return hash;
}

uint32_t FastLeafWord(std::u16string_view name) {
    uint32_t hint = 0;
    for (size_t i = 0; i < 4 && i < name.size(); ++i) {
        hint |= static_cast<uint32_t>(static_cast<uint8_t>(name[i])) << (8 * i);
    }
    return hint;
}

// Appends cells to the hive bins, opening a new bin whenever a cell would cross the end of the
// current one, as Windows never lets a cell span two bins.
class CellWriter {
public:
    // Writes into new bins from `start`, the end of the bins already there.
    explicit CellWriter(std::vector<uint8_t>& bytes, uint64_t start = kBaseBlockSize)
        : bytes_(bytes), used_(start), binEnd_(start) {}

    // Allocates a cell for a record of `recordSize` bytes; returns its cell offset.
    uint32_t Allocate(uint64_t recordSize) {
        const uint32_t cellSize = std::max<uint32_t>(Align8(recordSize + kCellSizeWord), 8);
        if (binEnd_ - used_ < cellSize) {
            OpenBin(cellSize);
        }
        const uint64_t at = used_;
        used_ += cellSize;
        Put32(bytes_, at, static_cast<uint32_t>(-static_cast<int32_t>(cellSize)));
        return static_cast<uint32_t>(at - kBaseBlockSize);
    }

    // Allocates a cell holding `record`; returns its cell offset.
    uint32_t Store(std::span<const uint8_t> record) {
        const uint32_t cell = Allocate(record.size());
        std::copy(record.begin(), record.end(),
                  bytes_.begin() + static_cast<ptrdiff_t>(BuiltHive::RecordAt(cell)));
        return cell;
    }

    // Marks the cell at `cell` free (positive size word).
    void Free(uint32_t cell) {
        const uint64_t at = kBaseBlockSize + uint64_t{cell};
        Put32(bytes_, at, static_cast<uint32_t>(-static_cast<int32_t>(Get32(bytes_, at))));
    }

    void Finish() { CloseBin(); }

private:
    void CloseBin() {
        if (binEnd_ > used_) {
            Put32(bytes_, used_, static_cast<uint32_t>(binEnd_ - used_));  // one free cell
        }
        used_ = binEnd_;
    }

    void OpenBin(uint32_t cellSize) {
        CloseBin();
        const uint64_t size =
            (uint64_t{cellSize} + kBinHeaderSize + kHiveBinAlignment - 1) / kHiveBinAlignment * kHiveBinAlignment;
        const uint64_t start = bytes_.size();
        bytes_.resize(start + size, 0);
        std::memcpy(&bytes_[start], "hbin", 4);
        Put32(bytes_, start + kBinOffsetField, static_cast<uint32_t>(start - kBaseBlockSize));
        Put32(bytes_, start + kBinSizeField, static_cast<uint32_t>(size));
        used_ = start + kBinHeaderSize;
        binEnd_ = start + size;
    }

    std::vector<uint8_t>& bytes_;
    uint64_t used_;
    uint64_t binEnd_;
};

void WriteBaseBlock(std::vector<uint8_t>& bytes, uint32_t minorVersion, uint32_t rootCell) {
    std::memcpy(bytes.data(), "regf", 4);
    Put32(bytes, kPrimarySequence, 1);  // primary and secondary match: a clean hive
    Put32(bytes, kSecondarySequence, 1);
    Put32(bytes, kMajorVersion, 1);
    Put32(bytes, kMinorVersion, minorVersion);
    Put32(bytes, kFileType, 0);    // primary file
    Put32(bytes, kFileFormat, 1);  // direct memory load
    Put32(bytes, kRootCellOffset, rootCell);
    Put32(bytes, kClusteringFactor, 1);
    SealBaseBlock(bytes);
}

uint32_t WriteList(std::vector<uint8_t>& bytes, CellWriter& writer, ListKind kind,
                   std::span<const uint32_t> cells, std::span<const std::u16string_view> names) {
    const bool wide = kind != ListKind::Li;
    const uint32_t elementSize = wide ? 8 : 4;
    const uint32_t cell = writer.Allocate(4 + uint64_t{elementSize} * cells.size());
    const uint64_t at = BuiltHive::RecordAt(cell);
    const char* signature = kind == ListKind::Li ? "li" : kind == ListKind::Lf ? "lf" : "lh";
    std::memcpy(&bytes[at], signature, 2);
    Put16(bytes, at + kListCount, static_cast<uint16_t>(cells.size()));
    for (size_t i = 0; i < cells.size(); ++i) {
        const uint64_t element = at + kListElements + elementSize * i;
        Put32(bytes, element, cells[i]);
        if (wide) {
            Put32(bytes, element + 4,
                  kind == ListKind::Lf ? FastLeafWord(names[i]) : HashLeafWord(names[i]));
        }
    }
    return cell;
}

}  // namespace

void BuiltHive::PutU16(uint32_t cell, uint32_t offset, uint16_t value) {
    bytes.at(RecordAt(cell) + offset + 1);
    Put16(bytes, RecordAt(cell) + offset, value);
}

void BuiltHive::PutU32(uint32_t cell, uint32_t offset, uint32_t value) {
    bytes.at(RecordAt(cell) + offset + 3);
    Put32(bytes, RecordAt(cell) + offset, value);
}

uint32_t BuiltHive::GetU32(uint32_t cell, uint32_t offset) const {
    bytes.at(RecordAt(cell) + offset + 3);
    return Get32(bytes, RecordAt(cell) + offset);
}

uint32_t BuiltHive::AppendCell(std::span<const uint8_t> record) {
    CellWriter writer(bytes, bytes.size());
    const uint32_t cell = writer.Store(record);
    writer.Finish();
    SealBaseBlock(bytes);
    return cell;
}

uint32_t BuiltHive::AppendList(std::string_view signature, std::span<const uint32_t> elements,
                               uint16_t count) {
    const bool wide = signature != "li" && signature != "ri";
    const size_t elementSize = wide ? 8 : 4;
    std::vector<uint8_t> record(4 + elementSize * elements.size(), 0);
    std::memcpy(record.data(), signature.data(), std::min<size_t>(signature.size(), 2));
    Put16(record, kListCount, count);
    for (size_t i = 0; i < elements.size(); ++i) {
        Put32(record, kListElements + elementSize * i, elements[i]);
    }
    return AppendCell(record);
}

HiveBuilder::HiveBuilder(uint32_t minorVersion, std::u16string_view rootName)
    : minorVersion_(minorVersion) {
    keys_.push_back(Key{});
    keys_.back().name = rootName;
}

HiveBuilder::KeyId HiveBuilder::AddKey(KeyId parent, std::u16string_view name, NameForm form) {
    const auto id = static_cast<KeyId>(keys_.size());
    Key key;
    key.name = name;
    key.nameForm = form;
    key.parent = parent;
    keys_.push_back(std::move(key));
    keys_.at(parent).subkeys.push_back(id);
    return id;
}

HiveBuilder::KeyId HiveBuilder::AddPath(KeyId parent, std::u16string_view path) {
    KeyId at = parent;
    size_t pos = 0;
    while (pos <= path.size()) {
        const size_t end = std::min(path.find(u'\\', pos), path.size());
        const std::u16string_view component = path.substr(pos, end - pos);
        if (!component.empty()) {
            const auto& children = keys_.at(at).subkeys;
            const auto found = std::find_if(children.begin(), children.end(), [&](KeyId child) {
                return keys_[child].name == component;
            });
            at = found != children.end() ? *found : AddKey(at, component);
        }
        pos = end + 1;
    }
    return at;
}

void HiveBuilder::SetClass(KeyId key, std::u16string_view className) {
    keys_.at(key).className = className;
}

void HiveBuilder::SetLastWrite(KeyId key, FileTime time) {
    keys_.at(key).lastWrite = time;
}

void HiveBuilder::SetSubkeyList(KeyId key, ListKind kind, std::vector<RiLeaf> leaves) {
    keys_.at(key).listKind = kind;
    keys_.at(key).riLeaves = std::move(leaves);
}

void HiveBuilder::AddValue(KeyId key, std::u16string_view name, uint32_t type,
                           std::vector<uint8_t> data, DataForm form, NameForm nameForm) {
    keys_.at(key).values.push_back(
        Value{std::u16string(name), nameForm, type, std::move(data), form});
}

void HiveBuilder::AddString(KeyId key, std::u16string_view name, std::u16string_view text,
                            uint32_t type) {
    std::vector<uint8_t> data;
    data.reserve(2 * text.size() + 2);
    for (char16_t c : text) {
        data.push_back(static_cast<uint8_t>(c));
        data.push_back(static_cast<uint8_t>(c >> 8));
    }
    data.push_back(0);
    data.push_back(0);
    AddValue(key, name, type, std::move(data));
}

void HiveBuilder::AddDword(KeyId key, std::u16string_view name, uint32_t value) {
    AddValue(key, name, REG_DWORD,
             {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
              static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)});
}

BuiltHive HiveBuilder::Build() const {
    BuiltHive hive;
    std::vector<uint8_t>& bytes = hive.bytes;
    bytes.assign(kBaseBlockSize, 0);
    hive.keys.resize(keys_.size());
    CellWriter writer(bytes);

    if (rootAfterFiller_) {
        writer.Free(writer.Allocate(0x40));
    }

    // Keys in creation order: a parent always precedes its subkeys, so every key cell exists
    // before the lists that name it are written in the second pass.
    for (KeyId id = 0; id < keys_.size(); ++id) {
        const Key& key = keys_[id];
        KeyCells& cells = hive.keys[id];
        const EncodedName name = EncodeName(key.name, key.nameForm);
        if (name.bytes.size() > 0x7FFF) {
            throw std::invalid_argument("key name too long");
        }
        cells.key = writer.Allocate(kKeyFixedSize + name.bytes.size());
        const uint64_t nk = BuiltHive::RecordAt(cells.key);
        std::memcpy(&bytes[nk], "nk", 2);
        uint16_t flags = name.latin1 ? kKeyFlagLatin1Name : 0;
        if (id == kRoot) {
            flags |= kRootKeyFlags;
        }
        Put16(bytes, nk + kKeyFlags, flags);
        Put64(bytes, nk + kKeyLastWrite, key.lastWrite);
        Put32(bytes, nk + kKeyParent, id == kRoot ? 0 : hive.keys[key.parent].key);
        Put32(bytes, nk + kKeySubkeyList, KeyCells::kNone);
        Put32(bytes, nk + kKeyVolatileList, KeyCells::kNone);
        Put32(bytes, nk + kKeyValueList, KeyCells::kNone);
        Put32(bytes, nk + kKeySecurity, KeyCells::kNone);
        Put32(bytes, nk + kKeyClass, KeyCells::kNone);
        Put16(bytes, nk + kKeyNameLength, static_cast<uint16_t>(name.bytes.size()));
        std::copy(name.bytes.begin(), name.bytes.end(),
                  bytes.begin() + static_cast<ptrdiff_t>(nk + kKeyFixedSize));

        if (!key.className.empty()) {
            const EncodedName className = EncodeName(key.className, NameForm::Utf16);
            cells.className = writer.Store(className.bytes);
            const uint64_t at = BuiltHive::RecordAt(cells.key);
            Put32(bytes, at + kKeyClass, cells.className);
            Put16(bytes, at + kKeyClassLength,
                  static_cast<uint16_t>(className.bytes.size()));
        }

        for (const Value& value : key.values) {
            const EncodedName valueName = EncodeName(value.name, value.nameForm);
            const uint32_t vkCell = writer.Allocate(kValueFixedSize + valueName.bytes.size());
            cells.values.push_back(vkCell);
            const uint64_t vk = BuiltHive::RecordAt(vkCell);
            std::memcpy(&bytes[vk], "vk", 2);
            Put16(bytes, vk + kValueNameLength,
                  static_cast<uint16_t>(valueName.bytes.size()));
            Put32(bytes, vk + kValueType, value.type);
            Put16(bytes, vk + kValueFlags, valueName.latin1 ? kValueFlagLatin1Name : 0);
            std::copy(valueName.bytes.begin(), valueName.bytes.end(),
                      bytes.begin() + static_cast<ptrdiff_t>(vk + kValueFixedSize));

            const auto size = static_cast<uint32_t>(value.data.size());
            DataForm form = value.form;
            if (form == DataForm::Auto) {
                form = size <= 4                                             ? DataForm::Resident
                       : (size > kBigDataSegmentBytes && minorVersion_ >= 4) ? DataForm::BigData
                                                                             : DataForm::Cell;
            }
            uint32_t length = size;
            uint32_t offset = KeyCells::kNone;
            uint32_t dataCell = KeyCells::kNone;
            switch (form) {
                case DataForm::Auto:
                case DataForm::Resident:
                    length = size | kDataResident;
                    offset = 0;
                    for (uint32_t i = 0; i < std::min<uint32_t>(size, 4); ++i) {
                        offset |= static_cast<uint32_t>(value.data[i]) << (8 * i);
                    }
                    break;
                case DataForm::EmptyForm:
                    length = kDataResident;
                    offset = 0;
                    break;
                case DataForm::Cell:
                    if (size != 0) {
                        offset = dataCell = writer.Store(value.data);
                    }
                    break;
                case DataForm::BigData: {
                    const uint32_t segments =
                        (size + kBigDataSegmentBytes - 1) / kBigDataSegmentBytes;
                    dataCell = writer.Allocate(8);
                    const uint32_t listCell = writer.Allocate(4ull * segments);
                    for (uint32_t i = 0; i < segments; ++i) {
                        const uint32_t begin = i * kBigDataSegmentBytes;
                        const uint32_t part = std::min(size - begin, kBigDataSegmentBytes);
                        const uint32_t segment =
                            writer.Store(std::span(value.data).subspan(begin, part));
                        Put32(bytes, BuiltHive::RecordAt(listCell) + 4ull * i, segment);
                    }
                    const uint64_t db = BuiltHive::RecordAt(dataCell);
                    std::memcpy(&bytes[db], "db", 2);
                    Put16(bytes, db + kBigDataSegmentCount, static_cast<uint16_t>(segments));
                    Put32(bytes, db + kBigDataSegmentList, listCell);
                    offset = dataCell;
                    break;
                }
            }
            cells.data.push_back(dataCell);
            Put32(bytes, vk + kValueDataLength, length);
            Put32(bytes, vk + kValueDataOffset, offset);
        }
        if (!key.values.empty()) {
            cells.valueList = writer.Allocate(4ull * key.values.size());
            const uint64_t list = BuiltHive::RecordAt(cells.valueList);
            for (size_t i = 0; i < cells.values.size(); ++i) {
                Put32(bytes, list + 4 * i, cells.values[i]);
            }
            const uint64_t nkAt = BuiltHive::RecordAt(cells.key);
            Put32(bytes, nkAt + kKeyValueCount, static_cast<uint32_t>(key.values.size()));
            Put32(bytes, nkAt + kKeyValueList, cells.valueList);
        }
    }

    std::vector<uint32_t> childCells;
    std::vector<std::u16string_view> childNames;
    for (KeyId id = 0; id < keys_.size(); ++id) {
        const Key& key = keys_[id];
        if (key.subkeys.empty()) {
            continue;
        }
        KeyCells& cells = hive.keys[id];
        childCells.clear();
        childNames.clear();
        for (KeyId child : key.subkeys) {
            childCells.push_back(hive.keys[child].key);
            childNames.push_back(keys_[child].name);
        }
        if (key.listKind != ListKind::Ri && childCells.size() <= kMaxLeafCount) {
            cells.subkeyList = WriteList(bytes, writer, key.listKind, childCells, childNames);
        } else {
            // Too many subkeys for one leaf become a root index, as Windows does.
            std::vector<RiLeaf> leaves = key.riLeaves;
            if (leaves.empty()) {
                const ListKind kind = key.listKind == ListKind::Ri ? ListKind::Lh : key.listKind;
                for (size_t left = childCells.size(); left != 0;) {
                    const auto count = static_cast<uint32_t>(std::min<size_t>(left, kMaxLeafCount));
                    leaves.push_back({kind, count});
                    left -= count;
                }
            }
            size_t begin = 0;
            for (const RiLeaf& leaf : leaves) {
                const size_t count = std::min<size_t>(leaf.count, childCells.size() - begin);
                cells.leaves.push_back(WriteList(bytes, writer, leaf.kind,
                                                 std::span(childCells).subspan(begin, count),
                                                 std::span(childNames).subspan(begin, count)));
                begin += count;
            }
            if (begin != childCells.size()) {
                throw std::invalid_argument("root index leaves do not hold every subkey");
            }
            cells.subkeyList = writer.Allocate(4 + 4ull * cells.leaves.size());
            const uint64_t ri = BuiltHive::RecordAt(cells.subkeyList);
            std::memcpy(&bytes[ri], "ri", 2);
            Put16(bytes, ri + kListCount, static_cast<uint16_t>(cells.leaves.size()));
            for (size_t i = 0; i < cells.leaves.size(); ++i) {
                Put32(bytes, ri + kListElements + 4 * i, cells.leaves[i]);
            }
        }
        const uint64_t nk = BuiltHive::RecordAt(cells.key);
        Put32(bytes, nk + kKeySubkeyCount, static_cast<uint32_t>(key.subkeys.size()));
        Put32(bytes, nk + kKeySubkeyList, cells.subkeyList);
    }

    writer.Finish();
    WriteBaseBlock(bytes, minorVersion_, hive.keys[kRoot].key);
    return hive;
}

}  // namespace hivora::test
