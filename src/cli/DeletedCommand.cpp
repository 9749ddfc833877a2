#include "cli/DeletedCommand.h"

#include <CLI/CLI.hpp>
#include <fmt/format.h>

#include <ostream>

#include "cli/CliCommands.h"
#include "hive/DeletedRecords.h"
#include "hive/HiveSet.h"
#include "support/FileTimeFormat.h"
#include "support/TextConvert.h"
#include "values/ValueFormat.h"
#include "values/ValueItem.h"

namespace hivora {
namespace {

inline constexpr const char* kDataNotRecoverable = "(data not recoverable)";

// Where each slot's root key appears in the key tree, in HiveSlot order.
constexpr const char* kSlotKeyPaths[kHiveSlotCount] = {
    "HKEY_LOCAL_MACHINE\\system",      "HKEY_USERS\\NTUSER",
    "HKEY_LOCAL_MACHINE\\software",    "HKEY_LOCAL_MACHINE\\sam",
    "HKEY_LOCAL_MACHINE\\security",    "HKEY_USERS\\.DEFAULT",
    "HKEY_LOCAL_MACHINE\\COMPONENTS",  "HKEY_LOCAL_MACHINE\\BCD00000000"};

// A field of one output line: the line breaks and tabs a damaged record may hold become blanks.
void AppendField(std::string_view text, std::string& out) {
    for (char c : text) {
        out.push_back(c == '\t' || c == '\n' || c == '\r' ? ' ' : c);
    }
}

void AppendField(std::u16string_view text, std::string& out) { AppendField(ToUtf8(text), out); }

// The plain path form; a path whose beginning is unknown starts with "?".
std::string PlainPath(const char* hiveKeyPath, const std::optional<DeletedKeyPath>& path) {
    std::string text = path && path->complete ? hiveKeyPath : "?";
    if (path) {
        for (const std::u16string& name : path->components) {
            text.push_back('\\');
            AppendField(name, text);
        }
    }
    return text;
}

void AppendKeyLine(const DeletedRecords& records, size_t index, const char* hiveKeyPath,
                   std::string& out) {
    const DeletedKey& key = records.Keys()[index];
    out += fmt::format("DeletedKey\t0x{:08X}\t", key.offset);
    out += PlainPath(hiveKeyPath, records.KeyPath(index));
    out.push_back('\t');
    AppendField(key.name, out);
    out += '\t' + FormatUtcTimestamp(key.lastWrite) + "\t\t\n";
}

void AppendValueLine(const DeletedRecords& records, size_t index, const char* hiveKeyPath,
                     std::string& out) {
    const DeletedValue& value = records.Values()[index];
    out += fmt::format("DeletedValue\t0x{:08X}\t", value.offset);
    std::optional<DeletedKeyPath> path;
    if (value.key != DeletedLink::kUnknown) {
        path = records.PathOfKey(value.keyOffset);
    }
    out += PlainPath(hiveKeyPath, path);
    out.push_back('\t');
    if (value.name.empty()) {
        out += kDefaultValueName;
    } else {
        AppendField(value.name, out);
    }
    out += std::string("\t\t") + GetValueTypeName(value.type) + '\t';
    const std::optional<std::vector<uint8_t>> bytes = records.ValueBytes(index);
    AppendField(bytes ? FormatValueData(value.type, *bytes) : kDataNotRecoverable, out);
    out.push_back('\n');
}

int ListDeleted(CliContext& context) {
    bool found = false;
    for (int slot = 0; slot < kHiveSlotCount; ++slot) {
        const HiveImage* hive = HiveInSlot(static_cast<HiveSlot>(slot));
        if (hive == nullptr) {
            continue;
        }
        const DeletedRecords records = ScanDeletedRecords(*hive);
        const auto& keys = records.Keys();
        const auto& values = records.Values();
        std::string out;
        size_t k = 0;
        size_t v = 0;
        while (k < keys.size() || v < values.size()) {
            if (v == values.size() || (k < keys.size() && keys[k].offset < values[v].offset)) {
                AppendKeyLine(records, k++, kSlotKeyPaths[slot], out);
            } else {
                AppendValueLine(records, v++, kSlotKeyPaths[slot], out);
            }
            if (out.size() > 1 << 16) {
                context.out << out;
                out.clear();
            }
        }
        context.out << out;
        found = found || !keys.empty() || !values.empty();
    }
    return found ? kExitOk : kExitNotFound;
}

}  // namespace

void AddDeletedCommand(CLI::App& app, CliContext& context) {
    CLI::App* deleted = app.add_subcommand(
        "deleted",
        "keys and values recovered from free space, one a line: KIND<TAB>OFFSET<TAB>PATH<TAB>"
        "NAME<TAB>LAST WRITE<TAB>TYPE<TAB>DATA; KIND DeletedKey or DeletedValue, OFFSET the "
        "record's cell offset, PATH beginning with ? where the parent chain breaks; records "
        "per hive in offset order; exit 1 when there are none");
    deleted->callback(context.Command([&context] { return ListDeleted(context); }));
}

}  // namespace hivora
