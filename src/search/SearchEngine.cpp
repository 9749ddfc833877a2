#include "search/SearchEngine.h"

#include <cstring>
#include <utility>
#include <vector>

#include "hive/HiveEngine.h"
#include "hive/RegistryBackend.h"
#include "hive/RegistryReader.h"
#include "keys/DeletedKeyIndex.h"
#include "keys/KeyPath.h"
#include "keys/RegistryWalker.h"
#include "search/DeletedSearch.h"
#include "search/SearchControl.h"
#include "support/CaseFold.h"
#include "support/TextConvert.h"

namespace hivora {
namespace {

bool IsStringType(uint32_t type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// Tests each key after the start position (see SearchFrom) in the walk's order: its name or
// date, then its values; the first hit stops the walk.
class SearchWalk : public WalkVisitor {
public:
    SearchWalk(RegistryWalker& walker, const SearchCriteria& criteria, const SearchControl* control,
               std::string_view startValue, std::string_view rootPath)
        : walker_(walker),
          rootPath_(rootPath),
          criteria_(criteria),
          control_(control),
          startValue_(startValue),
          foldedText_(FoldCaseUtf8(criteria.text)) {}

    bool Cancelled() const { return cancelled_; }
    std::optional<SearchResult>& Hit() { return hit_; }

    // After a hit among a hive's deleted records (found on leaving the hive) nothing more.
    bool Done() const { return cancelled_ || hit_.has_value(); }
    void SetRootPath(std::string_view rootPath) { rootPath_ = rootPath; }
    bool TextMatches(std::string_view name) const {
        if (criteria_.wholeString) {
            return EqualsNoCase(name, criteria_.text);
        }
        return FoldCaseUtf8(name).find(foldedText_) != std::string::npos;
    }

    WalkStep Enter(const WalkedKey& key) override {
        if (Done()) {
            return WalkStep::Stop;
        }
        if (control_ != nullptr && control_->CancelRequested()) {
            cancelled_ = true;
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
        if (key.depth == 0 || key.reach == KeyReach::Repeated) {
            return key.depth == 0 ? WalkStep::Descend : WalkStep::Skip;
        }
        // The path without the root, as the parent's path and the name joined by JoinPath.
        paths_.resize(static_cast<size_t>(key.depth) + 1);
        paths_[key.depth] = JoinPath(paths_[key.depth - 1], key.name);
        const std::string& path = paths_[key.depth];

        // The start key's own name was examined before the previous hit.
        if (key.resume == ResumeRole::None) {
            if (criteria_.byDate) {
                if (DateMatches(key.lastWrite)) {
                    return Found({path, kKeyHitValueName, MatchKind::KeyDate, key.lastWrite});
                }
            } else if (criteria_.keys && TextMatches(key.name)) {
                return Found({path, kKeyHitValueName, MatchKind::KeyName, 0});
            }
        }
        // The values of the keys above the start were all examined before.
        if (!criteria_.byDate && key.reach == KeyReach::Open &&
            (criteria_.values || criteria_.data) && key.resume != ResumeRole::Above) {
            if (auto hit =
                    Values(key.key, path,
                           key.resume == ResumeRole::At ? startValue_ : std::string_view())) {
                return Found(std::move(*hit));
            }
        }
        return WalkStep::Descend;
    }

    void Leave(int depth, uint32_t) override {
        if (depth != 1 || hive_ == 0 || Done()) {
            return;
        }
        const std::string hivePath = std::string(rootPath_) + "\\" + paths_[1];
        hit_ = SearchDeletedRecords(criteria_, [this](std::string_view text) { return TextMatches(text); },
                                    std::exchange(hive_, 0), hivePath, 0);
    }

private:
    WalkStep Found(SearchResult hit) {
        hit_ = std::move(hit);
        return WalkStep::Stop;
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

    std::optional<SearchResult> Values(HKEY key, const std::string& keyPath,
                                       std::string_view startValue) {
        ValueInfo info;
        std::string name;
        uint32_t first = 0;
        if (!startValue.empty()) {
            for (uint32_t index = 0; EnumValueInfo(key, index, info) == ERROR_SUCCESS; ++index) {
                walker_.ChargeValue(0);
                if (EqualsNoCase(ValueName(info, name), startValue)) {
                    first = index + 1;
                    break;
                }
            }
        }
        for (uint32_t index = first; EnumValueInfo(key, index, info) == ERROR_SUCCESS; ++index) {
            walker_.ChargeValue(0);
            ValueName(info, name);
            if (criteria_.values && TextMatches(name)) {
                return SearchResult{keyPath, name, MatchKind::ValueName, 0};
            }
            // Only string data can match, so no other data is read at all.
            if (criteria_.data && IsStringType(info.type)) {
                walker_.ChargeValue(info.size);
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
    const SearchCriteria& criteria_;
    const SearchControl* control_;
    std::string_view startValue_;
    bool cancelled_ = false;
    const std::string foldedText_;       // folded once; names are folded as they come
    std::vector<std::string> paths_{1};  // by depth
    std::optional<SearchResult> hit_;
    std::string text_;
    std::vector<uint8_t> data_;
    std::u16string units_;
};

}  // namespace

std::optional<SearchResult> SearchFrom(const SearchCriteria& criteria, const SearchControl* control,
                                       bool* walkCut) {
    const auto [rootName, rest] = SplitFirstComponent(criteria.startPath);
    // Any other first component (the root label, an empty path) starts at the beginning of
    // HKEY_LOCAL_MACHINE.
    const bool users = rootName == "HKEY_USERS";
    const std::string_view startValue = rest.empty() ? std::string_view() : criteria.startValue;

    RegistryWalker walker;
    const char* root = users ? "HKEY_USERS" : "HKEY_LOCAL_MACHINE";
    SearchWalk visitor(walker, criteria, control, startValue, root);
    std::string_view resume = rest;
    if (criteria.deleted && criteria.startDeletedHive != 0) {
        // The rest of the start hive's deleted records, then the hives after it: the walk
        // resumes at the hive's root and passes over it.
        const auto [hive, below] = SplitFirstComponent(rest);
        (void)below;
        const std::string hivePath = std::string(root) + "\\" + std::string(hive);
        if (auto hit = SearchDeletedRecords(
                criteria, [&visitor](std::string_view text) { return visitor.TextMatches(text); },
                criteria.startDeletedHive, hivePath, criteria.startDeletedOffset)) {
            return hit;
        }
        resume = hive;
    }
    if (walker.Walk(users ? HKEY_USERS : HKEY_LOCAL_MACHINE, root, visitor, 0, resume) && !users &&
        !visitor.Done()) {
        root = "HKEY_USERS";
        visitor.SetRootPath(root);
        walker.Walk(HKEY_USERS, root, visitor, 0);
    }
    if (walkCut != nullptr) {
        *walkCut = walker.Exhausted();
    }
    std::optional<SearchResult>& hit = visitor.Hit();
    if (hit && !visitor.Cancelled()) {
        // Deleted hits carry their whole path.
        if (hit->deletedHive == 0) {
            hit->keyPath = std::string(root) + "\\" + hit->keyPath;
        }
        return std::move(hit);
    }
    return std::nullopt;
}

}  // namespace hivora
