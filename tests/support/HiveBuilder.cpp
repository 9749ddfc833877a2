#include "support/HiveBuilder.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "hive/HiveFileCheck.h"
#include "support/LittleEndian.h"

namespace hivora::test {
namespace {

using namespace layout;

template <std::unsigned_integral T>
void Put(std::vector<uint8_t>& out, uint64_t at, T value) {
    WriteLittleEndian<T>(out, at, value);
}

uint32_t Negated(uint32_t size) {
    return static_cast<uint32_t>(-static_cast<int32_t>(size));
}

// Records the hive bins' size and the checksum after the image changed size.
void SealBaseBlock(std::vector<uint8_t>& bytes) {
    Put<uint32_t>(bytes, kHiveBinsDataSize, static_cast<uint32_t>(bytes.size() - kBaseBlockSize));
    Put<uint32_t>(bytes, kChecksum, BaseBlockChecksum(bytes));
}

// The stored bytes of a name, and whether they hold one byte per character.
std::pair<std::vector<uint8_t>, bool> EncodeName(std::u16string_view name, NameForm form) {
    const bool latin1 =
        form == NameForm::Latin1 ||
        (form == NameForm::Auto &&
         std::all_of(name.begin(), name.end(), [](char16_t c) { return c < 0x100; }));
    std::vector<uint8_t> bytes;
    for (char16_t c : name) {
        bytes.push_back(static_cast<uint8_t>(c));
        if (!latin1) {
            bytes.push_back(static_cast<uint8_t>(c >> 8));
        }
    }
    return {bytes, latin1};
}

const char* Signature(ListKind kind) {
    return kind == ListKind::Li ? "li" : kind == ListKind::Lf ? "lf" : "lh";
}

// Appends cells after the end of the image, opening a new bin whenever a cell would cross the
// end of the current one, as Windows never lets a cell span two bins.
class CellWriter {
public:
    explicit CellWriter(std::vector<uint8_t>& bytes)
        : bytes_(bytes), used_(bytes.size()), binEnd_(bytes.size()) {}

    // Allocates a cell for a record of `size` bytes that starts with `signature`.
    uint32_t Allocate(uint64_t size, std::string_view signature = {}) {
        const auto cellSize =
            static_cast<uint32_t>(std::max<uint64_t>((size + kCellSizeWord + 7) & ~7ull, 8));
        if (binEnd_ - used_ < cellSize) {
            OpenBin(cellSize);
        }
        const uint64_t at = used_;
        used_ += cellSize;
        Put<uint32_t>(bytes_, at, Negated(cellSize));
        std::copy(signature.begin(), signature.end(),
                  bytes_.begin() + static_cast<ptrdiff_t>(at + kCellSizeWord));
        return static_cast<uint32_t>(at - kHiveBinsStart);
    }

    uint32_t Store(std::span<const uint8_t> record) {
        const uint32_t cell = Allocate(record.size());
        std::copy(record.begin(), record.end(),
                  bytes_.begin() + static_cast<ptrdiff_t>(BuiltHive::RecordAt(cell)));
        return cell;
    }

    // Signature, 16-bit count, then 4-byte elements ("li", "ri") or 8-byte ones with a zero hash.
    uint32_t List(std::string_view signature, std::span<const uint32_t> elements, uint16_t count) {
        const size_t step = signature == "li" || signature == "ri" ? 4 : 8;
        const uint32_t cell = Allocate(kListElements + step * elements.size(), signature);
        const uint64_t at = BuiltHive::RecordAt(cell);
        Put<uint16_t>(bytes_, at + kListCount, count);
        for (size_t i = 0; i < elements.size(); ++i) {
            Put<uint32_t>(bytes_, at + kListElements + step * i, elements[i]);
        }
        return cell;
    }
    uint32_t List(std::string_view signature, std::span<const uint32_t> elements) {
        return List(signature, elements, static_cast<uint16_t>(elements.size()));
    }

    // A bare array of cell offsets (value lists, big-data segment lists).
    uint32_t Offsets(std::span<const uint32_t> cells) {
        const uint32_t cell = Allocate(4 * cells.size());
        for (size_t i = 0; i < cells.size(); ++i) {
            Put<uint32_t>(bytes_, BuiltHive::RecordAt(cell) + 4 * i, cells[i]);
        }
        return cell;
    }

    // Leaves the rest of the current bin as one free cell.
    void Finish() {
        if (binEnd_ > used_) {
            Put<uint32_t>(bytes_, used_, static_cast<uint32_t>(binEnd_ - used_));
        }
        used_ = binEnd_;
    }

private:
    void OpenBin(uint32_t cellSize) {
        Finish();
        const uint64_t size = (cellSize + kBinHeaderSize + kHiveBinAlignment - 1) /
                              kHiveBinAlignment * kHiveBinAlignment;
        const uint64_t start = bytes_.size();
        bytes_.resize(start + size, 0);
        std::memcpy(&bytes_[start], "hbin", 4);
        Put<uint32_t>(bytes_, start + kBinOffsetField,
                      static_cast<uint32_t>(start - kHiveBinsStart));
        Put<uint32_t>(bytes_, start + kBinSizeField, static_cast<uint32_t>(size));
        used_ = start + kBinHeaderSize;
        binEnd_ = start + size;
    }

    std::vector<uint8_t>& bytes_;
    uint64_t used_;
    uint64_t binEnd_;
};

}  // namespace

void BuiltHive::PutU16(uint32_t cell, uint32_t offset, uint16_t value) {
    bytes.at(RecordAt(cell) + offset + 1);  // throws rather than write past the image
    Put<uint16_t>(bytes, RecordAt(cell) + offset, value);
}

void BuiltHive::PutU32(uint32_t cell, uint32_t offset, uint32_t value) {
    bytes.at(RecordAt(cell) + offset + 3);
    Put<uint32_t>(bytes, RecordAt(cell) + offset, value);
}

uint32_t BuiltHive::GetU32(uint32_t cell, uint32_t offset) const {
    bytes.at(RecordAt(cell) + offset + 3);
    return ReadLe32(bytes, RecordAt(cell) + offset);
}

uint32_t BuiltHive::AppendList(std::string_view signature, std::span<const uint32_t> elements,
                               uint16_t count) {
    CellWriter writer(bytes);
    const uint32_t cell = writer.List(signature, elements, count);
    writer.Finish();
    SealBaseBlock(bytes);
    return cell;
}

HiveBuilder::HiveBuilder(uint32_t minorVersion, std::u16string_view rootName)
    : minorVersion_(minorVersion) {
    keys_.push_back(Key{});
    keys_.back().name = rootName;
}

HiveBuilder::KeyId HiveBuilder::AddKey(KeyId parent, std::u16string_view name, NameForm form) {
    const auto id = static_cast<KeyId>(keys_.size());
    keys_.push_back(Key{std::u16string(name), form, parent});
    keys_.at(parent).subkeys.push_back(id);
    return id;
}

HiveBuilder::KeyId HiveBuilder::AddPath(KeyId parent, std::u16string_view path) {
    for (size_t pos = 0; pos <= path.size();) {
        const size_t end = std::min(path.find(u'\\', pos), path.size());
        const std::u16string_view component = path.substr(pos, end - pos);
        if (!component.empty()) {
            const auto& children = keys_.at(parent).subkeys;
            const auto found = std::find_if(children.begin(), children.end(), [&](KeyId child) {
                return keys_[child].name == component;
            });
            parent = found != children.end() ? *found : AddKey(parent, component);
        }
        pos = end + 1;
    }
    return parent;
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
    std::vector<uint8_t> data = EncodeName(text, NameForm::Utf16).first;
    data.resize(data.size() + 2, 0);
    AddValue(key, name, type, std::move(data));
}

void HiveBuilder::AddDword(KeyId key, std::u16string_view name, uint32_t value) {
    std::vector<uint8_t> data(4);
    WriteLittleEndian<uint32_t>(data, 0, value);
    AddValue(key, name, REG_DWORD, std::move(data));
}

BuiltHive HiveBuilder::Build() const {
    BuiltHive hive;
    std::vector<uint8_t>& bytes = hive.bytes;
    bytes.assign(kBaseBlockSize, 0);
    hive.keys.resize(keys_.size());
    CellWriter writer(bytes);
    if (rootAfterFiller_) {
        const uint64_t filler = kHiveBinsStart + writer.Allocate(0x40);
        Put<uint32_t>(bytes, filler, Negated(ReadLe32(bytes, filler)));  // a free cell
    }

    // Keys in creation order: a parent always precedes its subkeys, so every key cell exists
    // before the lists that name it are written in the second pass.
    for (KeyId id = 0; id < keys_.size(); ++id) {
        const Key& key = keys_[id];
        KeyCells& cells = hive.keys[id];
        const auto [name, latin1] = EncodeName(key.name, key.nameForm);
        cells.key = writer.Allocate(kKeyFixedSize + name.size(), "nk");
        const uint64_t nk = BuiltHive::RecordAt(cells.key);
        const uint16_t rootFlags = id == kRoot ? kKeyFlagHiveEntry | kKeyFlagNoDelete : 0;
        Put<uint16_t>(bytes, nk + kKeyFlags, (latin1 ? kKeyFlagLatin1Name : 0) | rootFlags);
        Put<uint64_t>(bytes, nk + kKeyLastWrite, key.lastWrite);
        Put<uint32_t>(bytes, nk + kKeyParent, id == kRoot ? 0 : hive.keys[key.parent].key);
        for (uint32_t at :
             {kKeySubkeyList, kKeyVolatileList, kKeyValueList, kKeySecurity, kKeyClass}) {
            Put<uint32_t>(bytes, nk + at, kNoCell);
        }
        Put<uint16_t>(bytes, nk + kKeyNameLength, static_cast<uint16_t>(name.size()));
        std::copy(name.begin(), name.end(),
                  bytes.begin() + static_cast<ptrdiff_t>(nk + kKeyFixedSize));
        if (!key.className.empty()) {
            const std::vector<uint8_t> className = EncodeName(key.className, NameForm::Utf16).first;
            Put<uint32_t>(bytes, nk + kKeyClass, writer.Store(className));
            Put<uint16_t>(bytes, nk + kKeyClassLength, static_cast<uint16_t>(className.size()));
        }

        for (const Value& value : key.values) {
            const auto [valueName, valueLatin1] = EncodeName(value.name, value.nameForm);
            cells.values.push_back(writer.Allocate(kValueFixedSize + valueName.size(), "vk"));
            const uint64_t vk = BuiltHive::RecordAt(cells.values.back());
            Put<uint16_t>(bytes, vk + kValueNameLength, static_cast<uint16_t>(valueName.size()));
            Put<uint32_t>(bytes, vk + kValueType, value.type);
            Put<uint16_t>(bytes, vk + kValueFlags, valueLatin1 ? kValueFlagLatin1Name : 0);
            std::copy(valueName.begin(), valueName.end(),
                      bytes.begin() + static_cast<ptrdiff_t>(vk + kValueFixedSize));

            const auto size = static_cast<uint32_t>(value.data.size());
            DataForm form = value.form;
            if (form == DataForm::Auto) {
                const bool big =
                    size > kBigDataSegmentBytes && minorVersion_ >= kBigDataMinorVersion;
                form = size <= 4 ? DataForm::Resident : big ? DataForm::BigData : DataForm::Cell;
            }
            uint32_t length = size;
            uint32_t offset = kNoCell;
            uint32_t dataCell = kNoCell;
            if (form == DataForm::Resident || form == DataForm::EmptyForm) {
                length = (form == DataForm::Resident ? size : 0) | kDataResident;
                offset = 0;
                for (uint32_t i = 0; form == DataForm::Resident && i < std::min(size, 4u); ++i) {
                    offset |= static_cast<uint32_t>(value.data[i]) << (8 * i);
                }
            } else if (form == DataForm::Cell && size != 0) {
                offset = dataCell = writer.Store(value.data);
            } else if (form == DataForm::BigData) {
                std::vector<uint32_t> segments;
                for (uint32_t begin = 0; begin < size; begin += kBigDataSegmentBytes) {
                    segments.push_back(writer.Store(
                        std::span(value.data)
                            .subspan(begin, std::min(size - begin, kBigDataSegmentBytes))));
                }
                const uint32_t list = writer.Offsets(segments);
                offset = dataCell = writer.Allocate(8, "db");
                Put<uint16_t>(bytes, BuiltHive::RecordAt(dataCell) + kBigDataSegmentCount,
                              static_cast<uint16_t>(segments.size()));
                Put<uint32_t>(bytes, BuiltHive::RecordAt(dataCell) + kBigDataSegmentList, list);
            }
            cells.data.push_back(dataCell);
            Put<uint32_t>(bytes, vk + kValueDataLength, length);
            Put<uint32_t>(bytes, vk + kValueDataOffset, offset);
        }
        if (!key.values.empty()) {
            cells.valueList = writer.Offsets(cells.values);
            Put<uint32_t>(bytes, nk + kKeyValueCount, static_cast<uint32_t>(key.values.size()));
            Put<uint32_t>(bytes, nk + kKeyValueList, cells.valueList);
        }
    }

    for (KeyId id = 0; id < keys_.size(); ++id) {
        const Key& key = keys_[id];
        if (key.subkeys.empty()) {
            continue;
        }
        std::vector<uint32_t> children;
        for (KeyId child : key.subkeys) {
            children.push_back(hive.keys[child].key);
        }
        KeyCells& cells = hive.keys[id];
        if (key.listKind != ListKind::Ri) {
            cells.subkeyList = writer.List(Signature(key.listKind), children);
        } else {
            std::vector<RiLeaf> leaves = key.riLeaves;
            if (leaves.empty()) {
                leaves.push_back({ListKind::Lh, static_cast<uint32_t>(children.size())});
            }
            std::vector<uint32_t> leafCells;
            size_t begin = 0;
            for (const RiLeaf& leaf : leaves) {
                const size_t count = std::min<size_t>(leaf.count, children.size() - begin);
                leafCells.push_back(
                    writer.List(Signature(leaf.kind), std::span(children).subspan(begin, count)));
                begin += count;
            }
            if (begin != children.size()) {
                throw std::invalid_argument("root index leaves do not hold every subkey");
            }
            cells.subkeyList = writer.List("ri", leafCells);
        }
        const uint64_t nk = BuiltHive::RecordAt(cells.key);
        Put<uint32_t>(bytes, nk + kKeySubkeyCount, static_cast<uint32_t>(key.subkeys.size()));
        Put<uint32_t>(bytes, nk + kKeySubkeyList, cells.subkeyList);
    }
    writer.Finish();

    std::memcpy(bytes.data(), "regf", 4);
    for (const auto& [at, value] : {std::pair{kPrimarySequence, 1u},
                                    {kSecondarySequence, 1u},  // clean
                                    {kMajorVersion, 1u},
                                    {kMinorVersion, minorVersion_},
                                    {kFileFormat, 1u},  // direct memory load
                                    {kRootCellOffset, hive.keys[kRoot].key},
                                    {kClusteringFactor, 1u}}) {
        Put<uint32_t>(bytes, at, value);
    }
    SealBaseBlock(bytes);
    return hive;
}

}  // namespace hivora::test
