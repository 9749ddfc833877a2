// Regular-expression search texts: PCRE2 patterns over UTF-8, compiled with the JIT where the
// machine has one. Every match runs under match, depth and heap limits, so a pattern that
// backtracks without end (nested quantifiers) gives up on a text with TooComplex instead of
// hanging the search.
#pragma once

#include <cstdint>
#include <string_view>

#include "search/TextPattern.h"

namespace hivora {

// Backtracking steps allowed for one text; a match on a name or a string needs far fewer.
inline constexpr uint32_t kPatternMatchLimit = 1'000'000;
// Nested backtracking levels, and the heap (KiB) the interpreter may use for them.
inline constexpr uint32_t kPatternDepthLimit = 10'000;
inline constexpr uint32_t kPatternHeapLimitKiB = 64 * 1024;

// Ignoring case uses Unicode case folding. With wholeString the match must span the text.
CompiledPattern CompileRegexPattern(std::string_view pattern, const TextMatchOptions& options);

}  // namespace hivora
