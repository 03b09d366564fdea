#include "coach/drill_themes.h"

#include <algorithm>
#include <array>
#include <bit>
#include <map>
#include <mutex>
#include <thread>

#include "base/random.h"
#include "players/duel.h"
#include "players/rule_player.h"
#include "players/search_player.h"
#include "practice/deal_code.h"
#include "rules/auction.h"
#include "rules/meld_rules.h"
#include "rules/trick_rules.h"
#include "rules/unseen_deck.h"
#include "search/rule_card.h"

namespace vantrel {

namespace {

struct ThemeText {
    DrillTheme theme;
    std::string_view name;
    std::string_view rule;
};
constexpr std::array<ThemeText, 5> kThemeTexts{{
    {DrillTheme::DeclarersLead, "The opening lead as declarer", "The declarer's first lead of the hand"},
    {DrillTheme::DefendersLead, "The opening lead as defender",
     "A defender's first lead, after the defenders' first trick"},
    {DrillTheme::PullingTrump, "Pulling trump or not",
     "The declarer on lead after the first trick, holding two trumps or more and another suit"},
    {DrillTheme::FeedingCounters, "Feeding counters to partner's trick",
     "Fourth to play, partner's card holding the trick: whether to give it a counter"},
    {DrillTheme::LastTricks, "The last tricks", "On lead with three tricks left"},
}};

// Deals weighed at a time: the drills are taken in the order of their deals,
// so that any number of threads finds the same ones.
constexpr std::uint64_t kDealsABatch = 8;
// Positions of one deal weighed at most, where a theme comes back in a hand.
constexpr int kPositionsADeal = 3;

}  // namespace

std::string_view ThemeName(DrillTheme theme) { return kThemeTexts[static_cast<std::size_t>(theme)].name; }
std::string_view ThemeRule(DrillTheme theme) { return kThemeTexts[static_cast<std::size_t>(theme)].rule; }

std::optional<DrillTheme> ThemeNamed(std::string_view name) {
    for (const ThemeText& text : kThemeTexts)
        if (text.name == name) return text.theme;
    return std::nullopt;
}

bool FitsTheme(DrillTheme theme, const FormPlayState& state, int declarer) {
    if (state.Over()) return false;
    const int seat = state.ToPlay();
    const KindCounts& hand = state.Hands()[static_cast<std::size_t>(seat)];
    const bool leading = state.Trick().empty();
    const int declarers = SideOf(declarer);
    switch (theme) {
        case DrillTheme::DeclarersLead:
            return state.Played() == 0 && seat == declarer;
        case DrillTheme::DefendersLead:
            return leading && SideOf(seat) != declarers && state.Tricks()[static_cast<std::size_t>(1 - declarers)] == 1;
        case DrillTheme::PullingTrump: {
            if (!leading || seat != declarer || state.TricksPlayed() == 0) return false;
            const KindMask held = HeldKinds(hand);
            return SuitLength(hand, state.Trump()) >= 2 && (held & ~SuitMask(state.Trump())) != 0;
        }
        case DrillTheme::FeedingCounters: {
            const std::span<const int> trick = state.Trick();
            if (trick.size() != 3 || TrickWinner(trick, state.Trump(), state.Rules().tricks) != 1) return false;
            bool counter = false;
            bool other = false;
            for (KindMask m = state.Legal(); m != 0; m &= m - 1) {
                const int rank = RankOfKind(std::countr_zero(m));
                (rank <= 2 ? counter : other) = true;  // A, 10 and K count
            }
            return counter && other;
        }
        case DrillTheme::LastTricks:
            return leading && state.TricksPlayed() == state.Rules().form.handCards - 3;
    }
    return false;
}

Game GameOf(const ThemeDrill& drill) {
    Game game(RuleSet::Standard(), 1, drill.dealer);
    game.DealFromCode(DealCodeOf(GameForm{}, drill.hands));
    while (game.CurrentPhase() == Phase::Auction) {
        const int seat = game.ToAct();
        if (seat == drill.declarer)
            game.Bid(seat, game.CurrentAuction().MinimumBid());
        else
            game.Pass(seat);
    }
    game.NameTrump(drill.declarer, drill.trump);
    game.Continue();  // the meld seen, the play begins
    for (const int card : drill.plays) game.PlayCard(game.ToAct(), card);
    return game;
}

std::optional<ThemeDrill> ThemeDrillOf(DrillTheme theme, std::uint64_t seed, std::uint64_t index, int worlds,
                                       const std::atomic<bool>* cancel) {
    Random random(seed, index);
    ThemeDrill drill;
    drill.theme = theme;
    drill.hands = DealOf(GameForm{}, random).hands;
    drill.dealer = static_cast<int>(index % 4);
    // The declarer and trump: the seat and suit of most meld, a card of the suit worth 20.
    std::tie(drill.declarer, drill.trump) = StrongestSuit(RuleSet::Standard(), drill.hands, 20);
    Game game = GameOf(drill);
    // The review's own weighing of a card, each world's look ahead held to a
    // quarter of a player's.
    const SearchBudget budget{worlds, 1, 5, worlds, false, 100000};
    int weighed = 0;
    while (game.CurrentPhase() == Phase::Play && weighed < kPositionsADeal) {
        if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) return std::nullopt;
        const int seat = game.ToAct();
        const int rule = RuleCard(game.Play(), drill.declarer);
        if (FitsTheme(theme, game.Play(), drill.declarer)) {
            ++weighed;
            const SeatView view = game.SingleDeckViewOf(seat);
            const SearchChoice choice = SearchCard(view, budget, random.Next64(), cancel);
            const int ruleCard = RuleCard(view);
            if (choice.card >= 0 && choice.byCard[static_cast<std::size_t>(ruleCard)] >= 0 &&
                choice.expected - choice.byCard[static_cast<std::size_t>(ruleCard)] >= kThemeLesson) {
                drill.plays = game.CardsPlayed();
                drill.best = choice.card;
                drill.ruleCard = ruleCard;
                drill.expected = choice.byCard;
                // The table turned so that the seat asked sits South, where
                // a player's own cards lie: the same position, seat for seat.
                const std::array<KindCounts, 4> hands = drill.hands;
                for (int s = 0; s < 4; ++s)
                    drill.hands[static_cast<std::size_t>((s - seat + 4) % 4)] = hands[static_cast<std::size_t>(s)];
                drill.dealer = (drill.dealer - seat + 4) % 4;
                drill.declarer = (drill.declarer - seat + 4) % 4;
                drill.seat = 0;
                return drill;
            }
        }
        game.PlayCard(seat, rule);
    }
    return std::nullopt;
}

std::vector<ThemeDrill> MakeThemeDrills(DrillTheme theme, int count, std::uint64_t seed, int worlds, unsigned threads,
                                        const std::atomic<bool>* cancel, const std::function<void(int)>& progress) {
    std::vector<ThemeDrill> drills;
    threads = threads != 0 ? threads : std::max(1u, std::thread::hardware_concurrency());
    auto cancelled = [cancel] { return cancel != nullptr && cancel->load(std::memory_order_relaxed); };
    for (std::uint64_t first = 0; static_cast<int>(drills.size()) < count && !cancelled(); first += kDealsABatch) {
        std::array<std::optional<ThemeDrill>, kDealsABatch> found;
        std::atomic<std::uint64_t> next{0};
        auto work = [&] {
            for (std::uint64_t i; (i = next.fetch_add(1)) < kDealsABatch && !cancelled();)
                found[i] = ThemeDrillOf(theme, seed, first + i, worlds, cancel);
        };
        std::vector<std::thread> workers;
        for (unsigned t = 1; t < threads; ++t) workers.emplace_back(work);
        work();
        for (std::thread& worker : workers) worker.join();
        if (cancelled()) break;
        for (std::optional<ThemeDrill>& drill : found)
            if (drill && static_cast<int>(drills.size()) < count) drills.push_back(std::move(*drill));
        if (progress) progress(static_cast<int>(drills.size()));
    }
    return drills;
}

}  // namespace vantrel
