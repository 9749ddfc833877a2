#include "fileset/FileSetOptions.h"

#include <sys/stat.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <string_view>

namespace hivora {
namespace {

struct SlotOption {
    HiveSlot slot;
    const char* name;
    const char* help;
};

constexpr SlotOption kSlotOptions[] = {
    {HiveSlot::System, "--system", "SYSTEM hive file"},
    {HiveSlot::NtUser, "--ntuser", "user hive file (NTUSER.DAT or USER.DAT)"},
    {HiveSlot::Software, "--software", "SOFTWARE hive file"},
    {HiveSlot::Sam, "--sam", "SAM hive file"},
    {HiveSlot::Security, "--security", "SECURITY hive file"},
    {HiveSlot::Default, "--default", "DEFAULT hive file"},
    {HiveSlot::Components, "--components", "COMPONENTS hive file"},
    {HiveSlot::Bcd, "--bcd", "BCD-Template hive file"},
};

std::string BaseName(std::string_view path) {
    while (path.size() > 1 && path.back() == '/') {
        path.remove_suffix(1);
    }
    const size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

bool FileSetOptions::Given() const {
    return !dir.empty() || !userDir.empty() || !files.empty() ||
           std::any_of(slotFiles.begin(), slotFiles.end(),
                       [](const std::string& file) { return !file.empty(); });
}

void AddFileSetOptions(CLI::App& app, FileSetOptions& options) {
    app.add_option("--dir", options.dir,
                   "fill slots from a folder of hive files (system or system.dat, software, sam, "
                   "security, default, components, bcd-template; names matched ignoring case)")
        ->type_name("DIR")
        ->group("File set");
    app.add_option("--user-dir", options.userDir, "NTUSER.DAT or USER.DAT from a profile folder")
        ->type_name("DIR")
        ->group("File set");
    for (const SlotOption& option : kSlotOptions) {
        app.add_option(option.name, options.slotFiles[static_cast<size_t>(option.slot)],
                       option.help)
            ->type_name("FILE")
            ->group("File set");
    }
    app.add_flag("--no-logs", options.noLogs,
                 "show the hive files as they are, without the transaction logs beside them")
        ->group("File set");
    app.add_option("files", options.files,
                   "further hive files, placed by their names (the names above, ignoring case)")
        ->type_name("FILE...")
        ->group("File set");
}

FileSet BuildFileSet(const FileSetOptions& options) {
    FileSet set;
    if (!options.dir.empty()) {
        if (!IsFolder(options.dir)) {
            throw FileSetOptionError("--dir " + options.dir + ": no such folder");
        }
        if (FillFromHiveFolder(set, options.dir) == 0) {
            throw FileSetOptionError("--dir " + options.dir + ": no hive files in the folder");
        }
    }
    if (!options.userDir.empty()) {
        if (!IsFolder(options.userDir)) {
            throw FileSetOptionError("--user-dir " + options.userDir + ": no such folder");
        }
        if (!FillFromUserFolder(set, options.userDir)) {
            throw FileSetOptionError("--user-dir " + options.userDir +
                                     ": no NTUSER.DAT or USER.DAT in the folder");
        }
    }
    for (const std::string& file : options.files) {
        const std::optional<HiveSlot> slot = SlotForFileName(BaseName(file));
        if (!slot) {
            throw FileSetOptionError(
                file +
                ": the name fits no hive slot (system, system.dat, ntuser.dat, user.dat, software, "
                "sam, security, default, components, bcd-template); give it with --system, "
                "--ntuser, --software, --sam, --security, --default, --components or --bcd");
        }
        set[*slot] = file;
    }
    for (const SlotOption& option : kSlotOptions) {
        const std::string& file = options.slotFiles[static_cast<size_t>(option.slot)];
        if (!file.empty()) {
            set[option.slot] = file;
        }
    }
    MakeNamesAbsolute(set);
    set.applyLogs = !options.noLogs;
    return set;
}

}  // namespace hivora
