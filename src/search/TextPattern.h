// What a search compares names and data with: a plain text or a regular expression, compiled
// once per search. A compiled pattern is read-only and may be shared by threads; each thread
// matches through a TextMatcher of its own.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace hivora {

struct TextMatchOptions {
    bool regex = false;        // the text is a PCRE2 pattern
    bool matchCase = false;    // compare case-sensitively
    bool wholeString = false;  // the whole name or string must match, not only a part of it
};

enum class MatchOutcome { NoMatch, Match, TooComplex };

// Shown when a pattern reaches its match limits on some text: the search stops there.
inline constexpr std::string_view kPatternTooComplex = "pattern too complex for this data";

// One thread's matching state; not to be shared between threads.
class TextMatcher {
public:
    virtual ~TextMatcher() = default;
    // `text` is UTF-8; malformed bytes are never part of a match.
    virtual MatchOutcome Match(std::string_view text) = 0;
};

class TextPattern {
public:
    virtual ~TextPattern() = default;
    virtual std::unique_ptr<TextMatcher> NewMatcher() const = 0;
};

struct PatternError {
    std::string message;  // the regular-expression library's own text
    size_t offset = 0;    // in bytes of the pattern's UTF-8 text

    // "Invalid regular expression at offset 3: missing closing parenthesis"
    std::string Describe() const;
};

// Exactly one of the two is set.
struct CompiledPattern {
    std::shared_ptr<const TextPattern> pattern;
    std::optional<PatternError> error;
};

CompiledPattern CompileTextPattern(std::string_view text, const TextMatchOptions& options);

}  // namespace hivora
