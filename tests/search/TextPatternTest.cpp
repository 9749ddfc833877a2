#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "search/TextPattern.h"

namespace hivora {
namespace {

constexpr TextMatchOptions kPlain{};
constexpr TextMatchOptions kPlainCase{false, true, false};
constexpr TextMatchOptions kPlainWhole{false, false, true};
constexpr TextMatchOptions kRegex{true, false, false};
constexpr TextMatchOptions kRegexCase{true, true, false};
constexpr TextMatchOptions kRegexWhole{true, false, true};

MatchOutcome MatchOnce(std::string_view pattern, const TextMatchOptions& options,
                       std::string_view text) {
    const CompiledPattern compiled = CompileTextPattern(pattern, options);
    if (!compiled.pattern) {
        ADD_FAILURE() << compiled.error->Describe();
        return MatchOutcome::NoMatch;
    }
    return compiled.pattern->NewMatcher()->Match(text);
}

struct MatchCase {
    const char* name;
    const char* pattern;
    TextMatchOptions options;
    std::string text;
    MatchOutcome expected;
};

class TextPatternTest : public testing::TestWithParam<MatchCase> {};

TEST_P(TextPatternTest, Matches) {
    const MatchCase& c = GetParam();
    EXPECT_EQ(MatchOnce(c.pattern, c.options, c.text), c.expected);
}

constexpr auto kYes = MatchOutcome::Match;
constexpr auto kNo = MatchOutcome::NoMatch;

INSTANTIATE_TEST_SUITE_P(
    Options, TextPatternTest,
    testing::Values(MatchCase{"PlainIgnoresCaseAnywhere", "SOFT", kPlain, "MySoftware", kYes},
                    MatchCase{"PlainCaseSensitive", "soft", kPlainCase, "Software", kNo},
                    MatchCase{"PlainWholeNeedsAll", "software", kPlainWhole, "Softwares", kNo},
                    MatchCase{"RegexAnywhere", "ser?v", kRegex, "CurrentServices", kYes},
                    MatchCase{"RegexFoldsUnicode", "\u00C4\u0416", kRegex, "\u00E4\u0436", kYes},
                    MatchCase{"RegexWholeNeedsAll", "Serv", kRegexWhole, "Services", kNo},
                    MatchCase{"RegexWholeTriesEveryBranch", "a|ab", kRegexWhole, "AB", kYes},
                    MatchCase{"RegexPastMalformedBytes", "b$", kRegex,
                              "a\xED\xA0\x80"
                              "b",
                              kYes},
                    MatchCase{"RegexMalformedNeverMatches", "a.b", kRegex,
                              "a\xED\xA0\x80"
                              "b",
                              kNo}),
    [](const testing::TestParamInfo<MatchCase>& row) { return row.param.name; });

TEST(TextPattern, InvalidPatternNamesTheErrorAndItsOffset) {
    const CompiledPattern compiled = CompileTextPattern("ab(c", kRegex);
    ASSERT_FALSE(compiled.pattern);
    ASSERT_TRUE(compiled.error);
    EXPECT_EQ(compiled.error->offset, 4u);
    EXPECT_EQ(compiled.error->Describe(),
              "Invalid regular expression at offset 4: missing closing parenthesis");
    // The same text is an ordinary search text without the option.
    EXPECT_TRUE(CompileTextPattern("ab(c", kPlain).pattern);
}

TEST(TextPattern, CatastrophicBacktrackingStopsAsTooComplex) {
    const std::string text = std::string(20000, 'a') + "!";
    EXPECT_EQ(MatchOnce("(a+)+$", kRegex, text), MatchOutcome::TooComplex);
    EXPECT_EQ(MatchOnce("^(\\w+\\s?)*$", kRegexCase, text), MatchOutcome::TooComplex);
}

TEST(TextPattern, ThreadsShareOnePattern) {
    const auto pattern = CompileTextPattern("k(ey)?\\d+$", kRegex).pattern;
    std::vector<int> found(4);
    {
        std::vector<std::jthread> threads;
        for (int& count : found) {
            threads.emplace_back([&pattern, &count] {
                auto matcher = pattern->NewMatcher();
                for (int i = 0; i < 2000; ++i) {
                    count += matcher->Match("KEY" + std::to_string(i)) == kYes;
                    count += matcher->Match("KEY" + std::to_string(i) + "x") == kYes;
                }
            });
        }
    }
    EXPECT_EQ(found, std::vector<int>(4, 2000));
}

}  // namespace
}  // namespace hivora
