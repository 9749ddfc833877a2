// The search's text comparison without regular expressions: ignoring case it folds both texts
// with the program's one case folding (the same as the values list's sorting and name
// compares), so a search finds exactly what it found before the other options existed.
#pragma once

#include <memory>
#include <string_view>

#include "search/TextPattern.h"

namespace hivora {

std::shared_ptr<const TextPattern> MakePlainTextPattern(std::string_view text,
                                                        const TextMatchOptions& options);

}  // namespace hivora
