// hivora-cli's recovered-image command: one hive of the set, as loaded (with its transaction
// logs applied), written to a new file that other tools can read.
#pragma once

namespace CLI {
class App;
}

namespace hivora {

struct CliContext;

void AddRecoveredImageCommand(CLI::App& app, CliContext& context);

}  // namespace hivora
