// Every hive of the corpus, exported to REG text and read back by a small REG parser, gives the
// keys, values, types and data that the engine reports.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "export/RegistryExport.h"
#include "hive/CorpusSupport.h"
#include "hive/HiveSet.h"
#include "hive/RegistryReader.h"
#include "hive/RegistryTypes.h"
#include "hive/TreeWalk.h"
#include "support/TextConvert.h"

namespace hivora {
namespace {

struct ParsedValue {
    std::string name;  // empty for the default value
    uint32_t type = 0;
    std::vector<uint8_t> data;
    bool quoted = false;  // a REG string: data holds the text's UTF-8 bytes
};

struct ParsedKey {
    std::string path;
    std::vector<ParsedValue> values;
};

constexpr uint32_t kAnyType = 0xFFFFFFFF;  // a value without data: any type reads back so

// Reads a REGEDIT4 file as this program writes it. Returns what it can't read, empty when all.
std::string ParseReg(const std::string& text, std::vector<ParsedKey>& keys) {
    std::vector<std::string> lines;
    for (size_t start = 0, end = 0; start < text.size(); start = end + 2) {
        if ((end = text.find("\r\n", start)) == std::string::npos) {
            return "last line has no CR LF";
        }
        lines.push_back(text.substr(start, end - start));
    }
    if (lines.empty() || lines[0] != "REGEDIT4") {
        return "no REGEDIT4 line";
    }
    for (size_t i = 1; i < lines.size(); ++i) {
        std::string line = lines[i];
        if (line.empty() || line[0] == ';') {
            continue;
        }
        if (line[0] == '[') {
            // A key name may hold a line break; the heading then spans lines.
            while (line.back() != ']' && i + 1 < lines.size()) {
                line += "\n" + lines[++i];
            }
            keys.push_back({line.substr(1, line.size() - 2), {}});
            continue;
        }
        if (keys.empty()) {
            return "value before any key: " + line;
        }
        ParsedValue value;
        size_t pos = line[0] == '@' ? 1 : 0;
        if (line[0] == '"') {
            for (pos = 1; pos < line.size() && line[pos] != '"'; ++pos) {
                pos += line[pos] == '\\' && pos + 1 < line.size();
                value.name.push_back(line[pos]);
            }
            ++pos;
        }
        if (pos >= line.size() || line[pos] != '=') {
            return "no '=' in " + line;
        }
        std::string data = line.substr(pos + 1);
        while (data.rfind("hex", 0) == 0 && data.back() == '\\' && i + 1 < lines.size()) {
            data.pop_back();
            data += lines[++i];
        }
        auto byte = [](uint32_t number) { return static_cast<uint8_t>(number); };
        if (data.empty()) {
            value.type = kAnyType;
        } else if (data[0] == '"') {
            value.type = REG_SZ;
            value.quoted = true;
            for (size_t k = 1; k + 1 < data.size(); ++k) {
                k += data[k] == '\\';
                value.data.push_back(byte(data[k]));
            }
        } else if (data.rfind("dword:", 0) == 0) {
            value.type = REG_DWORD;
            const auto number = static_cast<uint32_t>(std::stoul(data.substr(6), nullptr, 16));
            for (int b = 0; b < 4; ++b) {
                value.data.push_back(byte(number >> (8 * b)));
            }
        } else if (data.rfind("hex", 0) == 0) {
            value.type = data[3] == '(' ? std::stoul(data.substr(4), nullptr, 16) : REG_BINARY;
            for (size_t k = data.find(':') + 1; k < data.size(); k += 3) {
                value.data.push_back(byte(std::stoul(data.substr(k, 2), nullptr, 16)));
            }
        } else {
            return "unknown data form in " + line;
        }
        keys.back().values.push_back(std::move(value));
    }
    return "";
}

// The engine's tree below `root`, as the REG export should list it.
void WalkEngine(HKEY root, const std::string& rootName, std::vector<ParsedKey>& keys) {
    test::TreeVisitor visitor;
    visitor.onKey = [&](const std::u16string& path, int) {
        keys.push_back({path.empty() ? rootName : rootName + "\\" + ToUtf8(path), {}});
    };
    visitor.onValue = [&](const std::u16string&, const test::WalkedValue& value) {
        keys.back().values.push_back({ToUtf8(value.name), value.type, value.data});
    };
    test::WalkTree(root, visitor);
}

// What the REG line of an engine value reads back as.
bool SameValue(const ParsedValue& engine, const ParsedValue& parsed) {
    if (engine.name != parsed.name || engine.data.empty() || parsed.type == kAnyType) {
        return engine.name == parsed.name && engine.data.empty() && parsed.type == kAnyType;
    }
    if (parsed.quoted) {
        std::u16string text;
        for (size_t k = 0; k + 1 < engine.data.size() && (engine.data[k] || engine.data[k + 1]);
             k += 2) {
            text.push_back(static_cast<char16_t>(engine.data[k] | engine.data[k + 1] << 8));
        }
        return engine.type == REG_SZ &&
               std::string(parsed.data.begin(), parsed.data.end()) == ToUtf8(text);
    }
    if (parsed.type == REG_DWORD && engine.type == REG_DWORD && engine.data.size() >= 4) {
        return std::equal(parsed.data.begin(), parsed.data.end(), engine.data.begin());
    }
    return engine.type == parsed.type && engine.data == parsed.data;
}

TEST(CorpusExport, RegExportReadsBackAsTheEngineReportsEveryHive) {
    const auto hives = test::CorpusHives(test::CorpusFolder());
    if (hives.empty()) {
        GTEST_SKIP() << "HIVORA_CORPUS is not set or holds no hive files";
    }
    size_t longNames = 0;
    for (const auto& file : hives) {
        SCOPED_TRACE(file.string());
        ASSERT_TRUE(test::LoadIntoSystemSlot(file));
        ExportOutput out;
        RegistryCounters counters;
        WriteRegistryExport(ExportStyle::Reg, "", out, counters);
        std::vector<ParsedKey> parsed;
        ASSERT_EQ(ParseReg(out.Text(), parsed), "");

        std::vector<ParsedKey> engine;
        WalkEngine(HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", engine);
        WalkEngine(HKEY_USERS, "HKEY_USERS", engine);

        ASSERT_EQ(parsed.size(), engine.size());
        uint64_t valueCount = 0;
        for (size_t k = 0; k < engine.size(); ++k) {
            ASSERT_EQ(parsed[k].path, engine[k].path);
            ASSERT_EQ(parsed[k].values.size(), engine[k].values.size()) << engine[k].path;
            valueCount += engine[k].values.size();
            for (size_t v = 0; v < engine[k].values.size(); ++v) {
                EXPECT_TRUE(SameValue(engine[k].values[v], parsed[k].values[v]))
                    << engine[k].path << " value " << v << " " << engine[k].values[v].name;
                longNames += engine[k].values[v].name.size() > 260;
            }
        }
        EXPECT_EQ(counters.values, valueCount);
    }
    FreeHiveSet();
    EXPECT_GT(longNames, 0u) << "the corpus holds value names longer than 260 characters";
}

}  // namespace
}  // namespace hivora
