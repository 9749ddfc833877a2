#include "search/SearchEngine.h"

#include <cstring>
#include <vector>

#include "hive/RegistryReader.h"
#include "hive/WalkGuard.h"
#include "keys/KeyPath.h"
#include "search/SearchControl.h"
#include "support/CaseFold.h"
#include "support/TextConvert.h"

namespace hivora {
namespace {

bool IsStringType(uint32_t type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

class SearchWalk {
public:
    SearchWalk(const SearchCriteria& criteria, const SearchControl* control)
        : criteria_(criteria), control_(control), foldedText_(FoldCaseUtf8(criteria.text)) {}

    bool Cancelled() const { return cancelled_; }

    // The subkeys of `key` (at `depth` below its root) and everything below them, from the
    // start position given by `startRest` and `startValue`.
    std::optional<SearchResult> Keys(HKEY key, const std::string& parentPath,
                                     std::string_view startRest, std::string_view startValue,
                                     int depth) {
        if (control_ != nullptr && control_->CancelRequested()) {
            cancelled_ = true;
            return std::nullopt;
        }
        const auto [startName, restBelow] = SplitFirstComponent(startRest);

        // Resume by position: the walk's own order, not a name comparison, decides what lies
        // before the start, so unsorted lists (the roots' hive listing, damaged hives) resume
        // exactly after the start key.
        uint32_t first = 0;
        bool haveStart = false;
        SubkeyInfo info;
        if (!startName.empty()) {
            for (uint32_t index = 0; EnumSubkey(key, index, info) == ERROR_SUCCESS; ++index) {
                if (EqualsNoCase(ToUtf8(info.name), startName)) {
                    first = index;
                    haveStart = true;
                    break;
                }
            }
        }

        RegKey handle;
        std::string name;
        for (uint32_t index = first; EnumSubkey(key, index, info, &handle) == ERROR_SUCCESS;
             ++index) {
            name.clear();
            AppendUtf8(info.name, name);
            const bool isStart = haveStart && index == first;
            std::string path = JoinPath(parentPath, name);

            WalkGuard::Visit visit{true, false, false};  // unopenable: its name only
            if (handle) {
                visit = guard_.Enter(handle.get(), depth + 1);
                if (!visit.enter) {
                    continue;  // reached before (a cycle or a shared key), or too deep
                }
            }

            // The start key's own name was examined before the previous hit.
            if (!isStart) {
                if (criteria_.byDate) {
                    if (DateMatches(info.lastWrite)) {
                        return SearchResult{std::move(path), kKeyHitValueName, MatchKind::KeyDate,
                                            info.lastWrite};
                    }
                } else if (criteria_.keys && TextMatches(name)) {
                    return SearchResult{std::move(path), kKeyHitValueName, MatchKind::KeyName, 0};
                }
            }

            const std::string_view subRest = isStart ? restBelow : std::string_view();
            const std::string_view subStartValue = isStart ? startValue : std::string_view();
            if (!criteria_.byDate && handle && visit.values &&
                (criteria_.values || criteria_.data) && subRest.empty()) {
                if (auto hit = Values(handle.get(), path, subStartValue)) {
                    return hit;
                }
            }
            if (handle && visit.subkeys) {
                if (auto hit = Keys(handle.get(), path, subRest, subStartValue, depth + 1)) {
                    return hit;
                }
                if (cancelled_) {
                    return std::nullopt;
                }
            }
        }
        return std::nullopt;
    }

private:
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

    std::optional<SearchResult> Values(HKEY key, const std::string& keyPath,
                                       std::string_view startValue) {
        ValueInfo info;
        std::string name;
        uint32_t first = 0;
        if (!startValue.empty()) {
            for (uint32_t index = 0; EnumValueInfo(key, index, info) == ERROR_SUCCESS; ++index) {
                if (EqualsNoCase(ValueName(info, name), startValue)) {
                    first = index + 1;
                    break;
                }
            }
        }
        for (uint32_t index = first; EnumValueInfo(key, index, info) == ERROR_SUCCESS; ++index) {
            ValueName(info, name);
            if (criteria_.values && TextMatches(name)) {
                return SearchResult{keyPath, name, MatchKind::ValueName, 0};
            }
            // Only string data can match, so no other data is read at all.
            if (criteria_.data && IsStringType(info.type)) {
                if (ReadValueData(key, index, info.size, data_) != ERROR_SUCCESS) {
                    continue;
                }
                if (DataMatches(info.type)) {
                    return SearchResult{keyPath, name, MatchKind::ValueData, 0};
                }
            }
        }
        return std::nullopt;
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
            if (TextMatches(text_)) {
                return true;
            }
            if (type != REG_MULTI_SZ) {
                break;
            }
            pos = end + 1;
        }
        return false;
    }

    bool TextMatches(std::string_view name) {
        if (criteria_.wholeString) {
            return EqualsNoCase(name, criteria_.text);
        }
        // Most names are ASCII: fold those in place in one reused buffer (the same folding as
        // the shared helper's), and hand only the others to it.
        folded_.resize(name.size());
        for (size_t i = 0; i < name.size(); ++i) {
            const char c = name[i];
            if (static_cast<unsigned char>(c) >= 0x80) {
                folded_ = FoldCaseUtf8(name);
                break;
            }
            folded_[i] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
        }
        return folded_.find(foldedText_) != std::string::npos;
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

    const SearchCriteria& criteria_;
    const SearchControl* control_;
    WalkGuard guard_;
    bool cancelled_ = false;
    const std::string foldedText_;  // folded once; names are folded as they come
    std::string folded_;
    std::string text_;
    std::vector<uint8_t> data_;
    std::u16string units_;
};

}  // namespace

std::optional<SearchResult> SearchFrom(const SearchCriteria& criteria,
                                       const SearchControl* control) {
    const auto [rootName, rest] = SplitFirstComponent(criteria.startPath);
    // Any other first component (the root label, an empty path) starts at the beginning of
    // HKEY_LOCAL_MACHINE.
    const bool users = rootName == "HKEY_USERS";
    const std::string_view startValue = rest.empty() ? std::string_view() : criteria.startValue;

    SearchWalk walk(criteria, control);
    auto found = [](std::optional<SearchResult> hit, const char* root) {
        hit->keyPath = std::string(root) + "\\" + hit->keyPath;
        return hit;
    };
    if (users) {
        if (auto hit = walk.Keys(HKEY_USERS, std::string(), rest, startValue, 0)) {
            return found(std::move(hit), "HKEY_USERS");
        }
        return std::nullopt;
    }
    if (auto hit = walk.Keys(HKEY_LOCAL_MACHINE, std::string(), rest, startValue, 0)) {
        return found(std::move(hit), "HKEY_LOCAL_MACHINE");
    }
    if (walk.Cancelled()) {
        return std::nullopt;
    }
    if (auto hit = walk.Keys(HKEY_USERS, std::string(), {}, {}, 0)) {
        return found(std::move(hit), "HKEY_USERS");
    }
    return std::nullopt;
}

}  // namespace hivora
