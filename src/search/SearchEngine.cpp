#include "search/SearchEngine.h"

#include <cstring>
#include <set>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

#include "hive/HiveEngine.h"
#include "hive/RegistryBackend.h"
#include "hive/RegistryReader.h"
#include "keys/DeletedKeyIndex.h"
#include "keys/KeyPath.h"
#include "keys/RegistryWalker.h"
#include "search/DeletedSearch.h"
#include "search/HitPreview.h"
#include "search/SearchControl.h"
#include "search/TextPattern.h"
#include "support/CaseFold.h"
#include "support/TextConvert.h"

namespace hivora {
namespace {

bool IsStringType(uint32_t type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// What the walk does after handing a hit on.
enum class AfterHit { Stop, GoOn };
using HitHandler = std::function<AfterHit(const SearchResult&)>;

// Which subkey of a key first bears each name, ignoring case; enumerated only as far as asked.
class FirstSubkeys {
public:
    void Reset(HKEY key) {
        key_ = key;
        if (scanned_ != 0) {
            first_.clear();
            scanned_ = 0;
        }
    }
    // The index of the first subkey named like `name` among those up to `upTo`.
    std::optional<uint32_t> Find(std::string_view name, uint32_t upTo) {
        for (; scanned_ <= upTo && EnumSubkey(key_, scanned_, info_) == ERROR_SUCCESS; ++scanned_) {
            utf8_.clear();
            AppendUtf8(info_.name, utf8_);
            first_.try_emplace(FoldCaseUtf8(utf8_), scanned_);
        }
        const auto found = first_.find(FoldCaseUtf8(name));
        return found == first_.end() ? std::nullopt : std::optional<uint32_t>(found->second);
    }

private:
    HKEY key_ = nullptr;
    uint32_t scanned_ = 0;
    std::unordered_map<std::string, uint32_t> first_;
    SubkeyInfo info_;
    std::string utf8_;
};

// One key on the walk's current path.
struct PathLevel {
    uint32_t index = 0;  // in its parent's enumeration
    std::string name;
    std::string path;    // without the root, as JoinPath builds it
    int resumable = -1;  // a search starting at a hit below leads back here; -1: not yet known
    FirstSubkeys children;
};

// Tests each key after the start position (see SearchFrom) in the walk's order: its name or
// date, then its values. Each hit goes to the handler; the walk goes on after it only where a
// search starting at that hit would resume at the same place, and then spends the budget as
// that search would have spent it.
class SearchWalk : public WalkVisitor {
public:
    SearchWalk(RegistryWalker& walker, const SearchCriteria& criteria, const SearchControl* control,
               TextMatcher* matcher, std::string_view startValue, std::string_view rootPath,
               const HitHandler& handler)
        : walker_(walker),
          rootPath_(rootPath),
          criteria_(criteria),
          control_(control),
          matcher_(matcher),
          startValue_(startValue),
          handler_(handler) {}

    bool Cancelled() const { return cancelled_; }
    bool TooComplex() const { return tooComplex_; }
    bool HandlerStopped() const { return handlerStopped_; }
    bool WalkCutAtHit() const { return walkCutAtHit_; }
    // A hit the walk could not go on from: the next walk starts there.
    std::optional<SearchResult>& Again() { return again_; }
    bool Done() const { return ended_; }
    void SetRootPath(std::string_view rootPath) { rootPath_ = rootPath; }

    // A pattern that reaches its limits ends the whole search.
    bool Test(std::string_view text) {
        switch (matcher_->Match(text)) {
            case MatchOutcome::Match:
                return true;
            case MatchOutcome::NoMatch:
                return false;
            case MatchOutcome::TooComplex:
                break;
        }
        tooComplex_ = true;
        ended_ = true;
        return false;
    }

    // A hit among deleted records: searches starting there walk again.
    void ReportDeleted(SearchResult hit) { Report(std::move(hit), 0); }

    WalkStep Enter(const WalkedKey& key) override {
        if (ended_) {
            return WalkStep::Stop;
        }
        if (control_ != nullptr && control_->CancelRequested()) {
            cancelled_ = ended_ = true;
            return WalkStep::Stop;
        }
        if (key.depth == 1 && key.reach == KeyReach::Open && criteria_.deleted &&
            !IsLiveRegistry()) {
            const std::optional<LiveKeyPlace> place = PlaceOfIdentity(HiveKeyIdentity(key.key));
            hive_ = place && place->hiveRoot ? place->generation : 0;
            // The deleted records of the start's hive were searched before the walk, after its
            // live keys.
            if (hive_ != 0 && hive_ == criteria_.startDeletedHive) {
                hive_ = 0;
                return WalkStep::Skip;
            }
        }
        if (levels_.size() <= static_cast<size_t>(key.depth)) {
            levels_.resize(static_cast<size_t>(key.depth) + 1);
        }
        PathLevel& level = levels_[key.depth];
        level.children.Reset(key.key);
        if (key.depth == 0 || key.reach == KeyReach::Repeated) {
            return key.depth == 0 ? WalkStep::Descend : WalkStep::Skip;
        }
        level.index = key.index;
        level.name.assign(key.name);
        level.resumable = -1;
        level.path = JoinPath(levels_[key.depth - 1].path, key.name);
        const std::string& path = level.path;

        // The start key's own name was examined before the previous hit.
        bool keyHit = false;
        if (key.resume == ResumeRole::None) {
            if (criteria_.byDate) {
                keyHit = DateMatches(key.lastWrite);
                if (keyHit && !Report({path, kKeyHitValueName, MatchKind::KeyDate, key.lastWrite},
                                      key.depth)) {
                    return WalkStep::Stop;
                }
            } else if (criteria_.keys) {
                keyHit = Test(key.name);
                if (tooComplex_ ||
                    (keyHit && !Report({path, kKeyHitValueName, MatchKind::KeyName, key.lastWrite},
                                       key.depth))) {
                    return WalkStep::Stop;
                }
            }
        }
        // The values of the keys above the start were all examined before. After a hit on
        // the key itself they start after the one named like a key hit, as a search starting
        // at that hit does.
        if (!criteria_.byDate && key.reach == KeyReach::Open &&
            (criteria_.values || criteria_.data) && key.resume != ResumeRole::Above) {
            const std::string_view startValue = keyHit ? std::string_view(kKeyHitValueName)
                                                : key.resume == ResumeRole::At ? startValue_
                                                                               : std::string_view();
            if (!Values(key.key, path, startValue, key.lastWrite, key.depth)) {
                return WalkStep::Stop;
            }
        }
        return WalkStep::Descend;
    }

    void Leave(int depth, uint32_t) override {
        if (depth != 1 || hive_ == 0 || ended_) {
            return;
        }
        const std::string hivePath = std::string(rootPath_) + "\\" + levels_[1].path;
        std::optional<SearchResult> hit = SearchDeletedRecords(
            criteria_, [this](std::string_view text) { return Test(text); },
            std::exchange(hive_, 0), hivePath, 0);
        if (hit && !tooComplex_) {
            ReportDeleted(std::move(*hit));
        }
    }

private:
    // Hands a hit on; true when the walk goes on after it.
    bool Report(SearchResult hit, int depth) {
        const bool live = hit.deletedHive == 0;
        if (live) {
            hit.keyPath = std::string(rootPath_) + "\\" + hit.keyPath;
        }
        walkCutAtHit_ = walkCutAtHit_ || walker_.Exhausted();
        ended_ = true;
        if (handler_(hit) == AfterHit::Stop) {
            handlerStopped_ = true;
            return false;
        }
        if (!live || !Resumable(depth)) {
            again_ = std::move(hit);
            return false;
        }
        // From here the walk stands for a search that started at this hit: it went down the
        // hit's path enumerating each level up to the key once to find it and once to walk
        // it, and stopped if its budget ran out before entering the key.
        criteria_.startDeletedHive = 0;
        uint64_t spent = 0;
        for (int d = 1; d <= depth; ++d) {
            spent += levels_[d].index + 2;
        }
        walker_.RestartSpending(spent - 1);
        if (walker_.Exhausted()) {
            return false;
        }
        walker_.Charge(1);
        ended_ = false;
        return true;
    }

    // True when a search starting at a hit in the key at `depth` resumes exactly there: each
    // name on its path splits back out of the path and is the first of its name among its
    // siblings.
    bool Resumable(int depth) {
        for (int d = depth; d >= 1; --d) {
            PathLevel& level = levels_[d];
            if (level.resumable < 0) {
                level.resumable =
                    !level.name.empty() && level.name.find('\\') == std::string::npos &&
                    levels_[d - 1].children.Find(level.name, level.index) == level.index;
            }
            if (level.resumable == 0) {
                return false;
            }
        }
        return true;
    }

    static std::string JoinPath(const std::string& parent, std::string_view name) {
        std::string path;
        path.reserve(parent.size() + 1 + name.size());
        path.append(parent);
        path.push_back('\\');
        path.append(name);
        const size_t begin = path.find_first_not_of('\\');
        if (begin == std::string::npos) {
            return {};
        }
        const size_t end = path.find_last_not_of('\\');
        return path.substr(begin, end - begin + 1);
    }

    // The index of the first value named like `name` (ignoring case), enumerating and
    // charging the values up to it; none when no value is.
    std::optional<uint32_t> FirstValueNamed(HKEY key, std::string_view name) {
        ValueInfo info;
        std::string valueName;
        for (uint32_t index = 0; EnumValueInfo(key, index, info) == ERROR_SUCCESS; ++index) {
            walker_.ChargeValue(0);
            if (EqualsNoCase(ValueName(info, valueName), name)) {
                return index;
            }
        }
        return std::nullopt;
    }

    // Tests the values after the one named like `startValue`; false when the walk ends.
    bool Values(HKEY key, const std::string& keyPath, std::string_view startValue,
                FileTime lastWrite, int depth) {
        ValueInfo info;
        std::string name;
        uint32_t first = 0;
        if (!startValue.empty()) {
            if (const std::optional<uint32_t> named = FirstValueNamed(key, startValue)) {
                first = *named + 1;
            }
        }
        for (uint32_t index = first; EnumValueInfo(key, index, info) == ERROR_SUCCESS; ++index) {
            walker_.ChargeValue(0);
            ValueName(info, name);
            MatchKind kind = MatchKind::ValueName;
            bool read = false;
            if (!(criteria_.values && Test(name))) {
                // Only string data can match, so no other data is read at all.
                if (tooComplex_ || !criteria_.data || !IsStringType(info.type)) {
                    if (tooComplex_) {
                        return false;
                    }
                    continue;
                }
                walker_.ChargeValue(info.size);
                if (ReadValueData(key, index, info.size, data_) != ERROR_SUCCESS) {
                    continue;
                }
                read = true;
                if (!DataMatches(info.type)) {
                    if (tooComplex_) {
                        return false;
                    }
                    continue;
                }
                kind = MatchKind::ValueData;
            }
            // The preview is read apart from the budget: the search it stands for read nothing.
            if (!read && ReadValueData(key, index, info.size, data_) != ERROR_SUCCESS) {
                data_.clear();
            }
            if (!Report({keyPath, name, kind, lastWrite, 0, 0, 0, HitDataPreview(info.type, data_)},
                        depth)) {
                return false;
            }
            // A search starting at this hit passes over the values up to the first one named
            // like it, which is this one unless an earlier name differs in case alone.
            index = FirstValueNamed(key, name).value_or(index);
        }
        return true;
    }

    static const std::string& ValueName(const ValueInfo& info, std::string& name) {
        name.clear();
        if (info.name.empty()) {
            name = kUnnamedValueHitName;
        } else {
            AppendUtf8(info.name, name);
        }
        return name;
    }

    // The first string of the data; for REG_MULTI_SZ each following one up to an empty string
    // or the end. Strings without a terminator end at the data's end.
    bool DataMatches(uint32_t type) {
        const size_t units = data_.size() / 2;
        units_.resize(units);
        if (units > 0) {
            std::memcpy(units_.data(), data_.data(), units * 2);
        }
        if (units == 0 || units_[0] == 0) {
            return false;
        }
        size_t pos = 0;
        while (pos < units) {
            size_t end = pos;
            while (end < units && units_[end] != 0) {
                ++end;
            }
            if (end == pos) {
                break;  // an empty string ends the list
            }
            text_.clear();
            AppendUtf8(std::u16string_view(units_.data() + pos, end - pos), text_);
            if (Test(text_)) {
                return true;
            }
            if (type != REG_MULTI_SZ || tooComplex_) {
                break;
            }
            pos = end + 1;
        }
        return false;
    }

    bool DateMatches(FileTime lastWrite) const {
        if (criteria_.afterOn && lastWrite < criteria_.after) {
            return false;
        }
        if (criteria_.beforeOn && lastWrite > criteria_.before) {
            return false;
        }
        return true;
    }

    RegistryWalker& walker_;
    std::string_view rootPath_;  // of the walk under way
    uint32_t hive_ = 0;          // generation of the hive under way, when its deleted follow
    SearchCriteria criteria_;    // its start moves to each hit the walk goes on from
    const SearchControl* control_;
    TextMatcher* matcher_;
    std::string_view startValue_;
    const HitHandler& handler_;
    bool cancelled_ = false;
    bool tooComplex_ = false;
    bool handlerStopped_ = false;
    bool walkCutAtHit_ = false;
    bool ended_ = false;
    std::optional<SearchResult> again_;
    std::vector<PathLevel> levels_;  // by depth
    std::string text_;
    std::vector<uint8_t> data_;
    std::u16string units_;
};

struct WalkOutcome {
    bool cancelled = false;
    bool tooComplex = false;
    bool handlerStopped = false;
    bool walkCut = false;
    std::optional<SearchResult> again;
};

// One walk from the start of `criteria`, handing its hits to `handler`.
WalkOutcome WalkFrom(const SearchCriteria& criteria, const SearchControl* control,
                     TextMatcher& matcher, const HitHandler& handler) {
    const auto [rootName, rest] = SplitFirstComponent(criteria.startPath);
    // Any other first component (the root label, an empty path) starts at the beginning of
    // HKEY_LOCAL_MACHINE.
    const bool users = rootName == "HKEY_USERS";
    const std::string_view startValue = rest.empty() ? std::string_view() : criteria.startValue;

    RegistryWalker walker;
    const char* root = users ? "HKEY_USERS" : "HKEY_LOCAL_MACHINE";
    SearchWalk visitor(walker, criteria, control, &matcher, startValue, root, handler);
    std::string_view resume = rest;
    if (criteria.deleted && criteria.startDeletedHive != 0) {
        // The rest of the start hive's deleted records, then the hives after it: the walk
        // resumes at the hive's root and passes over it.
        const auto [hive, below] = SplitFirstComponent(rest);
        (void)below;
        const std::string hivePath = std::string(root) + "\\" + std::string(hive);
        std::optional<SearchResult> hit = SearchDeletedRecords(
            criteria, [&visitor](std::string_view text) { return visitor.Test(text); },
            criteria.startDeletedHive, hivePath, criteria.startDeletedOffset);
        if (hit && !visitor.TooComplex()) {
            visitor.ReportDeleted(std::move(*hit));
        }
        resume = hive;
    }
    if (!visitor.Done() &&
        walker.Walk(users ? HKEY_USERS : HKEY_LOCAL_MACHINE, root, visitor, 0, resume) && !users &&
        !visitor.Done()) {
        visitor.SetRootPath("HKEY_USERS");
        walker.Walk(HKEY_USERS, "HKEY_USERS", visitor, 0);
    }
    return {visitor.Cancelled(), visitor.TooComplex(), visitor.HandlerStopped(),
            visitor.WalkCutAtHit() || walker.Exhausted(), std::move(visitor.Again())};
}

std::unique_ptr<TextMatcher> MatcherFor(const SearchCriteria& criteria) {
    const CompiledPattern compiled =
        CompileTextPattern(criteria.byDate ? std::string_view() : std::string_view(criteria.text),
                           {criteria.regex != 0 && !criteria.byDate, criteria.matchCase != 0,
                            criteria.wholeString != 0});
    return compiled.pattern ? compiled.pattern->NewMatcher() : nullptr;
}

}  // namespace

std::optional<SearchResult> SearchFrom(const SearchCriteria& criteria, const SearchControl* control,
                                       bool* walkCut, bool* tooComplex) {
    const std::unique_ptr<TextMatcher> matcher = MatcherFor(criteria);
    if (!matcher) {
        return std::nullopt;
    }
    std::optional<SearchResult> first;
    const HitHandler handler = [&first](const SearchResult& hit) {
        first = hit;
        return AfterHit::Stop;
    };
    const WalkOutcome outcome = WalkFrom(criteria, control, *matcher, handler);
    if (walkCut != nullptr) {
        *walkCut = outcome.walkCut;
    }
    if (tooComplex != nullptr) {
        *tooComplex = outcome.tooComplex;
    }
    return first;
}

SearchEnd SearchEveryHit(const SearchCriteria& start, const SearchControl* control,
                         const std::function<bool(const SearchResult&)>& found, bool* walkCut) {
    const std::unique_ptr<TextMatcher> matcher = MatcherFor(start);
    if (!matcher) {
        return SearchEnd::NothingMore;
    }
    std::set<std::tuple<std::string, std::string, MatchKind, uint32_t>> reported;
    SearchEnd end = SearchEnd::NothingMore;
    const HitHandler handler = [&](const SearchResult& hit) {
        if (control != nullptr && control->CancelRequested()) {
            end = SearchEnd::Cancelled;
            return AfterHit::Stop;
        }
        // A hit met again would lead back to itself on every go-on: stop there.
        if (!reported.emplace(hit.keyPath, hit.valueName, hit.kind, hit.deletedOffset).second) {
            end = SearchEnd::NothingMore;
            return AfterHit::Stop;
        }
        if (!found(hit)) {
            end = SearchEnd::Declined;
            return AfterHit::Stop;
        }
        return AfterHit::GoOn;
    };
    SearchCriteria criteria = start;
    for (;;) {
        WalkOutcome outcome = WalkFrom(criteria, control, *matcher, handler);
        if (walkCut != nullptr && outcome.walkCut) {
            *walkCut = true;
        }
        if (outcome.handlerStopped) {
            return end;
        }
        if (!outcome.again) {
            if (control != nullptr && control->CancelRequested()) {
                return SearchEnd::Cancelled;
            }
            return outcome.tooComplex ? SearchEnd::PatternTooComplex : SearchEnd::NothingMore;
        }
        criteria.startPath = outcome.again->keyPath;
        criteria.startValue = outcome.again->valueName;
        criteria.startDeletedHive = outcome.again->deletedHive;
        criteria.startDeletedOffset = outcome.again->deletedOffset;
    }
}

}  // namespace hivora
