// hivora-cli's export, statistics, dump and favourites commands.
#pragma once

namespace CLI {
class App;
}

namespace hivora {

struct CliContext;

// export-reg, export-text, stats, describe, dump, favorites-export, favorites-import.
void AddExportCommands(CLI::App& app, CliContext& context);

}  // namespace hivora
