#include "cli/DeletedCommand.h"

#include <fmt/format.h>
#include <CLI/CLI.hpp>

#include <ostream>

#include "cli/CliCommands.h"
#include "cli/RowPrinter.h"
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
    "HKEY_LOCAL_MACHINE\\system",     "HKEY_USERS\\NTUSER",
    "HKEY_LOCAL_MACHINE\\software",   "HKEY_LOCAL_MACHINE\\sam",
    "HKEY_LOCAL_MACHINE\\security",   "HKEY_USERS\\.DEFAULT",
    "HKEY_LOCAL_MACHINE\\COMPONENTS", "HKEY_LOCAL_MACHINE\\BCD00000000"};

// The plain path form; a path whose beginning is unknown starts with "?".
std::string PlainPath(const char* hiveKeyPath, const std::optional<DeletedKeyPath>& path) {
    std::string text = path && path->complete ? hiveKeyPath : "?";
    if (path) {
        for (const std::u16string& name : path->components) {
            text.push_back('\\');
            AppendUtf8(name, text);
        }
    }
    return text;
}

void WriteKeyRow(const DeletedRecords& records, size_t index, const char* hiveKeyPath,
                 ResultWriter& rows) {
    const DeletedKey& key = records.Keys()[index];
    const std::string cells[] = {"DeletedKey",
                                 fmt::format("0x{:08X}", key.offset),
                                 PlainPath(hiveKeyPath, records.KeyPath(index)),
                                 ToUtf8(key.name),
                                 FormatUtcTimestamp(key.lastWrite),
                                 {},
                                 {}};
    rows.WriteRow(cells);
}

void WriteValueRow(const DeletedRecords& records, size_t index, const char* hiveKeyPath,
                   ResultWriter& rows) {
    const DeletedValue& value = records.Values()[index];
    std::optional<DeletedKeyPath> path;
    if (value.key != DeletedLink::kUnknown) {
        path = records.PathOfKey(value.keyOffset);
    }
    const std::optional<std::vector<uint8_t>> bytes = records.ValueBytes(index);
    const std::string cells[] = {
        "DeletedValue",
        fmt::format("0x{:08X}", value.offset),
        PlainPath(hiveKeyPath, path),
        value.name.empty() ? std::string(kDefaultValueName) : ToUtf8(value.name),
        {},
        GetValueTypeName(value.type),
        bytes ? FormatValueData(value.type, *bytes) : kDataNotRecoverable};
    rows.WriteRow(cells);
}

int ListDeleted(CliContext& context) {
    // Damaged records may hold tabs and line breaks: blanks in the text form.
    const std::unique_ptr<ResultWriter> rows =
        MakeRowPrinter(context.out, context.json,
                       {"kind", "offset", "path", "name", "lastWrite", "type", "data"}, true);
    bool found = false;
    for (int slot = 0; slot < kHiveSlotCount; ++slot) {
        const HiveImage* hive = HiveInSlot(static_cast<HiveSlot>(slot));
        if (hive == nullptr) {
            continue;
        }
        const DeletedRecords records = ScanDeletedRecords(*hive);
        const auto& keys = records.Keys();
        const auto& values = records.Values();
        size_t k = 0;
        size_t v = 0;
        while (k < keys.size() || v < values.size()) {
            if (v == values.size() || (k < keys.size() && keys[k].offset < values[v].offset)) {
                WriteKeyRow(records, k++, kSlotKeyPaths[slot], *rows);
            } else {
                WriteValueRow(records, v++, kSlotKeyPaths[slot], *rows);
            }
        }
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
