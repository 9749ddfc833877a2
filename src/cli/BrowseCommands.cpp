// Commands that read one key: ls, values, show, resolve.
#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "cli/CliCommands.h"
#include "hive/NavigateTo.h"
#include "hive/RegistryReader.h"
#include "support/TextConvert.h"

namespace hivora {
namespace {

int ListSubkeys(CliContext& context, const std::string& pathText) {
    if (pathText.empty()) {
        context.out << "HKEY_LOCAL_MACHINE\nHKEY_USERS\n";
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
    std::string line;
    for (uint32_t index = 0; EnumSubkey(key, index, info) == ERROR_SUCCESS; ++index) {
        line.clear();
        AppendUtf8(info.name, line);
        line.push_back('\n');
        context.out << line;
    }
    return kExitOk;
}

int Resolve(CliContext& context, const std::string& text) {
    std::string target;
    if (ResolveFilePath(text, target)) {
        context.out << "file\t" << target << '\n';
        return kExitOk;
    }
    if (ResolveClassKey(text, target)) {
        context.out << "key\tHKEY_LOCAL_MACHINE\\" << target << '\n';
        return kExitOk;
    }
    return kExitNotFound;
}

}  // namespace

void AddBrowseCommands(CLI::App& app, CliContext& context) {
    auto pathText = std::make_shared<std::string>();
    CLI::App* ls = app.add_subcommand(
        "ls", "subkeys of PATH in enumeration order, one name a line; no PATH: the two roots");
    ls->add_option("PATH", *pathText, "key path, e.g. HKEY_LOCAL_MACHINE\\software");
    ls->callback(context.Command([&context, pathText] { return ListSubkeys(context, *pathText); }));

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
