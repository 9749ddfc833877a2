#include "favorites/NavigationHistory.h"

namespace hivora {

void NavigationHistory::RecordKey(const HistoryEntry& entry) {
    if (!recording_) {
        return;
    }
    if (!entries_.empty() && position_ + 1 < static_cast<long>(entries_.size())) {
        entries_.resize(static_cast<size_t>(position_) + 1);
    }
    entries_.push_back(entry);
    position_ = static_cast<long>(entries_.size()) - 1;
}

std::optional<HistoryEntry> NavigationHistory::StepBack() {
    if (entries_.empty()) {
        return std::nullopt;
    }
    if (position_ > 0) {
        --position_;
    }
    return entries_[static_cast<size_t>(position_)];
}

std::optional<HistoryEntry> NavigationHistory::StepForward() {
    if (entries_.empty()) {
        return std::nullopt;
    }
    if (position_ + 1 < static_cast<long>(entries_.size())) {
        ++position_;
    }
    return entries_[static_cast<size_t>(position_)];
}

void NavigationHistory::ClearHistory() {
    entries_.clear();
    entries_.shrink_to_fit();
    position_ = 0;
}

NavigationHistory& History() {
    static NavigationHistory history;
    return history;
}

}  // namespace hivora
