#pragma once

#include <cstdint>
#include <vector>

namespace vantrel {

/// When a drill comes back: spaced repetition by whole days. Answered best,
/// a drill comes back after a growing interval (1 day, then 3, then each
/// interval two and a half times the last, at most 180 days); missed, it
/// comes back the same day and starts again from a day.
struct DrillSchedule {
    std::int64_t due = 0;  // the day it is next asked (days since 1970-01-01)
    int interval = 0;      // days until then, after the last answer; 0 before any
    int answered = 0;      // times answered
    int bestInARow = 0;    // answered best since it was last missed
    friend bool operator==(const DrillSchedule&, const DrillSchedule&) = default;
};
DrillSchedule NextSchedule(const DrillSchedule& schedule, bool best, std::int64_t today);

/// Where a drill comes from, in the order "Today's drills" takes new ones.
enum class DrillSource { OwnHand, Generated };

/// A drill as the day's list weighs it.
struct DrillEntry {
    std::int64_t id = 0;
    DrillSource source = DrillSource::OwnHand;
    DrillSchedule schedule;
};

/// "Today's drills", at most `count`: the drills due by today first (the
/// longest overdue first, then those missed most recently), then new drills
/// from the player's own hands, then generated ones, each in the order given.
std::vector<std::int64_t> TodaysDrills(const std::vector<DrillEntry>& drills, std::int64_t today, std::size_t count);

}  // namespace vantrel
