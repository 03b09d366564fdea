#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "game/game.h"
#include "players/bidding.h"
#include "rules/auction.h"
#include "rules/cards.h"
#include "rules/play_state.h"

namespace vantrel {

/// The recurring decisions of the game, each found by a rule that can be
/// stated (ThemeRule) and tested (FitsTheme), for drills made on fresh
/// deals when a player's own hands give too few: six of the card play,
/// then four of the bidding.
enum class DrillTheme {
    DeclarersLead,
    DefendersLead,
    PullingTrump,
    FeedingCounters,
    KeepingTrump,
    LastTricks,
    FirstBid,
    OverPartner,
    NamingTrump,
    CardsToPass
};
inline constexpr std::array<DrillTheme, 10> kDrillThemes{
    DrillTheme::DeclarersLead, DrillTheme::DefendersLead, DrillTheme::PullingTrump, DrillTheme::FeedingCounters,
    DrillTheme::KeepingTrump,  DrillTheme::LastTricks,    DrillTheme::FirstBid,     DrillTheme::OverPartner,
    DrillTheme::NamingTrump,   DrillTheme::CardsToPass};

/// What a drill asks: a card, a call, the trump, or the cards to pass.
enum class DrillQuestion { Play, Call, Trump, Pass };

/// A pass as a drill's choice keeps its cards in one number: each card's
/// kind and one, a digit in base 25, the lowest kind first.
int PassCode(const KindCounts& cards);
KindCounts PassOfCode(int code);

/// The rules a theme's drills are dealt under: the Standard rules, three
/// cards passed each way where the cards to pass are asked.
RuleSet ThemeRules(DrillTheme theme);
DrillQuestion QuestionOf(DrillTheme theme);
/// The choice a figure stands for: a suit where trump is asked, else its
/// bid (a call's bid, 0 a pass; or a pass's PassCode).
int ChoiceOf(DrillQuestion question, const CallFigure& figure);
/// "play", "call", "trump" or "pass", as the history keeps a drill's question.
std::string_view QuestionName(DrillQuestion question);
std::optional<DrillQuestion> QuestionNamed(std::string_view name);

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
///   KeepingTrump: holding one trump, and a card of another suit among the
///     legal ones, while an opponent holds four cards or more of a suit
///     other than trump.
///   LastTricks: three tricks left, the seat to play leading.
/// The bidding's themes fit no position of the play.
bool FitsTheme(DrillTheme theme, const FormPlayState& state, int declarer);

/// Whether the auction, with the seats' hands, states a bidding theme's rule:
///   FirstBid: the seat to call has not called yet and holds 40 meld or
///     more in a suit; partner holds no bid of its own.
///   OverPartner: partner holds the high bid by a bid of its own, and an
///     opponent is still in.
///   NamingTrump: the auction over, its winner holding four cards or more
///     in each of two suits.
///   CardsToPass: the auction over, won by a bid; the winner's partner
///     passes first.
/// The play's themes fit no auction.
bool FitsTheme(DrillTheme theme, const Auction& auction, const std::array<KindCounts, 4>& hands);

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
    /// The bids from the dealer's left (0 a pass): those before the call
    /// asked, or the whole auction where trump is asked; empty where a card
    /// is asked, the declarer then bidding the least bid and the others passing.
    std::vector<int> calls;
    std::vector<int> plays;  // before the card asked
    int seat = 0;
    int best = -1;  // the best card, the best call's bid, or the best suit
    int rule = -1;  // what the rule player chooses there: its card, bid or suit
    PerKind<double> expected{};
    /// A call's or the trump's figures, as the bidding weighs them: the pass
    /// and each bid, or each suit (as `trump`) at the bid reached; or each
    /// pass weighed (its cards as PassCode in `bid`).
    std::vector<CallFigure> figures;
    friend bool operator==(const ThemeDrill&, const ThemeDrill&) = default;
};

/// The game as it stood at the drill's question, under the theme's rules,
/// no cards passed yet: the deal laid from its code, the auction (given, or the
/// declarer's bid, or the dealer's standing bid, with the others passing),
/// trump named, the cards played.
Game GameOf(const ThemeDrill& drill);

/// A drill kept only where the best card beats the rule player's by at
/// least this many expected card points, or the best call or trump the rule
/// player's by kCallLesson of the expected margin: each has a lesson.
inline constexpr double kThemeLesson = 5;
inline constexpr double kCallLesson = 10;

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
