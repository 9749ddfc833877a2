#include "keys/RegistryWalker.h"

#include <algorithm>
#include <limits>

#include "hive/HiveEngine.h"
#include "hive/HiveSet.h"
#include "hive/RegistryBackend.h"
#include "hive/RegistryReader.h"
#include "keys/KeyPath.h"
#include "support/CaseFold.h"
#include "support/TextConvert.h"

namespace hivora {
namespace {

// Room for the longest name a hive can hold and its terminator: names are never cut.
constexpr uint32_t kNameChars = 32768;

uint64_t BudgetOfLoadedImages() {
    if (IsLiveRegistry()) {
        return std::numeric_limits<uint64_t>::max();
    }
    uint64_t bytes = 0;
    for (int slot = 0; slot < kHiveSlotCount; ++slot) {
        if (const HiveImage* image = HiveInSlot(static_cast<HiveSlot>(slot))) {
            bytes += image->size();
        }
    }
    return bytes / RegistryWalker::kImageBytesPerUnit;
}

// 0 for keys that have no cell (the roots, the live registry).
uint64_t IdentityOf(HKEY key) {
    return IsLiveRegistry() ? 0 : HiveKeyIdentity(key);
}

}  // namespace

RegistryWalker::RegistryWalker() : budget_(BudgetOfLoadedImages()) {}

bool RegistryWalker::Walk(HKEY start, std::string_view path, WalkVisitor& visitor,
                          FileTime lastWrite, std::string_view resumePath) {
    if (stopped_ || exhausted_) {
        return false;
    }
    visitor_ = &visitor;
    name_.resize(kNameChars);
    path_.assign(path);
    ancestors_.clear();
    WalkedKey top;
    top.key = start;
    top.path = path_;
    top.lastWrite = lastWrite;
    return Visit(top, resumePath) && !exhausted_;
}

bool RegistryWalker::Visit(const WalkedKey& key, std::string_view resumeRest) {
    const WalkStep step = visitor_->Enter(key);
    if (step == WalkStep::Stop) {
        stopped_ = true;
        return false;
    }
    if (step == WalkStep::Skip || key.reach != KeyReach::Open) {
        return true;
    }
    ancestors_.push_back(IdentityOf(key.key));
    const bool finished = Subkeys(key, resumeRest);
    ancestors_.pop_back();
    return finished;
}

uint32_t RegistryWalker::FindResumeIndex(HKEY key, std::string_view name, bool& found) {
    const RegistryBackend& backend = Backend();
    std::string utf8;
    for (uint32_t index = 0;; ++index) {
        uint32_t length = kNameChars;
        HKEY handed = nullptr;
        const int32_t status = backend.enumKey(key, index, name_.data(), &length, nullptr, nullptr,
                                               nullptr, nullptr, &handed);
        RegKey owned(handed);
        if (status != ERROR_SUCCESS) {
            break;
        }
        Charge(1);
        utf8.clear();
        AppendUtf8(std::u16string_view(name_.data(), length), utf8);
        if (EqualsNoCase(utf8, name)) {
            found = true;
            return index;
        }
    }
    return 0;
}

bool RegistryWalker::Subkeys(const WalkedKey& parent, std::string_view resumeRest) {
    const RegistryBackend& backend = Backend();
    const auto [resumeName, resumeBelow] = SplitFirstComponent(resumeRest);
    bool resuming = false;
    const uint32_t first =
        resumeName.empty() ? 0 : FindResumeIndex(parent.key, resumeName, resuming);
    const int depth = parent.depth + 1;
    const size_t parentLength = path_.size();

    uint32_t index = first;
    for (;; ++index) {
        if (exhausted_) {
            return false;
        }
        uint32_t nameLength = kNameChars;
        FileTime lastWrite = 0;
        HKEY handed = nullptr;
        const int32_t status = backend.enumKey(parent.key, index, name_.data(), &nameLength,
                                               nullptr, nullptr, nullptr, &lastWrite, &handed);
        RegKey subkey(handed);
        if (status != ERROR_SUCCESS) {
            break;
        }
        Charge(1);
        if (!subkey) {
            HKEY opened = nullptr;
            const int32_t openStatus = backend.openKey(parent.key, name_.data(), &opened);
            subkey.Reset(opened);
            if (openStatus != ERROR_SUCCESS) {
                subkey.Reset();
            }
        }

        path_.push_back('\\');
        AppendUtf8(std::u16string_view(name_.data(), nameLength), path_);
        WalkedKey child;
        child.path = path_;
        child.name = std::string_view(path_).substr(parentLength + 1);
        child.lastWrite = lastWrite;
        child.depth = depth;
        child.index = index;
        if (resuming && index == first) {
            child.resume = resumeBelow.empty() ? ResumeRole::At : ResumeRole::Above;
        }
        if (!subkey) {
            child.reach = KeyReach::Unopened;
        } else if (depth > kMaxDepth) {
            child.reach = KeyReach::Repeated;
        } else {
            const uint64_t identity = IdentityOf(subkey.get());
            const bool ancestor = identity != 0 && std::find(ancestors_.begin(), ancestors_.end(),
                                                             identity) != ancestors_.end();
            child.reach = ancestor ? KeyReach::Repeated : KeyReach::Open;
            child.key = ancestor ? nullptr : subkey.get();
        }
        const bool finished =
            Visit(child, child.resume != ResumeRole::None ? resumeBelow : std::string_view());
        path_.resize(parentLength);
        if (!finished) {
            return false;
        }
    }
    visitor_->Leave(parent.depth, index);
    return true;
}

}  // namespace hivora
