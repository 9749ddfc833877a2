// The real hives of the corpus folder named by HIVORA_CORPUS, for tests that walk them.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace hivora::test {

// The corpus folder, or empty when HIVORA_CORPUS is unset or names no folder.
std::filesystem::path CorpusFolder();

// Every file below `folder` that begins with "regf", sorted by path.
std::vector<std::filesystem::path> CorpusHives(const std::filesystem::path& folder);

// `file` relative to `folder`, with forward slashes ("regipy/SYSTEM").
std::string CorpusName(const std::filesystem::path& folder, const std::filesystem::path& file);

// Loads `file`, without its logs, into the SYSTEM slot (all other slots empty); true when it
// loaded.
bool LoadIntoSystemSlot(const std::filesystem::path& file);

// Peer tools run as black boxes: whether `tool` is installed, and what `tool FILE` prints
// (nothing when it fails).
bool HaveTool(const std::string& tool);
std::optional<std::string> RunTool(const std::string& tool, const std::filesystem::path& file);

}  // namespace hivora::test
