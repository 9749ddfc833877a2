#include "search/TextPattern.h"

#include <fmt/format.h>

#include "search/PatternMatcher.h"
#include "search/PlainTextMatcher.h"

namespace hivora {

std::string PatternError::Describe() const {
    return fmt::format("Invalid regular expression at offset {}: {}", offset, message);
}

CompiledPattern CompileTextPattern(std::string_view text, const TextMatchOptions& options) {
    if (options.regex) {
        return CompileRegexPattern(text, options);
    }
    return {MakePlainTextPattern(text, options), std::nullopt};
}

}  // namespace hivora
