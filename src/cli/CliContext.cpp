#include <sys/stat.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <ostream>

#include "cli/CliCommands.h"
#include "hive/HiveFileCheck.h"
#include "hive/RegistryBackend.h"
#include "hive/RegistryReader.h"
#include "support/CaseFold.h"
#include "support/MyException.h"

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

// Why a named file did not load: the engine only says that it did not.
std::string LoadFailure(const std::string& path) {
    HiveFileCheck check = CheckHiveFile(path);
    return check.Loadable() ? "Unable to read " + path : std::move(check.reason);
}

}  // namespace

std::optional<CliKeyPath> ParseCliKeyPath(std::string_view text) {
    while (!text.empty() && text.back() == '\\') {
        text.remove_suffix(1);
    }
    const size_t slash = text.find('\\');
    const std::string_view first = text.substr(0, slash);
    CliKeyPath path;
    if (EqualsNoCase(first, "HKEY_LOCAL_MACHINE")) {
        path.root = kLocalMachine;
        path.rootName = "HKEY_LOCAL_MACHINE";
    } else if (EqualsNoCase(first, "HKEY_USERS")) {
        path.root = kUsers;
        path.rootName = "HKEY_USERS";
    } else {
        return std::nullopt;
    }
    if (slash != std::string_view::npos) {
        path.subPath = std::string(text.substr(slash + 1));
        if (path.subPath.empty() || path.subPath.front() == '\\' ||
            path.subPath.find("\\\\") != std::string::npos) {
            return std::nullopt;
        }
    }
    return path;
}

void CliContext::Error(std::string_view message) const {
    err << "hivora-cli: " << message << '\n';
}

void CliContext::LoadFiles() {
    FileSet set;
    if (!dir.empty()) {
        if (!IsFolder(dir)) {
            throw CliUsageError("--dir " + dir + ": no such folder");
        }
        if (FillFromHiveFolder(set, dir) == 0) {
            throw CliUsageError("--dir " + dir + ": no hive files in the folder");
        }
    }
    if (!userDir.empty()) {
        if (!IsFolder(userDir)) {
            throw CliUsageError("--user-dir " + userDir + ": no such folder");
        }
        if (!FillFromUserFolder(set, userDir)) {
            throw CliUsageError("--user-dir " + userDir +
                                ": no NTUSER.DAT or USER.DAT in the folder");
        }
    }
    for (const std::string& file : files) {
        const std::optional<HiveSlot> slot = SlotForFileName(BaseName(file));
        if (!slot) {
            throw CliUsageError(
                file +
                ": the name fits no hive slot (system, system.dat, ntuser.dat, user.dat, software, "
                "sam, security, default, components, bcd-template); give it with --system, "
                "--ntuser, --software, --sam, --security, --default, --components or --bcd");
        }
        set[*slot] = file;
    }
    for (const SlotOption& option : kSlotOptions) {
        const std::string& file = slotFiles[static_cast<size_t>(option.slot)];
        if (!file.empty()) {
            set[option.slot] = file;
        }
    }
    if (set.Empty()) {
        throw CliUsageError(
            "no hive files given: use --dir, --user-dir, a slot option such as --system, or FILE "
            "arguments");
    }

    MakeNamesAbsolute(set);
    UseHiveEngine();
    CurrentFileSet() = set;
    LoadFileSet(set);
    fileSet = set;
    for (HiveSlot slot : kSlotOrder) {
        if (!set[slot].empty() && HiveInSlot(slot) == nullptr) {
            Error(LoadFailure(set[slot]));
            fileSetFailed = true;
        }
    }
}

std::function<void()> CliContext::Command(std::function<int()> body) {
    return [this, body = std::move(body)]() {
        try {
            LoadFiles();
            exitCode = body();
        } catch (const CliUsageError& error) {
            Error(error.what());
            exitCode = kExitUsage;
        } catch (const CliNotFound& error) {
            if (*error.what() != '\0') {
                Error(error.what());
            }
            exitCode = kExitNotFound;
        } catch (const CMyException& error) {
            Error(error.GetErrorMessage());
            exitCode = kExitUsage;
        } catch (const std::exception& error) {
            Error(std::string("failed: ") + error.what());
            exitCode = kExitUsage;
        }
        out.flush();
        if (fileSetFailed) {
            exitCode = kExitUsage;
        }
    };
}

CliKeyPath CliContext::RequireKeyPath(std::string_view text) const {
    std::optional<CliKeyPath> path = ParseCliKeyPath(text);
    if (!path) {
        throw CliUsageError(std::string(text) +
                            ": not a key path (HKEY_LOCAL_MACHINE\\... or HKEY_USERS\\...)");
    }
    if (!path->subPath.empty() && !OpenRegKey(path->root, path->subPath)) {
        throw CliNotFound(std::string(text) + ": no such key");
    }
    return *path;
}

void AddFileSetOptions(CLI::App& app, CliContext& context) {
    app.add_option("--dir", context.dir,
                   "fill slots from a folder of hive files (system or system.dat, software, sam, "
                   "security, default, components, bcd-template; names matched ignoring case)")
        ->type_name("DIR")
        ->group("File set");
    app.add_option("--user-dir", context.userDir, "NTUSER.DAT or USER.DAT from a profile folder")
        ->type_name("DIR")
        ->group("File set");
    for (const SlotOption& option : kSlotOptions) {
        app.add_option(option.name, context.slotFiles[static_cast<size_t>(option.slot)],
                       option.help)
            ->type_name("FILE")
            ->group("File set");
    }
    app.add_option("files", context.files,
                   "further hive files, placed by their names (the names above, ignoring case)")
        ->type_name("FILE...")
        ->group("File set");
}

}  // namespace hivora
