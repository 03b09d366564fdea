#include "coach/drill_themes.h"

#include <algorithm>
#include <array>
#include <bit>
#include <map>
#include <mutex>
#include <thread>

#include "base/random.h"
#include "players/chance_to_make.h"
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
constexpr std::array<ThemeText, 9> kThemeTexts{{
    {DrillTheme::DeclarersLead, "The opening lead as declarer", "The declarer's first lead of the hand"},
    {DrillTheme::DefendersLead, "The opening lead as defender",
     "A defender's first lead, after the defenders' first trick"},
    {DrillTheme::PullingTrump, "Pulling trump or not",
     "The declarer on lead after the first trick, holding two trumps or more and another suit"},
    {DrillTheme::FeedingCounters, "Feeding counters to partner's trick",
     "Fourth to play, partner's card holding the trick: whether to give it a counter"},
    {DrillTheme::KeepingTrump, "Keeping a trump to stop a long suit",
     "Holding one trump while an opponent holds four cards or more of another suit"},
    {DrillTheme::LastTricks, "The last tricks", "On lead with three tricks left"},
    {DrillTheme::FirstBid, "The first bid with a given meld",
     "The seat's first call, holding 40 meld or more in a suit, partner holding no bid"},
    {DrillTheme::OverPartner, "Bidding over partner", "Partner holds the bid and an opponent is still in"},
    {DrillTheme::NamingTrump, "Naming trump between two suits",
     "The auction won, holding four cards or more in each of two suits"},
}};

// Deals weighed at a time: the drills are taken in the order of their deals,
// so that any number of threads finds the same ones.
constexpr std::uint64_t kDealsABatch = 8;
// Positions of one deal weighed at most, where a theme comes back in a hand.
constexpr int kPositionsADeal = 3;

}  // namespace

std::string_view ThemeName(DrillTheme theme) { return kThemeTexts[static_cast<std::size_t>(theme)].name; }
std::string_view ThemeRule(DrillTheme theme) { return kThemeTexts[static_cast<std::size_t>(theme)].rule; }

DrillQuestion QuestionOf(DrillTheme theme) {
    switch (theme) {
        case DrillTheme::FirstBid:
        case DrillTheme::OverPartner:
            return DrillQuestion::Call;
        case DrillTheme::NamingTrump:
            return DrillQuestion::Trump;
        default:
            return DrillQuestion::Play;
    }
}

namespace {
constexpr std::array<std::string_view, 3> kQuestionNames{"play", "call", "trump"};
}  // namespace

std::string_view QuestionName(DrillQuestion question) { return kQuestionNames[static_cast<std::size_t>(question)]; }

std::optional<DrillQuestion> QuestionNamed(std::string_view name) {
    for (std::size_t q = 0; q < kQuestionNames.size(); ++q)
        if (kQuestionNames[q] == name) return static_cast<DrillQuestion>(q);
    return std::nullopt;
}

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
        case DrillTheme::KeepingTrump: {
            const KindMask trumps = SuitMask(state.Trump());
            if (SuitLength(hand, state.Trump()) != 1 || (state.Legal() & trumps) == 0 || (state.Legal() & ~trumps) == 0)
                return false;
            for (const int opponent : {LeftOf(seat), LeftOf(PartnerSeat(seat))})
                for (int suit = 0; suit < 4; ++suit)
                    if (suit != state.Trump() &&
                        SuitLength(state.Hands()[static_cast<std::size_t>(opponent)], suit) >= 4)
                        return true;
            return false;
        }
        case DrillTheme::LastTricks:
            return leading && state.TricksPlayed() == state.Rules().form.handCards - 3;
        default:
            return false;
    }
}

bool FitsTheme(DrillTheme theme, const Auction& auction, const std::array<KindCounts, 4>& hands) {
    const auto bidOf = [&](int seat) {
        return std::any_of(auction.Calls().begin(), auction.Calls().end(),
                           [seat](const Auction::Call& call) { return call.seat == seat && call.bid > 0; });
    };
    const auto calledYet = [&](int seat) {
        return std::any_of(auction.Calls().begin(), auction.Calls().end(),
                           [seat](const Auction::Call& call) { return call.seat == seat; });
    };
    if (theme == DrillTheme::NamingTrump) {
        if (!auction.Finished() || auction.HighBidder() < 0) return false;
        const KindCounts& hand = hands[static_cast<std::size_t>(auction.HighBidder())];
        int long_ = 0;
        for (int suit = 0; suit < 4; ++suit) long_ += SuitLength(hand, suit) >= 4;
        return long_ >= 2;
    }
    const int seat = auction.ToAct();
    if (seat < 0) return false;
    const int partner = PartnerSeat(seat);
    switch (theme) {
        case DrillTheme::FirstBid: {
            if (calledYet(seat) || (auction.HighBidder() == partner && bidOf(partner))) return false;
            const StandardMeld meld(PackedCounts(hands[static_cast<std::size_t>(seat)]));
            for (int suit = 0; suit < 4; ++suit)
                if (meld.WithTrump(suit) >= 40) return true;
            return false;
        }
        case DrillTheme::OverPartner:
            return auction.HighBidder() == partner && bidOf(partner) &&
                   (!auction.HasPassed(LeftOf(seat)) || !auction.HasPassed(LeftOf(partner)));
        default:
            return false;
    }
}

Game GameOf(const ThemeDrill& drill) {
    Game game(RuleSet::Standard(), 1, drill.dealer);
    game.DealFromCode(DealCodeOf(GameForm{}, drill.hands));
    if (QuestionOf(drill.theme) != DrillQuestion::Play) {
        for (const int bid : drill.calls) {
            if (game.CurrentPhase() != Phase::Auction) break;
            const int seat = game.ToAct();
            // The rule players made the calls: each gives its reason.
            BidChoice rule = ChooseBid(game.CurrentAuction(), seat, PackedCounts(game.HandOf(seat)), game.Rules(),
                                       Level::Easy, 1);
            const std::string refused = bid > 0 ? game.Bid(seat, bid) : game.Pass(seat);
            if (!refused.empty()) break;
            if (rule.bid == bid) game.SetCallReason(std::move(rule.reason));
        }
        return game;
    }
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

namespace {

// The table turned so that the seat asked sits South, where a player's own
// cards lie: the same position, seat for seat. The calls run from the
// dealer's left whoever deals.
void TurnToSouth(ThemeDrill& drill, int seat) {
    const std::array<KindCounts, 4> hands = drill.hands;
    for (int s = 0; s < 4; ++s)
        drill.hands[static_cast<std::size_t>((s - seat + 4) % 4)] = hands[static_cast<std::size_t>(s)];
    drill.dealer = (drill.dealer - seat + 4) % 4;
    drill.declarer = (drill.declarer - seat + 4) % 4;
    drill.seat = 0;
}

// A bidding theme's drill: rule players call until the auction fits the
// theme, and the best call (or trump) beats theirs by kCallLesson.
std::optional<ThemeDrill> CallDrillOf(ThemeDrill drill, Random& random, int worlds, const std::atomic<bool>* cancel) {
    const RuleSet rules = RuleSet::Standard();
    Auction auction(rules, drill.dealer);
    // Each call weighed over ten deals for each world a card is weighed over.
    const auto deals = static_cast<std::uint64_t>(10 * std::max(1, worlds));
    auto lesson = [&](int rule) {
        const auto best = std::max_element(drill.figures.begin(), drill.figures.end(),
                                           [](const CallFigure& a, const CallFigure& b) { return a.margin < b.margin; });
        const bool trump = drill.theme == DrillTheme::NamingTrump;
        const auto ruled = std::find_if(drill.figures.begin(), drill.figures.end(), [&](const CallFigure& f) {
            return trump ? f.trump == rule : f.bid == rule;
        });
        if (ruled == drill.figures.end() || best->margin - ruled->margin < kCallLesson) return false;
        drill.best = trump ? best->trump : best->bid;
        drill.rule = rule;
        return true;
    };
    int weighed = 0;
    while (!auction.Finished() && weighed < kPositionsADeal) {
        if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) return std::nullopt;
        const int seat = auction.ToAct();
        const HandCounts hand = PackedCounts(drill.hands[static_cast<std::size_t>(seat)]);
        const int rule = ChooseBid(auction, seat, hand, rules, Level::Easy, 1).bid;
        if (drill.theme != DrillTheme::NamingTrump && FitsTheme(drill.theme, auction, drill.hands)) {
            ++weighed;
            drill.figures = CallFigures(auction, seat, drill.hands[static_cast<std::size_t>(seat)], rules, deals,
                                        random.Next64(), cancel, rule);
            if (lesson(rule)) {
                for (const Auction::Call& call : auction.Calls()) drill.calls.push_back(call.bid);
                drill.declarer = auction.HighBidder() >= 0 ? auction.HighBidder() : drill.dealer;
                TurnToSouth(drill, seat);
                return drill;
            }
        }
        if (rule > 0)
            auction.Bid(seat, rule);
        else
            auction.Pass(seat);
    }
    if (drill.theme != DrillTheme::NamingTrump || !FitsTheme(drill.theme, auction, drill.hands) ||
        auction.PassedOut())
        return std::nullopt;
    // Each suit at the bid reached, from the winner's hand as it was dealt.
    const int seat = auction.HighBidder();
    ChanceRequest request;
    request.hand = PackedCounts(drill.hands[static_cast<std::size_t>(seat)]);
    request.rules = rules;
    request.deals = deals;
    request.seed = random.Next64();
    const ChanceTally tally = ChanceToMake(request, cancel);
    if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) return std::nullopt;
    drill.figures.clear();
    for (int suit = 0; suit < 4; ++suit)
        drill.figures.push_back({auction.HighBid(), suit, tally.ExpectedMargin(suit, auction.HighBid())});
    if (!lesson(ChooseTrump(auction, seat, request.hand, rules, Level::Easy, 1))) return std::nullopt;
    for (const Auction::Call& call : auction.Calls()) drill.calls.push_back(call.bid);
    drill.declarer = seat;
    TurnToSouth(drill, seat);
    return drill;
}

}  // namespace

std::optional<ThemeDrill> ThemeDrillOf(DrillTheme theme, std::uint64_t seed, std::uint64_t index, int worlds,
                                       const std::atomic<bool>* cancel) {
    Random random(seed, index);
    ThemeDrill drill;
    drill.theme = theme;
    drill.hands = DealOf(GameForm{}, random).hands;
    drill.dealer = static_cast<int>(index % 4);
    if (QuestionOf(theme) != DrillQuestion::Play) return CallDrillOf(std::move(drill), random, worlds, cancel);
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
                drill.rule = ruleCard;
                drill.expected = choice.byCard;
                TurnToSouth(drill, seat);
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
