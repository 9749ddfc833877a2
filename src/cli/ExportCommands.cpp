#include "cli/ExportCommands.h"

#include <CLI/CLI.hpp>
#include <chrono>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "cli/CliCommands.h"
#include "cli/RowPrinter.h"
#include "export/RegistryCounters.h"
#include "export/RegistryExport.h"
#include "favorites/FavoriteStore.h"
#include "fileset/FileSetDescription.h"
#include "hive/RegistryReader.h"
#include "keys/RegistryWalker.h"
#include "support/CaseFold.h"
#include "support/IniSettingsStore.h"
#include "support/TextConvert.h"
#include "viewers/BinaryDump.h"

namespace hivora {
namespace {

// Texts made for message boxes break lines with CR LF; a terminal wants LF.
std::string ForTerminal(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        }
        out.push_back(text[i]);
    }
    return out;
}

// A walk cut short by its budget left keys out: that is an error, not a result.
int WalkStatus(const CliContext& context, const RegistryCounters& counters) {
    if (counters.walkCut) {
        context.Error(kWalkBudgetSpentText);
        return kExitUsage;
    }
    return kExitOk;
}

struct ExportArgs {
    std::string branch;
    std::string output;
};

void AddExportCommand(CLI::App& app, CliContext& context, const char* name, ExportStyle style,
                      const char* description) {
    auto args = std::make_shared<ExportArgs>();
    CLI::App* command = app.add_subcommand(name, description);
    command
        ->add_option("--branch", args->branch,
                     "export only this key and the keys below it (HKEY_LOCAL_MACHINE\\... or "
                     "HKEY_USERS\\...)")
        ->type_name("PATH");
    command->add_option("-o,--output", args->output, "write to FILE instead of standard output")
        ->type_name("FILE");
    command->callback(context.Command([&context, args, style] {
        uint64_t milliseconds = 0;
        if (!args->output.empty()) {
            milliseconds = ExportRegistry(style, args->branch, args->output);
        } else {
            const auto start = std::chrono::steady_clock::now();
            context.out.flush();
            ExportOutput out(context.out, "standard output");
            try {
                WriteRegistryExport(style, args->branch, out, Counters());
            } catch (...) {
                out.Flush();
                throw;
            }
            out.Flush();
            context.out.flush();
            milliseconds =
                static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now() - start)
                                          .count());
        }
        context.err << ForTerminal(FormatExportCompletion(milliseconds, Counters())) << '\n';
        return WalkStatus(context, Counters());
    }));
}

std::optional<DumpMode> ParseDumpMode(std::string_view text) {
    if (text == "bytes")
        return DumpMode::Bytes;
    if (text == "words")
        return DumpMode::Words;
    if (text == "dwords")
        return DumpMode::DoubleWords;
    return std::nullopt;
}

void AddDumpCommand(CLI::App& app, CliContext& context) {
    struct Args {
        std::string path;
        std::string value;
        std::string mode = "bytes";
    };
    auto args = std::make_shared<Args>();
    CLI::App* command =
        app.add_subcommand("dump", "print a value's data as the View Binary Data window shows it");
    command->add_option("PATH", args->path, "the key that holds the value")->required();
    command
        ->add_option("VALUE", args->value,
                     "the value's name; an empty name or (Default) for the default value")
        ->required();
    command->add_option("--mode", args->mode, "bytes (with characters), words or dwords")
        ->type_name("MODE")
        ->check(CLI::IsMember({"bytes", "words", "dwords"}));
    command->callback(context.Command([&context, args] {
        const CliKeyPath path = context.RequireKeyPath(args->path);
        const RegKey key = OpenRegKey(path.root, path.subPath);
        if (!key) {
            throw CliNotFound(args->path + ": no such key");
        }
        const std::string wanted = args->value == "(Default)" ? "" : args->value;
        // An exact match first; else the first that matches ignoring case, as the registry does.
        std::optional<uint32_t> found;
        std::optional<uint32_t> folded;
        ValueInfo info;
        for (uint32_t i = 0; EnumValueInfo(key.get(), i, info) == ERROR_SUCCESS; ++i) {
            const std::string name = ToUtf8(info.name);
            if (name == wanted) {
                found = i;
                break;
            }
            if (!folded && EqualsNoCase(name, wanted)) {
                folded = i;
            }
        }
        if (!found) {
            found = folded;
        }
        if (!found) {
            throw CliNotFound(args->path + ": no value named \"" + args->value + "\"");
        }
        EnumValueInfo(key.get(), *found, info);
        std::vector<uint8_t> data;
        ReadValueData(key.get(), *found, info.size, data);
        const DumpText dump = FillDump(data.data(), data.size(), *ParseDumpMode(args->mode));
        for (const std::string& line : dump.lines) {
            context.out << line << '\n';
        }
        return kExitOk;
    }));
}

void AddFavoritesCommands(CLI::App& app, CliContext& context) {
    auto exportFile = std::make_shared<std::string>();
    CLI::App* save = app.add_subcommand(
        "favorites-export", "write the favourites of the file set to a favourites file");
    save->add_option("FILE", *exportFile, "the favourites file to write")->required();
    save->callback(context.Command([exportFile] {
        IniSettingsStore settings(IniSettingsStore::DefaultPath());
        FavoriteStore store(settings, CurrentFileSet());
        store.SaveFavoritesToFile(*exportFile);
        return kExitOk;
    }));

    auto importFile = std::make_shared<std::string>();
    CLI::App* load = app.add_subcommand(
        "favorites-import", "add the favourites of a favourites file to the file set's list");
    load->add_option("FILE", *importFile, "the favourites file to read")->required();
    load->callback(context.Command([&context, importFile] {
        IniSettingsStore settings(IniSettingsStore::DefaultPath());
        FavoriteStore store(settings, CurrentFileSet());
        const size_t added = store.LoadFavoritesFromFile(*importFile);
        context.out << added << (added == 1 ? " favorite added\n" : " favorites added\n");
        return kExitOk;
    }));
}

}  // namespace

void AddExportCommands(CLI::App& app, CliContext& context) {
    AddExportCommand(app, context, "export-reg", ExportStyle::Reg,
                     "export all keys, or one branch, to a REGEDIT4 file");
    AddExportCommand(app, context, "export-text", ExportStyle::Text,
                     "export all keys, or one branch, to a readable text file");

    app.add_subcommand("stats", "count keys and values; print the file set and the counts")
        ->callback(context.Command([&context] {
            const RegistryCounters& counters = CountRegistry();
            if (context.json) {
                const std::string cells[] = {std::to_string(counters.keys),
                                             std::to_string(counters.values),
                                             std::to_string(counters.totalDataBytes),
                                             std::to_string(counters.largestData),
                                             std::to_string(counters.inaccessibleKeys),
                                             std::to_string(counters.mostValues),
                                             std::to_string(counters.mostSubkeys),
                                             ForTerminal(DescribeFileSet())};
                MakeRowPrinter(context.out, true,
                               {"keys", "values", "totalDataBytes", "largestData",
                                "inaccessibleKeys", "mostValues", "mostSubkeys", "fileSet"})
                    ->WriteRow(cells);
            } else {
                context.out << ForTerminal(FormatStatisticsText(counters)) << '\n';
            }
            return WalkStatus(context, counters);
        }));
    app.add_subcommand("describe", "print the file-set description")
        ->callback(context.Command([&context] {
            if (context.json) {
                const std::string cells[] = {ForTerminal(DescribeFileSet())};
                MakeRowPrinter(context.out, true, {"description"})->WriteRow(cells);
            } else {
                context.out << ForTerminal(DescribeFileSet());
            }
            return kExitOk;
        }));
    AddDumpCommand(app, context);
    AddFavoritesCommands(app, context);
}

}  // namespace hivora
