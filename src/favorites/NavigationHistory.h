// The back/forward history of selected keys, shared by every registry window.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "hive/RegistryTypes.h"

namespace hivora {

// What a history entry needs to select its key again.
struct HistoryEntry {
    RootKey root = 0;
    std::string subPath;
    bool operator==(const HistoryEntry&) const = default;
};

class NavigationHistory {
public:
    // Records a newly selected key, dropping the entries after the current one. Does nothing
    // while a Back or Forward move selects its key.
    void RecordKey(const HistoryEntry& entry);
    // Moves one entry back (forward) when there is one; the entry now current, or none when
    // the history is empty.
    std::optional<HistoryEntry> StepBack();
    std::optional<HistoryEntry> StepForward();
    bool IsAtStart() const { return position_ == 0; }
    bool IsAtEnd() const { return position_ + 1 == static_cast<long>(entries_.size()); }
    // The enabling rules of Go To Back and Go To Forward.
    bool CanGoBack() const { return !IsAtStart(); }
    bool CanGoForward() const { return !entries_.empty() && !IsAtEnd(); }
    void ClearHistory();

    // While alive, selections are not recorded (the Back/Forward move's own selection).
    class Suspend {
    public:
        explicit Suspend(NavigationHistory& history) : history_(history) {
            history_.recording_ = false;
        }
        ~Suspend() { history_.recording_ = true; }
        Suspend(const Suspend&) = delete;
        Suspend& operator=(const Suspend&) = delete;

    private:
        NavigationHistory& history_;
    };

    const std::vector<HistoryEntry>& Entries() const { return entries_; }
    long Position() const { return position_; }

private:
    std::vector<HistoryEntry> entries_;
    long position_ = 0;
    bool recording_ = true;
};

// The one history of the process.
NavigationHistory& History();

}  // namespace hivora
