#include "search/PlainTextMatcher.h"

#include <string>

#include "support/CaseFold.h"

namespace hivora {
namespace {

class PlainTextPattern : public TextPattern,
                         public std::enable_shared_from_this<PlainTextPattern> {
public:
    PlainTextPattern(std::string_view text, const TextMatchOptions& options)
        : text_(text),
          folded_(FoldCaseUtf8(text)),
          matchCase_(options.matchCase),
          whole_(options.wholeString) {}

    std::unique_ptr<TextMatcher> NewMatcher() const override;

    bool Matches(std::string_view text, std::string& scratch) const {
        if (matchCase_) {
            return whole_ ? text == text_ : text.find(text_) != std::string_view::npos;
        }
        if (whole_) {
            return EqualsNoCase(text, text_);
        }
        FoldCaseUtf8(text, scratch);
        return scratch.find(folded_) != std::string::npos;
    }

private:
    const std::string text_;
    const std::string folded_;  // folded once; the texts are folded as they come
    const bool matchCase_;
    const bool whole_;
};

class PlainTextMatcher : public TextMatcher {
public:
    explicit PlainTextMatcher(std::shared_ptr<const PlainTextPattern> pattern)
        : pattern_(std::move(pattern)) {}

    MatchOutcome Match(std::string_view text) override {
        return pattern_->Matches(text, folded_) ? MatchOutcome::Match : MatchOutcome::NoMatch;
    }

private:
    const std::shared_ptr<const PlainTextPattern> pattern_;
    std::string folded_;
};

std::unique_ptr<TextMatcher> PlainTextPattern::NewMatcher() const {
    return std::make_unique<PlainTextMatcher>(shared_from_this());
}

}  // namespace

std::shared_ptr<const TextPattern> MakePlainTextPattern(std::string_view text,
                                                        const TextMatchOptions& options) {
    return std::make_shared<const PlainTextPattern>(text, options);
}

}  // namespace hivora
