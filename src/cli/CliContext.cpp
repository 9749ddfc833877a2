#include <sys/stat.h>
#include <unistd.h>

#include <ostream>

#include "cli/CliCommands.h"
#include "fileset/HiveFileState.h"
#include "hive/HiveFileCheck.h"
#include "hive/RegistryBackend.h"
#include "hive/RegistryReader.h"
#include "support/CaseFold.h"
#include "support/FileTimeFormat.h"
#include "support/MyException.h"

namespace hivora {

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
    try {
        set = BuildFileSet(fileSetOptions);
    } catch (const FileSetOptionError& error) {
        throw CliUsageError(error.what());
    }
    if (set.Empty()) {
        throw CliUsageError(
            "no hive files given: use --dir, --user-dir, a slot option such as --system, or FILE "
            "arguments");
    }

    UseHiveEngine();
    CurrentFileSet() = set;
    LoadFileSet(set);
    fileSet = set;
    for (HiveSlot slot : kSlotOrder) {
        if (!set[slot].empty() && HiveInSlot(slot) == nullptr) {
            Error(HiveLoadFailure(set, slot));
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

FileTime ParseDateLimit(std::string_view option, std::string_view text, bool upper) {
    std::optional<ClockReading> reading = ParseClockReading(text);
    if (!reading) {
        throw CliUsageError(std::string(option) + " " + std::string(text) +
                            ": not a date (YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS)");
    }
    if (upper && text.size() == 10) {
        reading->hour = 23;
        reading->minute = 59;
        reading->second = 59;
    }
    return ClockReadingToFileTime(*reading);
}

}  // namespace hivora
