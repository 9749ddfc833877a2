#include "search/PatternMatcher.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <new>

namespace hivora {
namespace {

// Room for the JIT's backtracking, per matching thread.
constexpr size_t kJitStackStart = 32 * 1024;
constexpr size_t kJitStackMax = 1024 * 1024;

struct CodeDeleter {
    void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct MatchDataDeleter {
    void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};
struct MatchContextDeleter {
    void operator()(pcre2_match_context* context) const { pcre2_match_context_free(context); }
};
struct JitStackDeleter {
    void operator()(pcre2_jit_stack* stack) const { pcre2_jit_stack_free(stack); }
};

std::string ErrorText(int code) {
    PCRE2_UCHAR buffer[256];
    const int length = pcre2_get_error_message(code, buffer, sizeof buffer);
    if (length < 0) {
        return "error " + std::to_string(code);
    }
    return std::string(reinterpret_cast<const char*>(buffer), static_cast<size_t>(length));
}

class RegexPattern : public TextPattern, public std::enable_shared_from_this<RegexPattern> {
public:
    explicit RegexPattern(pcre2_code* code) : code_(code) {}
    const pcre2_code* Code() const { return code_.get(); }
    std::unique_ptr<TextMatcher> NewMatcher() const override;

private:
    std::unique_ptr<pcre2_code, CodeDeleter> code_;
};

class RegexMatcher : public TextMatcher {
public:
    explicit RegexMatcher(std::shared_ptr<const RegexPattern> pattern)
        : pattern_(std::move(pattern)),
          data_(pcre2_match_data_create(1, nullptr)),
          context_(pcre2_match_context_create(nullptr)),
          stack_(pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr)) {
        if (!data_ || !context_) {
            throw std::bad_alloc();
        }
        pcre2_set_match_limit(context_.get(), kPatternMatchLimit);
        pcre2_set_depth_limit(context_.get(), kPatternDepthLimit);
        pcre2_set_heap_limit(context_.get(), kPatternHeapLimitKiB);
        if (stack_) {
            pcre2_jit_stack_assign(context_.get(), nullptr, stack_.get());
        }
    }

    MatchOutcome Match(std::string_view text) override {
        // An empty view may have no storage; the library wants a subject pointer regardless.
        const char* subject = text.empty() ? "" : text.data();
        const int result =
            pcre2_match(pattern_->Code(), reinterpret_cast<PCRE2_SPTR>(subject), text.size(), 0,
                        0, data_.get(), context_.get());
        if (result >= 0) {
            return MatchOutcome::Match;
        }
        if (result == PCRE2_ERROR_NOMATCH || result == PCRE2_ERROR_PARTIAL) {
            return MatchOutcome::NoMatch;
        }
        // The limits, the JIT's stack, or memory: this text cannot be decided in bounds.
        return MatchOutcome::TooComplex;
    }

private:
    const std::shared_ptr<const RegexPattern> pattern_;
    std::unique_ptr<pcre2_match_data, MatchDataDeleter> data_;
    std::unique_ptr<pcre2_match_context, MatchContextDeleter> context_;
    std::unique_ptr<pcre2_jit_stack, JitStackDeleter> stack_;
};

std::unique_ptr<TextMatcher> RegexPattern::NewMatcher() const {
    return std::make_unique<RegexMatcher>(shared_from_this());
}

}  // namespace

CompiledPattern CompileRegexPattern(std::string_view pattern, const TextMatchOptions& options) {
    // Names and data may hold malformed UTF-8 (lone surrogates from damaged names): those
    // bytes simply never match rather than failing the whole text.
    uint32_t flags = PCRE2_UTF | PCRE2_UCP | PCRE2_MATCH_INVALID_UTF;
    if (!options.matchCase) {
        flags |= PCRE2_CASELESS;
    }
    if (options.wholeString) {
        flags |= PCRE2_ANCHORED | PCRE2_ENDANCHORED;
    }
    int error = 0;
    PCRE2_SIZE offset = 0;
    pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()),
                                     pattern.size(), flags, &error, &offset, nullptr);
    if (code == nullptr) {
        return {nullptr, PatternError{ErrorText(error), static_cast<size_t>(offset)}};
    }
    // Without a JIT (or when it declines the pattern) the interpreter matches alone.
    pcre2_jit_compile(code, PCRE2_JIT_COMPLETE);
    return {std::make_shared<const RegexPattern>(code), std::nullopt};
}

}  // namespace hivora
