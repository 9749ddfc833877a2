// hivora-cli's deleted command: keys and values recovered from the free cells of each hive.
#pragma once

namespace CLI {
class App;
}

namespace hivora {

struct CliContext;

void AddDeletedCommand(CLI::App& app, CliContext& context);

}  // namespace hivora
