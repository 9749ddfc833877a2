// Compares what the engine reads from the intact corpus hives with what two independent
// readers print for them: hivexml (XML, binary data in base64) and reglookup (one CSV-like line
// per key and value, %XX-escaped). Both are run as black boxes; only their output is read.
//
// Known differences between the peers and the engine, accepted by name:
// - kBigDataTail: both peers drop up to 4 trailing bytes of a big-data value whose last segment
//   cell has no slack after the data; the engine returns the whole value.
// - kDwordWrongSize: hivexml prints -1 for an int32/int64 value whose data is too short (and
//   reads the leading bytes of one that is too long); reglookup prints "(null)" for empty data.
// - reglookup prints names that are not ASCII as raw bytes, so names are compared with hivexml
//   only; it also loops on subkey cycles, and hivex refuses many damaged files, so only the
//   intact hives are compared.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "support/LittleEndian.h"
#include "hive/CorpusSupport.h"
#include "hive/HiveTestSupport.h"
#include "hive/TreeWalk.h"

namespace hivora::test {
namespace {

// Damaged on purpose; the peers refuse them or disagree by design.
const std::set<std::string> kDamagedHives = {
    "regipy/corrupted_system_hive",
    "dfir-artifact-museum/Registry/Win7/SAMBadHBinHeader",
    "dfir-artifact-museum/Registry/Win7/SAN(OTHER)",
    "dfir-artifact-museum/Registry/Win7/SECURITYNoRoot",
    "plaso/regf/corrupt_sub_key_list.hiv",
};

bool IsComparedHive(const std::string& name) {
    if (name.starts_with("yarp/") || kDamagedHives.count(name) != 0) {
        return false;  // edge-case and damaged hives
    }
    std::string lower;
    for (char c : name) {
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower.find(".log") == std::string::npos;  // transaction logs hold no tree
}

bool HaveTool(const char* tool) {
    const std::string command = std::string("command -v ") + tool + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

std::string Quote(const std::string& path) {
    std::string out = "'";
    for (char c : path) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

// Runs `command` and returns its standard output; `ok` tells whether it exited with 0.
std::string RunTool(const std::string& command, bool& ok) {
    std::string out;
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) {
        ok = false;
        return out;
    }
    char buffer[65536];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        out.append(buffer, got);
    }
    ok = ::pclose(pipe) == 0;
    return out;
}

// One key or value in walk order (a key, its values, then its subkeys).
struct Item {
    bool isKey = false;
    std::string name;  // UTF-8; a key's own name, a value's name
    uint32_t type = 0;
    std::vector<uint8_t> data;
    // Peer side only.
    std::string typeText;
    std::string valueText;
    bool hasValue = false;
    bool base64 = false;
    std::vector<std::string> strings;
};

std::vector<Item> EngineItems(const std::filesystem::path& file) {
    std::vector<Item> items;
    if (!LoadIntoSystemSlot(file)) {
        return items;
    }
    RegKey root = OpenRegKey(HKEY_LOCAL_MACHINE, u"system");
    TreeVisitor visitor;
    visitor.onKey = [&](const std::u16string& path, int) {
        Item item;
        item.isKey = true;
        const size_t slash = path.rfind(u'\\');
        item.name = ToUtf8(slash == std::u16string::npos ? path : path.substr(slash + 1));
        items.push_back(std::move(item));
    };
    visitor.onValue = [&](const std::u16string&, const WalkedValue& value) {
        Item item;
        item.name = ToUtf8(value.name);
        item.type = value.type;
        item.data = value.data;
        items.push_back(std::move(item));
    };
    if (root) {
        WalkTree(root.get(), visitor);
    }
    root.Reset();
    FreeHiveSet();
    return items;
}

uint64_t LittleEndian(const std::vector<uint8_t>& data, size_t bytes) {
    return bytes == 8 ? ReadLe64(data) : ReadLe32(data);
}

// The UTF-16 strings of string data, as UTF-8. A list ends at its first empty string unless
// `skipEmpty`, which passes over empty strings instead.
std::vector<std::string> StringsOf(const std::vector<uint8_t>& data, bool skipEmpty = false) {
    std::vector<std::string> strings;
    std::u16string text;
    for (size_t i = 0; i + 1 < data.size(); i += 2) {
        const char16_t c = ReadLe16(data, i);
        if (c != 0) {
            text.push_back(c);
        } else if (!text.empty()) {
            strings.push_back(ToUtf8(text));
            text.clear();
        } else if (!skipEmpty) {
            break;
        }
    }
    if (!text.empty()) {
        strings.push_back(ToUtf8(text));
    }
    return strings;
}

// The text of string data up to its first terminator.
std::string TextOf(const std::vector<uint8_t>& data) {
    const std::vector<std::string> strings = StringsOf(data);
    return strings.empty() ? std::string() : strings.front();
}

enum class Verdict { kSame, kBigDataTail, kDwordWrongSize, kDifferent };

// Whether `theirs` is `ours` less the up to four bytes a peer drops from big data.
bool IsBigDataTail(const std::vector<uint8_t>& ours, const std::vector<uint8_t>& theirs) {
    return ours.size() > kBigDataSegmentBytes && theirs.size() < ours.size() &&
           theirs.size() + 4 >= ours.size() &&
           std::equal(theirs.begin(), theirs.end(), ours.begin());
}

Verdict CompareBytes(const std::vector<uint8_t>& ours, const std::vector<uint8_t>& theirs) {
    if (ours == theirs) {
        return Verdict::kSame;
    }
    return IsBigDataTail(ours, theirs) ? Verdict::kBigDataTail : Verdict::kDifferent;
}

struct Tally {
    size_t compared = 0;
    size_t bigDataTail = 0;
    size_t dwordWrongSize = 0;
    std::vector<std::string> differences;

    void Add(Verdict verdict, const std::string& what) {
        ++compared;
        bigDataTail += verdict == Verdict::kBigDataTail;
        dwordWrongSize += verdict == Verdict::kDwordWrongSize;
        if (verdict == Verdict::kDifferent) {
            differences.push_back(what);
        }
    }
};

// ---- hivexml ----

std::string XmlUnescape(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
            continue;
        }
        const size_t end = text.find(';', i);
        const std::string_view entity = text.substr(i + 1, end - i - 1);
        static const std::pair<std::string_view, char> kNamed[] = {
            {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
        const auto* named = std::find_if(std::begin(kNamed), std::end(kNamed),
                                         [&](const auto& row) { return row.first == entity; });
        if (named != std::end(kNamed)) {
            out += named->second;
        } else if (!entity.empty() && entity[0] == '#') {
            const bool hex = entity.size() > 1 && (entity[1] == 'x' || entity[1] == 'X');
            const uint32_t code = static_cast<uint32_t>(
                std::stoul(std::string(entity.substr(hex ? 2 : 1)), nullptr, hex ? 16 : 10));
            out += ToUtf8(std::u16string(1, static_cast<char16_t>(code)));
        }
        i = end;
    }
    return out;
}

std::vector<uint8_t> Base64Decode(std::string_view text) {
    std::vector<uint8_t> out;
    uint32_t bits = 0;
    int count = 0;
    constexpr std::string_view kAlphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (char c : text) {
        const size_t v = kAlphabet.find(c);
        if (v == std::string_view::npos) {
            continue;
        }
        bits = bits << 6 | static_cast<uint32_t>(v);
        count += 6;
        if (count >= 8) {
            count -= 8;
            out.push_back(static_cast<uint8_t>(bits >> count));
        }
    }
    return out;
}

// Attribute `name` of the tag text `tag`, unescaped; `found` tells whether it was there.
std::string Attribute(std::string_view tag, std::string_view name, bool& found) {
    const std::string key = " " + std::string(name) + "=\"";
    const size_t at = tag.find(key);
    found = at != std::string_view::npos;
    if (!found) {
        return {};
    }
    const size_t begin = at + key.size();
    return XmlUnescape(tag.substr(begin, tag.find('"', begin) - begin));
}

std::vector<Item> HivexItems(const std::string& xml) {
    std::vector<Item> items;
    Item* openValue = nullptr;
    for (size_t pos = xml.find('<'); pos != std::string::npos; pos = xml.find('<', pos + 1)) {
        const size_t end = xml.find('>', pos);
        if (end == std::string::npos) {
            break;
        }
        const std::string_view tag(xml.data() + pos, end - pos);
        bool found = false;
        if (tag.starts_with("<node ")) {
            Item item;
            item.isKey = true;
            item.name = Attribute(tag, "name", found);
            items.push_back(std::move(item));
            openValue = nullptr;
        } else if (tag.starts_with("<value ")) {
            Item item;
            item.typeText = Attribute(tag, "type", found);
            item.name = Attribute(tag, "key", found);
            item.valueText = Attribute(tag, "value", item.hasValue);
            Attribute(tag, "encoding", item.base64);
            items.push_back(std::move(item));
            openValue = tag.ends_with("/") ? nullptr : &items.back();
        } else if (tag == "<string" && openValue != nullptr) {
            const size_t close = xml.find("</string>", end);
            openValue->strings.push_back(
                XmlUnescape(std::string_view(xml).substr(end + 1, close - end - 1)));
        } else if (tag == "</value") {
            openValue = nullptr;
        }
    }
    return items;
}

// How each peer names the value types it knows.
struct PeerTypeNames {
    uint32_t type;
    const char* hivex;
    const char* reglookup;
};
constexpr PeerTypeNames kPeerTypeNames[] = {
    {REG_NONE, "none", "NONE"},
    {REG_SZ, "string", "SZ"},
    {REG_EXPAND_SZ, "expand", "EXPAND_SZ"},
    {REG_BINARY, "binary", "BINARY"},
    {REG_DWORD, "int32", "DWORD"},
    {REG_DWORD_BIG_ENDIAN, "int32", "DWORD_BE"},
    {REG_LINK, "link", "LINK"},
    {REG_MULTI_SZ, "string-list", "MULTI_SZ"},
    {REG_RESOURCE_LIST, "resource-list", "RSRC_LIST"},
    {REG_FULL_RESOURCE_DESCRIPTOR, "full-resource-description", "RSRC"},
    {REG_RESOURCE_REQUIREMENTS_LIST, "resource-requirements", "RSRC_REQ_LIST"},
    {REG_QWORD, "int64", "QWORD"},
};

const PeerTypeNames* PeerNamesOf(uint32_t type) {
    for (const auto& row : kPeerTypeNames) {
        if (row.type == type) {
            return &row;
        }
    }
    return nullptr;
}

std::string HivexTypeName(uint32_t type) {
    const PeerTypeNames* names = PeerNamesOf(type);
    return names != nullptr ? names->hivex : "unknown";
}

std::string ReglookupTypeName(uint32_t type) {
    if (const PeerTypeNames* names = PeerNamesOf(type)) {
        return names->reglookup;
    }
    char text[16];
    std::snprintf(text, sizeof text, "0x%08" PRIX32, type);
    return text;
}

Verdict CompareWithHivex(const Item& ours, const Item& theirs) {
    if (ours.isKey) {
        return ours.name == theirs.name ? Verdict::kSame : Verdict::kDifferent;
    }
    if (ours.name != theirs.name || HivexTypeName(ours.type) != theirs.typeText) {
        return Verdict::kDifferent;
    }
    if (theirs.typeText == "int32" || theirs.typeText == "int64") {
        const size_t width = theirs.typeText == "int32" ? 4 : 8;
        // hivexml prints -1 when the data is too short for the number, and reads the leading
        // bytes when it is too long.
        if (ours.data.size() < width) {
            return theirs.valueText == "-1" ? Verdict::kDwordWrongSize : Verdict::kDifferent;
        }
        uint64_t value = LittleEndian(ours.data, width);
        if (ours.type == REG_DWORD_BIG_ENDIAN) {
            value = __builtin_bswap32(static_cast<uint32_t>(value));
        }
        const std::string expected = width == 4 ? std::to_string(static_cast<int32_t>(value))
                                                : std::to_string(static_cast<int64_t>(value));
        return expected == theirs.valueText ? Verdict::kSame : Verdict::kDifferent;
    }
    if (theirs.typeText == "string-list" && !theirs.base64) {
        // hivexml lists an empty string for extra terminators; the list ends at the first.
        std::vector<std::string> strings = theirs.strings;
        strings.erase(std::find(strings.begin(), strings.end(), std::string()), strings.end());
        return StringsOf(ours.data) == strings ? Verdict::kSame : Verdict::kDifferent;
    }
    if ((theirs.typeText == "string" || theirs.typeText == "expand") && !theirs.base64) {
        return TextOf(ours.data) == theirs.valueText ? Verdict::kSame : Verdict::kDifferent;
    }
    if (!theirs.hasValue) {
        // hivexml leaves the value out where it cannot print the data; there is nothing to
        // compare but the type.
        return Verdict::kSame;
    }
    return CompareBytes(ours.data, Base64Decode(theirs.valueText));
}

// ---- reglookup ----

std::vector<uint8_t> Unescape(std::string_view text) {
    std::vector<uint8_t> out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() &&
            std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            out.push_back(
                static_cast<uint8_t>(std::stoul(std::string(text.substr(i + 1, 2)), nullptr, 16)));
            i += 2;
        } else {
            out.push_back(static_cast<uint8_t>(text[i]));
        }
    }
    return out;
}

std::vector<Item> ReglookupItems(const std::string& output) {
    std::vector<Item> items;
    size_t pos = output.find('\n');  // skip the header line
    while (pos != std::string::npos && pos + 1 < output.size()) {
        const size_t end = output.find('\n', pos + 1);
        const std::string_view line(output.data() + pos + 1,
                                    (end == std::string::npos ? output.size() : end) - pos - 1);
        pos = end;
        const size_t first = line.find(',');
        const size_t second = line.find(',', first + 1);
        const size_t third = line.find(',', second + 1);
        if (third == std::string_view::npos) {
            continue;
        }
        Item item;
        item.typeText = std::string(line.substr(first + 1, second - first - 1));
        item.isKey = item.typeText == "KEY";
        item.valueText = std::string(line.substr(second + 1, third - second - 1));
        items.push_back(std::move(item));
    }
    return items;
}

bool IsPlainAscii(const std::string& text) {
    for (unsigned char c : text) {
        if (c < 0x20 || c >= 0x7F) {
            return false;
        }
    }
    return true;
}

Verdict CompareWithReglookup(const Item& ours, const Item& theirs) {
    if (ours.isKey) {
        return Verdict::kSame;  // names may be raw bytes there
    }
    if (ReglookupTypeName(ours.type) != theirs.typeText) {
        return Verdict::kDifferent;
    }
    if (ours.data.empty()) {
        return theirs.valueText == "(null)" || theirs.valueText.empty() ? Verdict::kSame
                                                                        : Verdict::kDifferent;
    }
    char number[32];
    switch (ours.type) {
        case REG_DWORD:
        case REG_DWORD_BIG_ENDIAN:
        case REG_QWORD: {
            const size_t width = ours.type == REG_QWORD ? 8 : 4;
            if (ours.data.size() != width) {
                return Verdict::kSame;  // printed as raw bytes with a warning; nothing to match
            }
            uint64_t value = LittleEndian(ours.data, width);
            if (ours.type == REG_DWORD_BIG_ENDIAN) {
                value = __builtin_bswap32(static_cast<uint32_t>(value));
            }
            std::snprintf(number, sizeof number, width == 8 ? "0x%016" PRIX64 : "0x%08" PRIX64,
                          value);
            return theirs.valueText == number ? Verdict::kSame : Verdict::kDifferent;
        }
        case REG_SZ:
        case REG_EXPAND_SZ:
        case REG_MULTI_SZ: {
            // reglookup joins the strings of a list with "|", leaving out empty ones.
            std::string text;
            if (ours.type == REG_MULTI_SZ) {
                for (const std::string& part : StringsOf(ours.data, true)) {
                    text += (text.empty() ? "" : "|") + part;
                }
            } else {
                text = TextOf(ours.data);
            }
            const std::vector<uint8_t> theirsBytes = Unescape(theirs.valueText);
            if (theirsBytes == ours.data) {
                return Verdict::kSame;  // it quotes the raw buffer when text follows the end
            }
            if (!IsPlainAscii(text) || text.find('|') != std::string::npos) {
                return Verdict::kSame;  // escaped in ways not worth mirroring here
            }
            return std::string(theirsBytes.begin(), theirsBytes.end()) == text
                       ? Verdict::kSame
                       : Verdict::kDifferent;
        }
        default:
            return CompareBytes(ours.data, Unescape(theirs.valueText));
    }
}

// ---- the comparison ----

std::string Describe(const std::string& hive, size_t index, const Item& ours, const Item& theirs) {
    std::string text =
        hive + ": item " + std::to_string(index) + (ours.isKey ? " key " : " value ") + ours.name +
        " type " + std::to_string(ours.type) + ", " + std::to_string(ours.data.size()) + " bytes:";
    char hex[4];
    for (size_t i = 0; i < ours.data.size() && i < 24; ++i) {
        std::snprintf(hex, sizeof hex, " %02x", ours.data[i]);
        text += hex;
    }
    return text + "; peer " + theirs.typeText + " \"" + theirs.valueText.substr(0, 80) + "\"";
}

template <class Compare>
void CompareHive(const std::string& name, const std::vector<Item>& ours,
                 const std::vector<Item>& theirs, Compare compare, Tally& tally) {
    auto count = [](const std::vector<Item>& items, bool keys) {
        return std::count_if(items.begin(), items.end(),
                             [&](const Item& item) { return item.isKey == keys; });
    };
    EXPECT_EQ(count(ours, true), count(theirs, true)) << name << ": keys";
    EXPECT_EQ(count(ours, false), count(theirs, false)) << name << ": values";
    if (ours.size() != theirs.size()) {
        return;
    }
    // Item 0 is the start key, whose own name the walk does not see.
    for (size_t i = 1; i < ours.size(); ++i) {
        if (ours[i].isKey != theirs[i].isKey) {
            tally.differences.push_back(name + ": walk order differs at item " + std::to_string(i));
            return;
        }
        tally.Add(compare(ours[i], theirs[i]), Describe(name, i, ours[i], theirs[i]));
    }
}

void ReportTally(const char* peer, const Tally& tally) {
    std::printf("%s: %zu items compared, %zu big-data tails, %zu wrong-size numbers\n", peer,
                tally.compared, tally.bigDataTail, tally.dwordWrongSize);
    for (size_t i = 0; i < tally.differences.size() && i < 20; ++i) {
        ADD_FAILURE() << peer << ": " << tally.differences[i];
    }
    EXPECT_TRUE(tally.differences.empty())
        << tally.differences.size() << " differences with " << peer;
}

class OracleTest : public HiveSetTest {
protected:
    void SetUp() override {
        HiveSetTest::SetUp();
        folder_ = CorpusFolder();
        if (folder_.empty()) {
            GTEST_SKIP() << "HIVORA_CORPUS is not set or names no folder; oracle tests skipped";
        }
        for (const auto& file : CorpusHives(folder_)) {
            const std::string name = CorpusName(folder_, file);
            if (IsComparedHive(name)) {
                hives_.push_back(file);
            }
        }
#if defined(__SANITIZE_ADDRESS__)
        // The AddressSanitizer build compares a sample, every third hive, to keep its run short.
        std::vector<std::filesystem::path> sample;
        for (size_t i = 0; i < hives_.size(); i += 3) {
            sample.push_back(hives_[i]);
        }
        hives_ = sample;
#endif
    }

    std::filesystem::path folder_;
    std::vector<std::filesystem::path> hives_;

    // Runs `tool` on every compared hive and checks what it prints against the engine.
    template <class Parse, class Compare>
    void CompareWithPeer(const std::string& tool, Parse parse, Compare compare) {
        if (!HaveTool(tool.c_str())) {
            GTEST_SKIP() << tool << " is not installed; comparison skipped";
        }
        Tally tally;
        for (const auto& file : hives_) {
            const std::string name = CorpusName(folder_, file);
            bool ok = false;
            const std::string output = RunTool(tool + " " + Quote(file.string()), ok);
            if (!ok) {
                ADD_FAILURE() << tool << " refused intact hive " << name;
                continue;
            }
            CompareHive(name, EngineItems(file), parse(output), compare, tally);
        }
        ReportTally(tool.c_str(), tally);
    }
};

TEST_F(OracleTest, HivexmlReadsTheSameKeysValuesAndData) {
    CompareWithPeer("hivexml", HivexItems, CompareWithHivex);
}

TEST_F(OracleTest, ReglookupReadsTheSameKeysValuesAndData) {
    CompareWithPeer("reglookup", ReglookupItems, CompareWithReglookup);
}

// The builder's hives must read the same in the peers as in the engine, or tests built on them
// would prove nothing about real hives.
TEST(BuilderOracleTest, PeersReadBuilderHivesAsTheEngineDoes) {
    if (!HaveTool("hivexml") || !HaveTool("reglookup")) {
        GTEST_SKIP() << "hivexml or reglookup is not installed; comparison skipped";
    }
    HiveBuilder builder(5, u"BuilderRoot");
    const auto wide = builder.AddKey(HiveBuilder::kRoot, u"WideKey");
    for (int i = 0; i < 40; ++i) {
        const auto key = builder.AddKey(wide, u"sub" + ToUtf16(std::to_string(i)));
        builder.AddDword(key, u"n", static_cast<uint32_t>(i));
    }
    builder.SetSubkeyList(
        wide, ListKind::Ri,
        {{ListKind::Lh, 10}, {ListKind::Lf, 10}, {ListKind::Li, 10}, {ListKind::Lh, 10}});
    const auto names = builder.AddKey(HiveBuilder::kRoot, u"Caf\u00E9", NameForm::Latin1);
    builder.SetClass(names, u"SomeClass");
    builder.AddKey(names, u"\u0416\u0443\u043A");
    builder.AddString(names, u"", u"default text");
    builder.AddString(names, u"\u00E4rger", u"Latin-1 name", REG_EXPAND_SZ);
    builder.AddValue(names, u"wide", REG_MULTI_SZ, {'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0},
                     DataForm::Auto, NameForm::Utf16);
    const auto data = builder.AddKey(HiveBuilder::kRoot, u"Data");
    builder.AddValue(data, u"big", REG_BINARY, Pattern(3 * kBigDataSegmentBytes + 20));
    builder.AddValue(data, u"bigEven", REG_BINARY, Pattern(2 * kBigDataSegmentBytes));
    builder.AddValue(data, u"cell", REG_BINARY, Pattern(300));
    builder.AddValue(data, u"resident", REG_BINARY, Bytes({1, 2, 3}));
    builder.AddValue(data, u"qword", REG_QWORD, Bytes({1, 2, 3, 4, 5, 6, 7, 8}));
    builder.AddValue(data, u"empty", REG_SZ, {}, DataForm::EmptyForm);
    builder.AddValue(data, u"typed", 0x00020004, Bytes({9, 9, 9, 9, 9, 9}));
    const BuiltHive hive = builder.Build();

    const auto path = std::filesystem::temp_directory_path() /
                      ("hivora-builder-oracle-" + std::to_string(::getpid()) + ".hiv");
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(hive.bytes.data()),
                  static_cast<std::streamsize>(hive.bytes.size()));
    }
    const std::vector<Item> ours = EngineItems(path);
    ASSERT_EQ(std::count_if(ours.begin(), ours.end(), [](const Item& i) { return i.isKey; }),
              static_cast<long>(builder.KeyCount()));

    bool ok = false;
    const std::string xml = RunTool("hivexml " + Quote(path.string()), ok);
    EXPECT_TRUE(ok) << "hivexml refused the builder's hive";
    Tally hivexTally;
    CompareHive("builder", ours, HivexItems(xml), CompareWithHivex, hivexTally);
    ReportTally("hivexml", hivexTally);

    const std::string lines = RunTool("reglookup " + Quote(path.string()), ok);
    EXPECT_TRUE(ok) << "reglookup refused the builder's hive";
    Tally reglookupTally;
    CompareHive("builder", ours, ReglookupItems(lines), CompareWithReglookup, reglookupTally);
    ReportTally("reglookup", reglookupTally);
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace hivora::test
