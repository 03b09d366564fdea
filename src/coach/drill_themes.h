#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "game/game.h"
#include "rules/cards.h"
#include "rules/play_state.h"

namespace vantrel {

/// The recurring decisions of the card play, each found by a rule that can
/// be stated (ThemeRule) and tested (FitsTheme), for drills made on fresh
/// deals when a player's own hands give too few.
enum class DrillTheme { DeclarersLead, DefendersLead, PullingTrump, FeedingCounters, LastTricks };
inline constexpr std::array<DrillTheme, 5> kDrillThemes{DrillTheme::DeclarersLead, DrillTheme::DefendersLead,
                                                        DrillTheme::PullingTrump, DrillTheme::FeedingCounters,
                                                        DrillTheme::LastTricks};

/// "The opening lead as declarer", ...
std::string_view ThemeName(DrillTheme theme);
/// The theme's rule in a line, e.g. "Fourth to play, partner's card holding
/// the trick: whether to give it a counter".
std::string_view ThemeRule(DrillTheme theme);
/// The theme named by ThemeName, if any.
std::optional<DrillTheme> ThemeNamed(std::string_view name);

/// Whether the position, the seat to play about to play, states the theme's
/// rule:
///   DeclarersLead: the first card of the hand, which the declarer leads.
///   DefendersLead: a defender to lead, the defenders having taken exactly
///     one trick: their first lead.
///   PullingTrump: the declarer to lead after the first trick, holding at
///     least two trumps and a card of another suit.
///   FeedingCounters: fourth to play, partner's card holding the trick, a
///     counter (A, 10 or K) and a card that is none among the legal cards.
///   LastTricks: three tricks left, the seat to play leading.
bool FitsTheme(DrillTheme theme, const FormPlayState& state, int declarer);

/// A position made for a theme: a fresh deal, the auction and trump that
/// make its declarer, the cards played to the card asked, and the figures
/// that grade it, those of the hand review (each legal card's expected card
/// points for the seat's side over worlds drawn from its view).
struct ThemeDrill {
    DrillTheme theme = DrillTheme::DeclarersLead;
    std::array<KindCounts, 4> hands{};
    int dealer = 0;
    int declarer = 0;
    int trump = 0;
    std::vector<int> plays;  // before the card asked
    int seat = 0;
    int best = -1;
    int ruleCard = -1;  // the card the rule player chooses there
    PerKind<double> expected{};
    friend bool operator==(const ThemeDrill&, const ThemeDrill&) = default;
};

/// The game as it stood at the drill's card, the Standard rules, no cards
/// passed: the deal laid from its code, the declarer's bid (or the dealer's
/// standing bid) with the others passing, trump named, the cards played.
Game GameOf(const ThemeDrill& drill);

/// A drill kept only where the best card beats the rule player's by at
/// least this many expected card points: each has a lesson.
inline constexpr double kThemeLesson = 5;

/// The drill of fresh deal `index` of `seed` for a theme, if it has a lesson:
/// the hand is played by rule players until a position fits the theme and
/// its best card beats the rule player's by kThemeLesson; none where the
/// hand ends first. The seats are turned so that the seat asked is South. `worlds` are drawn for each position weighed.
std::optional<ThemeDrill> ThemeDrillOf(DrillTheme theme, std::uint64_t seed, std::uint64_t index, int worlds,
                                       const std::atomic<bool>* cancel = nullptr);

/// `count` drills of a theme from fresh deals, on `threads` threads (0:
/// every core), the same for the same seed whatever the threads; fewer when
/// cancelled. `progress` hears the drills found so far.
std::vector<ThemeDrill> MakeThemeDrills(DrillTheme theme, int count, std::uint64_t seed, int worlds, unsigned threads,
                                        const std::atomic<bool>* cancel = nullptr,
                                        const std::function<void(int)>& progress = {});

}  // namespace vantrel
