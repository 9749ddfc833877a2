// The one whole-tree walk: every key below a start key, parent first, each subkey list in the
// back end's enumeration order, handed to a visitor with its path, last-write time and depth.
// Export, statistics, search and any listing of all keys are visitors of this walk; it knows
// no output format and reads no values itself.
//
// A key is walked under every path that leads to it, exactly as the key tree shows it, so a
// subkey list that two damaged keys share is walked below both. What keeps a hostile hive
// finite: a key that is its own ancestor on the current path is not walked again, nothing
// deeper than kMaxDepth is walked, and the walk spends a budget proportional to the size of
// the loaded hive images, stopping when it runs out.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "hive/RegistryTypes.h"

namespace hivora {

// How the walk reached a key.
enum class KeyReach {
    Open,      // opened: `key` is its handle, and its subkeys can be walked
    Unopened,  // enumerated, but it failed to open: its name only
    Repeated,  // its own ancestor on this path, or deeper than kMaxDepth: not walked
};

// Where a key stands on the path a walk resumes from (see RegistryWalker::Walk).
enum class ResumeRole {
    None,
    Above,  // an ancestor of the resume key: the walk passes through it
    At,     // the resume key itself
};

// One key as the visitor sees it. The views are valid during the call only.
struct WalkedKey {
    HKEY key = nullptr;      // null unless reach is Open; owned by the walk
    std::string_view path;   // UTF-8: the start path, then "\" and each name
    std::string_view name;   // UTF-8, the last component; empty for the start key
    FileTime lastWrite = 0;  // as the parent's enumeration gave it
    int depth = 0;           // 0 for the start key
    uint32_t index = 0;      // its place in the parent's enumeration; 0 for the start key
    KeyReach reach = KeyReach::Open;
    ResumeRole resume = ResumeRole::None;
};

enum class WalkStep {
    Descend,  // walk the key's subkeys next (ignored unless the key is Open)
    Skip,     // leave its subkeys out
    Stop,     // end the whole walk now
};

class WalkVisitor {
public:
    virtual ~WalkVisitor() = default;
    virtual WalkStep Enter(const WalkedKey& key) = 0;
    // After the subkeys of a key the walk descended into: how many its enumeration gave.
    virtual void Leave(int depth, uint32_t subkeys) {
        (void)depth;
        (void)subkeys;
    }
};

// Said by every command whose walk ran out of budget.
inline constexpr std::string_view kWalkBudgetSpentText =
    "The walk stopped early: the hive files lead to the same keys far more often than their "
    "size can hold (a damaged or hostile hive); what was reached before is kept.";

class RegistryWalker {
public:
    // Windows allows 512 levels of keys.
    static constexpr int kMaxDepth = 512;

    // With the budget of the hive images loaded now (unlimited for the live registry).
    RegistryWalker();
    explicit RegistryWalker(uint64_t budget) : budget_(budget) {}

    // Walks `start` (whose path is `path`) and everything below it. With a resume path (a
    // backslash-separated sub-path below `start`), each level of it starts at the first subkey
    // whose name equals its component ignoring case, and passes over the subkeys enumerated
    // before that one; where no name equals the component, nothing more is passed over.
    // Returns true when the walk ran to its end; false when the visitor stopped it or the
    // budget ran out (then Exhausted() says so, and every later walk returns false at once).
    bool Walk(HKEY start, std::string_view path, WalkVisitor& visitor, FileTime lastWrite = 0,
              std::string_view resumePath = {});

    // The walk charges one unit per subkey it enumerates; a visitor that reads a value
    // charges it here, so that values read over and over also spend the budget.
    void ChargeValue(uint64_t dataBytes) { Charge(1 + dataBytes / kDataBytesPerUnit); }
    void Charge(uint64_t units) {
        spent_ += units;
        exhausted_ = exhausted_ || spent_ > budget_;
    }
    bool Exhausted() const { return exhausted_; }
    // Sets the units spent so far, as a fresh walk resumed at the key being visited would have
    // spent them: a visitor that goes on from a position instead of walking again from the
    // start keeps the budget of the walk it stands for.
    void RestartSpending(uint64_t spent) {
        spent_ = spent;
        exhausted_ = spent_ > budget_;
    }

    // One unit per 8 bytes of the images. An intact hive spends at most one unit per 28
    // bytes it holds (a key needs an 80-byte key cell, a value a 24-byte value cell, each
    // with a 4-byte list entry; data one unit per 64 stored bytes), so no intact hive comes
    // near it, and several keys that a damaged hive shares are walked whole; a hive that
    // names the same children twice on every level is cut off after work linear in its size.
    static constexpr uint64_t kImageBytesPerUnit = 8;
    static constexpr uint64_t kDataBytesPerUnit = 64;

private:
    bool Subkeys(const WalkedKey& parent, std::string_view resumeRest);
    bool Visit(const WalkedKey& key, std::string_view resumeRest);
    uint32_t FindResumeIndex(HKEY key, std::string_view name, bool& found);

    uint64_t budget_;
    uint64_t spent_ = 0;
    bool exhausted_ = false;
    bool stopped_ = false;
    WalkVisitor* visitor_ = nullptr;
    std::string path_;
    std::vector<char16_t> name_;
    std::vector<uint64_t> ancestors_;  // identities of the keys on the current path
};

}  // namespace hivora
