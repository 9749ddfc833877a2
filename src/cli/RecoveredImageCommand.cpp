#include "cli/RecoveredImageCommand.h"

#include <fcntl.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstring>
#include <map>
#include <memory>

#include "cli/CliCommands.h"
#include "hive/HiveSet.h"

namespace hivora {
namespace {

struct RecoveredImageArgs {
    HiveSlot slot = HiveSlot::System;
    std::string output;
};

const std::map<std::string, HiveSlot> kSlotNames = {
    {"system", HiveSlot::System},     {"ntuser", HiveSlot::NtUser},
    {"software", HiveSlot::Software}, {"sam", HiveSlot::Sam},
    {"security", HiveSlot::Security}, {"default", HiveSlot::Default},
    {"components", HiveSlot::Components}, {"bcd", HiveSlot::Bcd},
};

// Creates `path` only when nothing stands there (O_EXCL), so neither the hive, its logs nor
// any other existing file can be overwritten; a failed write leaves no file behind.
void WriteNewFile(const std::string& path, const uint8_t* data, size_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        throw CliUsageError(path + (errno == EEXIST ? ": the file exists; choose a new name"
                                                    : ": cannot create: " + std::string(std::strerror(errno))));
    }
    size_t done = 0;
    while (done < size) {
        const ssize_t wrote = ::write(fd, data + done, size - done);
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        if (wrote <= 0) {
            break;
        }
        done += static_cast<size_t>(wrote);
    }
    const std::string error = std::strerror(errno);
    if (::close(fd) != 0 || done < size) {
        ::unlink(path.c_str());
        throw CliUsageError(path + ": write failed: " + error);
    }
}

int WriteRecoveredImage(const RecoveredImageArgs& args) {
    const HiveImage* image = HiveInSlot(args.slot);
    if (image == nullptr) {
        throw CliNotFound("no hive loaded in that slot");
    }
    const ImageView view = image->View();
    WriteNewFile(args.output, view.Bytes(0, view.size()), view.size());
    return kExitOk;
}

}  // namespace

void AddRecoveredImageCommand(CLI::App& app, CliContext& context) {
    auto args = std::make_shared<RecoveredImageArgs>();
    CLI::App* command = app.add_subcommand(
        "recovered-image",
        "write one hive as loaded, with its transaction logs applied, to a new hive file; an "
        "existing FILE is refused and the hive and its logs are never written");
    command->add_option("SLOT", args->slot, "system, ntuser, software, sam, security, default, components or bcd")
        ->required()
        ->transform(CLI::CheckedTransformer(kSlotNames, CLI::ignore_case));
    command->add_option("-o,--output", args->output, "the new hive file")->required()->type_name("FILE");
    command->callback(context.Command([args] { return WriteRecoveredImage(*args); }));
}

}  // namespace hivora
