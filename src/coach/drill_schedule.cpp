#include "coach/drill_schedule.h"

#include <algorithm>
#include <cmath>

namespace vantrel {

DrillSchedule NextSchedule(const DrillSchedule& schedule, bool best, std::int64_t today) {
    DrillSchedule next = schedule;
    ++next.answered;
    if (!best) {
        next.bestInARow = 0;
        next.interval = 0;
        next.due = today;
        return next;
    }
    ++next.bestInARow;
    next.interval = next.bestInARow == 1   ? 1
                    : next.bestInARow == 2 ? 3
                                           : std::min(180, static_cast<int>(std::lround(2.5 * schedule.interval)));
    next.due = today + next.interval;
    return next;
}

std::vector<std::int64_t> TodaysDrills(const std::vector<DrillEntry>& drills, std::int64_t today, std::size_t count) {
    std::vector<const DrillEntry*> due;
    std::vector<const DrillEntry*> fresh;
    for (const DrillEntry& drill : drills) {
        if (drill.schedule.answered == 0)
            fresh.push_back(&drill);
        else if (drill.schedule.due <= today)
            due.push_back(&drill);
    }
    // The longest overdue first; of those due the same day, the one missed
    // (its interval back to nothing) first.
    std::stable_sort(due.begin(), due.end(), [](const DrillEntry* a, const DrillEntry* b) {
        if (a->schedule.due != b->schedule.due) return a->schedule.due < b->schedule.due;
        return a->schedule.interval < b->schedule.interval;
    });
    std::stable_partition(fresh.begin(), fresh.end(),
                          [](const DrillEntry* drill) { return drill->source == DrillSource::OwnHand; });
    std::vector<std::int64_t> chosen;
    for (const auto* list : {&due, &fresh})
        for (const DrillEntry* drill : *list)
            if (chosen.size() < count) chosen.push_back(drill->id);
    return chosen;
}

}  // namespace vantrel
