// Commands that read one key: ls, values, show, resolve.
#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "cli/CliCommands.h"
#include "cli/RowPrinter.h"
#include "hive/RegistryReader.h"
#include "navigate/NavigateTo.h"
#include "support/TextConvert.h"
#include "values/ValueFormat.h"
#include "values/ValuesList.h"

namespace hivora {
namespace {

int ListSubkeys(CliContext& context, const std::string& pathText) {
    const std::unique_ptr<ResultWriter> rows = MakeRowPrinter(context.out, context.json, {"name"});
    std::string name[1];
    if (pathText.empty()) {
        for (const char* root : {"HKEY_LOCAL_MACHINE", "HKEY_USERS"}) {
            name[0] = root;
            rows->WriteRow(name);
        }
        return kExitOk;
    }
    const CliKeyPath path = context.RequireKeyPath(pathText);
    RegKey opened;
    HKEY key = RootHandle(path.root);
    if (!path.subPath.empty()) {
        opened = OpenRegKey(path.root, path.subPath);
        key = opened.get();
    }
    SubkeyInfo info;
    for (uint32_t index = 0; EnumSubkey(key, index, info) == ERROR_SUCCESS; ++index) {
        name[0].clear();
        AppendUtf8(info.name, name[0]);
        rows->WriteRow(name);
    }
    return kExitOk;
}

KeyItemData RecordFor(const CliKeyPath& path) {
    KeyItemData record;
    record.root = path.root;
    record.subPath = path.subPath;
    return record;
}

int ListValues(CliContext& context, const std::string& pathText) {
    const KeyItemData record = RecordFor(context.RequireKeyPath(pathText));
    const std::unique_ptr<ResultWriter> rows =
        MakeRowPrinter(context.out, context.json, {"name", "type", "data"});
    for (const ValueRow& row : BuildValueRows(&record)) {
        const std::string cells[] = {row.name, row.type, row.data};
        rows->WriteRow(cells);
    }
    return kExitOk;
}

bool HasUnnamedValue(const CliKeyPath& path) {
    const RegKey key = OpenRegKey(path.root, path.subPath);
    ValueInfo info;
    for (uint32_t index = 0; EnumValueInfo(key.get(), index, info) == ERROR_SUCCESS; ++index) {
        if (info.name.empty()) {
            return true;
        }
    }
    return false;
}

int ShowValue(CliContext& context, const std::string& pathText, const std::string& valueName) {
    const CliKeyPath path = context.RequireKeyPath(pathText);
    const KeyItemData record = RecordFor(path);
    const std::vector<ValueRow> rows = BuildValueRows(&record);
    const std::optional<size_t> index = FindValueRow(rows, valueName);
    // The list's row for a missing default value stands for no value at all.
    if (!index || !rows[*index].item ||
        (rows[*index].name == kDefaultValueName && !HasUnnamedValue(path))) {
        throw CliNotFound(pathText + ": no value named " + valueName);
    }
    context.out << FormatValueData(*rows[*index].item, true) << '\n';
    return kExitOk;
}

int Resolve(CliContext& context, const std::string& text) {
    const NavigationTarget target = ResolveNavigationTarget(text);
    std::string cells[2];
    switch (target.kind) {
        case NavigationTarget::Kind::File:
            cells[0] = "file";
            cells[1] = target.target;
            break;
        case NavigationTarget::Kind::Key:
            cells[0] = "key";
            cells[1] = "HKEY_LOCAL_MACHINE\\" + target.target;
            break;
        case NavigationTarget::Kind::None:
            return kExitNotFound;
    }
    MakeRowPrinter(context.out, context.json, {"kind", "target"})->WriteRow(cells);
    return kExitOk;
}

}  // namespace

void AddBrowseCommands(CLI::App& app, CliContext& context) {
    auto pathText = std::make_shared<std::string>();
    CLI::App* ls = app.add_subcommand(
        "ls", "subkeys of PATH in enumeration order, one name a line; no PATH: the two roots");
    ls->add_option("PATH", *pathText, "key path, e.g. HKEY_LOCAL_MACHINE\\software");
    ls->callback(context.Command([&context, pathText] { return ListSubkeys(context, *pathText); }));

    auto valuesPath = std::make_shared<std::string>();
    CLI::App* values = app.add_subcommand(
        "values",
        "the values list of the key as the registry window shows it, one row a line: "
        "NAME<TAB>TYPE<TAB>DATA, rows in the list's order (the \"(Default)\" row of a key "
        "without an unnamed value included)");
    values->add_option("PATH", *valuesPath, "key path")->required();
    values->callback(
        context.Command([&context, valuesPath] { return ListValues(context, *valuesPath); }));

    auto showArgs = std::make_shared<std::pair<std::string, std::string>>();
    CLI::App* show = app.add_subcommand(
        "show",
        "the data text of value VALUE of key PATH in its multi-line form (multi-strings one "
        "string a line); (Default) names the unnamed value");
    show->add_option("PATH", showArgs->first, "key path")->required();
    show->add_option("VALUE", showArgs->second, "value name, ignoring case")->required();
    show->callback(context.Command(
        [&context, showArgs] { return ShowValue(context, showArgs->first, showArgs->second); }));

    auto resolveText = std::make_shared<std::string>();
    CLI::App* resolve = app.add_subcommand(
        "resolve",
        "Navigate To: \"file<TAB>PATH\" when TEXT names a file of the Windows installation the "
        "SYSTEM or SOFTWARE file was taken from (it must lie in <root>/Windows/System32/config), "
        "or \"key<TAB>HKEY_LOCAL_MACHINE\\...\" when it names a class key; exit 1 otherwise");
    resolve->add_option("TEXT", *resolveText, "value data as shown, or a key name")->required();
    resolve->callback(
        context.Command([&context, resolveText] { return Resolve(context, *resolveText); }));
}

}  // namespace hivora
