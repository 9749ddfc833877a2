#include "shell/FileSetArguments.h"

#include <sys/stat.h>

#include <string_view>

namespace hivora {
namespace {

struct SlotOption {
    std::string_view name;
    HiveSlot slot;
};

constexpr SlotOption kSlotOptions[] = {
    {"--system", HiveSlot::System},         {"--ntuser", HiveSlot::NtUser},
    {"--software", HiveSlot::Software},     {"--sam", HiveSlot::Sam},
    {"--security", HiveSlot::Security},     {"--default", HiveSlot::Default},
    {"--components", HiveSlot::Components}, {"--bcd", HiveSlot::Bcd},
};

bool IsFolder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

const char* FileSetUsage() {
    return "Usage: hivora [FILE-SET]\n"
           "  --dir DIR        fill slots from a folder of hive files\n"
           "  --user-dir DIR   NTUSER.DAT or USER.DAT from a profile folder\n"
           "  --system F  --ntuser F  --software F  --sam F  --security F  --default F\n"
           "  --components F  --bcd F\n"
           "  FILE...          further files are placed by their name\n"
           "Without a file set the program starts with the Open Registry Files Master "
           "dialog.\n";
}

FileSetArguments ParseFileSetArguments(const std::vector<std::string>& args) {
    FileSetArguments result;
    FileSet set;
    bool any = false;
    auto fail = [&](std::string message) {
        result.error = std::move(message);
        result.set.reset();
        return result;
    };
    for (size_t i = 0; i < args.size(); ++i) {
        std::string option = args[i];
        std::string value;
        bool hasValue = false;
        if (option == "-h" || option == "--help") {
            result.help = true;
            continue;
        }
        if (option.rfind("--", 0) == 0) {
            const size_t equals = option.find('=');
            if (equals != std::string::npos) {
                value = option.substr(equals + 1);
                option.resize(equals);
                hasValue = true;
            }
        } else {
            const std::string& file = args[i];
            const size_t slash = file.find_last_of('/');
            const std::optional<HiveSlot> slot =
                SlotForFileName(slash == std::string::npos ? file : file.substr(slash + 1));
            if (!slot) {
                return fail(file +
                            ": the file name fits no slot; use --system, --ntuser, --software, "
                            "--sam, --security, --default, --components or --bcd");
            }
            set[*slot] = file;
            any = true;
            continue;
        }
        if (!hasValue) {
            if (i + 1 >= args.size()) {
                return fail(option + ": a value is missing");
            }
            value = args[++i];
        }
        if (option == "--dir") {
            if (!IsFolder(value)) {
                return fail(value + ": not a folder (--dir)");
            }
            if (FillFromHiveFolder(set, value) == 0) {
                return fail(value + ": no suitable files were found in the folder (--dir)");
            }
        } else if (option == "--user-dir") {
            if (!FillFromUserFolder(set, value)) {
                return fail(value + ": NTUSER.DAT does not exist in the folder (--user-dir)");
            }
        } else {
            bool known = false;
            for (const SlotOption& slotOption : kSlotOptions) {
                if (option == slotOption.name) {
                    set[slotOption.slot] = value;
                    known = true;
                }
            }
            if (!known) {
                return fail(option + ": unknown option");
            }
        }
        any = true;
    }
    if (any) {
        MakeNamesAbsolute(set);
        result.set = std::move(set);
    }
    return result;
}

}  // namespace hivora
