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

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Reads a REGEDIT4 file as this program writes it. Returns false on any line it can't read.
bool ParseReg(const std::string& text, std::vector<ParsedKey>& keys, std::string& problem) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            problem = "last line has no CR LF";
            return false;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    if (lines.empty() || lines[0] != "REGEDIT4") {
        problem = "no REGEDIT4 line";
        return false;
    }
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.empty() || line[0] == ';') {
            continue;
        }
        if (line.front() == '[') {
            // A key name may hold a line break; the heading then spans lines.
            std::string heading = line;
            while (heading.back() != ']' && i + 1 < lines.size()) {
                heading += "\n" + lines[++i];
            }
            keys.push_back({heading.substr(1, heading.size() - 2), {}});
            continue;
        }
        if (keys.empty()) {
            problem = "value before any key: " + line;
            return false;
        }
        ParsedValue value;
        size_t pos = 0;
        if (line[0] == '@') {
            pos = 1;
        } else if (line[0] == '"') {
            for (pos = 1; pos < line.size() && line[pos] != '"'; ++pos) {
                if (line[pos] == '\\' && pos + 1 < line.size()) {
                    ++pos;
                }
                value.name.push_back(line[pos]);
            }
            ++pos;
        }
        if (pos >= line.size() || line[pos] != '=') {
            problem = "no '=' in " + line;
            return false;
        }
        std::string data = line.substr(pos + 1);
        while (!data.empty() && data.back() == '\\' && data.rfind("hex", 0) == 0 &&
               i + 1 < lines.size()) {
            data.pop_back();
            data += lines[++i];
        }
        if (data.empty()) {
            value.type = 0xFFFFFFFF;  // any type: the value has no data
        } else if (data[0] == '"') {
            value.type = 1;
            value.quoted = true;
            for (size_t k = 1; k + 1 < data.size(); ++k) {
                if (data[k] == '\\') {
                    ++k;
                }
                value.data.push_back(static_cast<uint8_t>(data[k]));
            }
        } else if (data.rfind("dword:", 0) == 0) {
            value.type = 4;
            const uint32_t number = static_cast<uint32_t>(std::stoul(data.substr(6), nullptr, 16));
            for (int b = 0; b < 4; ++b) {
                value.data.push_back(static_cast<uint8_t>(number >> (8 * b)));
            }
        } else if (data.rfind("hex", 0) == 0) {
            size_t colon = data.find(':');
            value.type =
                data[3] == '(' ? static_cast<uint32_t>(std::stoul(data.substr(4), nullptr, 16)) : 3;
            for (size_t k = colon + 1; k + 1 < data.size() + 1; k += 3) {
                value.data.push_back(
                    static_cast<uint8_t>(HexDigit(data[k]) * 16 + HexDigit(data[k + 1])));
            }
        } else {
            problem = "unknown data form in " + line;
            return false;
        }
        keys.back().values.push_back(std::move(value));
    }
    return true;
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
    if (engine.name != parsed.name) {
        return false;
    }
    if (engine.data.empty() || parsed.type == 0xFFFFFFFF) {
        return engine.data.empty() && parsed.type == 0xFFFFFFFF;
    }
    if (parsed.quoted) {
        std::u16string text;
        for (size_t k = 0; k + 1 < engine.data.size(); k += 2) {
            const char16_t c = static_cast<char16_t>(engine.data[k] | engine.data[k + 1] << 8);
            if (c == 0)
                break;
            text.push_back(c);
        }
        const std::string utf8 = ToUtf8(text);
        return engine.type == 1 && std::string(parsed.data.begin(), parsed.data.end()) == utf8;
    }
    if (parsed.type == 4 && engine.type == 4 && engine.data.size() >= 4) {
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
        std::string problem;
        ASSERT_TRUE(ParseReg(out.Text(), parsed, problem)) << problem;

        std::vector<ParsedKey> engine;
        WalkEngine(HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", engine);
        WalkEngine(HKEY_USERS, "HKEY_USERS", engine);

        ASSERT_EQ(parsed.size(), engine.size());
        EXPECT_GE(counters.keys - counters.inaccessibleKeys + 2,
                  engine.size());  // keys met twice count once each time
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
