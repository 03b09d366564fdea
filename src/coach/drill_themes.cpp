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
#include "players/passing.h"
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
constexpr std::array<ThemeText, 10> kThemeTexts{{
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
    {DrillTheme::CardsToPass, "The cards to pass", "Partner of the declarer, passing three cards first"},
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
        case DrillTheme::CardsToPass:
            return DrillQuestion::Pass;
        default:
            return DrillQuestion::Play;
    }
}

namespace {
constexpr std::array<std::string_view, 4> kQuestionNames{"play", "call", "trump", "pass"};
}  // namespace

int PassCode(const KindCounts& cards) {
    int code = 0;
    int place = 1;
    for (int kind = 0; kind < kCardKinds; ++kind)
        for (int copy = 0; copy < cards[static_cast<std::size_t>(kind)] && place <= 25 * 25 * 25 * 25; ++copy) {
            code += (kind + 1) * place;
            place *= 25;
        }
    return code;
}

KindCounts PassOfCode(int code) {
    KindCounts cards{};
    for (; code > 0; code /= 25)
        if (const int digit = code % 25; digit > 0) ++cards[static_cast<std::size_t>(digit - 1)];
    return cards;
}

RuleSet ThemeRules(DrillTheme theme) {
    RuleSet rules = RuleSet::Standard();
    if (theme == DrillTheme::CardsToPass) rules.passCards = 3;
    return rules;
}

int ChoiceOf(DrillQuestion question, const CallFigure& figure) {
    return question == DrillQuestion::Trump ? figure.trump : figure.bid;
}

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
    if (theme == DrillTheme::CardsToPass)
        return auction.Finished() && auction.HighBidder() >= 0 && !auction.PassedOut();
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
    Game game(ThemeRules(drill.theme), 1, drill.dealer);
    game.DealFromCode(DealCodeOf(GameForm{}, drill.hands));
    if (QuestionOf(drill.theme) != DrillQuestion::Play) {
        for (const int bid : drill.calls) {
            if (game.CurrentPhase() != Phase::Auction) break;
            const int seat = game.ToAct();
            // The rule players made the calls: each gives its reason.
            BidChoice rule =
                ChooseBid(game.CurrentAuction(), seat, PackedCounts(game.HandOf(seat)), game.Rules(), Level::Easy, 1);
            const std::string refused = bid > 0 ? game.Bid(seat, bid) : game.Pass(seat);
            if (!refused.empty()) break;
            if (rule.bid == bid) game.SetCallReason(std::move(rule.reason));
        }
        // The cards to pass are asked once trump is named.
        if (drill.theme == DrillTheme::CardsToPass && game.CurrentPhase() == Phase::Trump)
            game.NameTrump(drill.declarer, drill.trump);
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

// The passes weighed for the declarer's partner: the computer's, and three
// plain ways of choosing (the highest trumps, the aces, the lowest trumps),
// each the first cards of an order of kinds; the same pass once.
std::vector<KindCounts> PassesToWeigh(const KindCounts& hand, int trump, int count) {
    const auto firstOf = [&](const std::vector<int>& order) {
        KindCounts pass{};
        int left = count;
        for (const int kind : order)
            for (int copy = hand[static_cast<std::size_t>(kind)] - pass[static_cast<std::size_t>(kind)];
                 copy > 0 && left > 0; --copy, --left)
                ++pass[static_cast<std::size_t>(kind)];
        return pass;
    };
    std::vector<int> highTrumps(6);
    std::vector<int> lowTrumps(6);
    for (int rank = 0; rank < 6; ++rank) {
        highTrumps[static_cast<std::size_t>(rank)] = KindOf(trump, rank);
        lowTrumps[static_cast<std::size_t>(5 - rank)] = KindOf(trump, rank);
    }
    std::vector<int> aces{KindOf(trump, 0)};
    for (int suit = 0; suit < 4; ++suit)
        if (suit != trump) aces.push_back(KindOf(suit, 0));
    // Each order goes on through every other card, the highest first.
    for (std::vector<int>* order : {&highTrumps, &aces, &lowTrumps})
        for (int rank = 0; rank < 6; ++rank)
            for (int suit = 0; suit < 4; ++suit)
                if (std::find(order->begin(), order->end(), KindOf(suit, rank)) == order->end())
                    order->push_back(KindOf(suit, rank));
    std::vector<KindCounts> passes{CountsOf(ChoosePass(PackedCounts(hand), trump, count, true))};
    for (const std::vector<int>* order : {&highTrumps, &aces, &lowTrumps})
        if (const KindCounts pass = firstOf(*order); std::find(passes.begin(), passes.end(), pass) == passes.end())
            passes.push_back(pass);
    return passes;
}

// Each pass of the winner's partner, `seat`, weighed over deals of the cards
// it does not see, the winner passing back as the computer does: the
// expected margin of its side, meld and cards. The computer's pass first.
std::vector<CallFigure> PassFigures(const RuleSet& rules, const KindCounts& own, int seat, int declarer, int trump,
                                    int deals, Random& random, const std::atomic<bool>* cancel) {
    const std::vector<KindCounts> passes = PassesToWeigh(own, trump, rules.passCards);
    // The play that follows is the usual one: nothing more is passed.
    RuleSet played = rules;
    played.passCards = 0;
    std::vector<double> margins(passes.size(), 0);
    OthersDeal others(rules, own);
    for (int deal = 0; deal < deals; ++deal) {
        if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) return {};
        // The others' hands as dealt from the seat's left: the declarer is its partner.
        const std::array<KindCounts, 3> dealt = others.Next(random);
        std::array<KindCounts, 4> hands{};
        hands[static_cast<std::size_t>(seat)] = own;
        for (int o = 0; o < 3; ++o)
            hands[static_cast<std::size_t>((seat + 1 + o) % 4)] = dealt[static_cast<std::size_t>(o)];
        for (std::size_t p = 0; p < passes.size(); ++p) {
            std::array<KindCounts, 4> after = hands;
            KindCounts& partner = after[static_cast<std::size_t>(seat)];
            KindCounts& winner = after[static_cast<std::size_t>(declarer)];
            partner = Less(partner, passes[p]);
            winner = Plus(winner, passes[p]);
            const KindCounts back = CountsOf(ChoosePass(PackedCounts(winner), trump, rules.passCards, false));
            winner = Less(winner, back);
            partner = Plus(partner, back);
            const std::array<int, 2> taken = PlayOutDeal(played, after, trump, declarer);
            const auto side = static_cast<std::size_t>(SideOf(seat));
            margins[p] += taken[side] - taken[1 - side];
        }
    }
    std::vector<CallFigure> figures;
    figures.reserve(passes.size());
    for (std::size_t p = 0; p < passes.size(); ++p) figures.push_back({PassCode(passes[p]), -1, margins[p] / deals});
    return figures;
}

// A bidding theme's drill: rule players (the Easy player's calls, trump and
// pass) bid until the auction fits the theme; the call asked there, or once
// it is won the trump or the pass, is weighed, and kept where the best
// choice beats the rule player's by kCallLesson.
std::optional<ThemeDrill> BiddingDrillOf(ThemeDrill drill, Random& random, int worlds,
                                         const std::atomic<bool>* cancel) {
    const RuleSet rules = ThemeRules(drill.theme);
    const DrillQuestion question = QuestionOf(drill.theme);
    Auction auction(rules, drill.dealer);
    // Each choice weighed over ten deals for each world a card is weighed over.
    const int deals = 10 * std::max(1, worlds);
    const auto cancelled = [cancel] { return cancel != nullptr && cancel->load(std::memory_order_relaxed); };
    // The drill asked of `seat`, where its figures hold a lesson against the rule player's choice.
    auto keep = [&](int seat, int rule) -> std::optional<ThemeDrill> {
        if (drill.figures.empty()) return std::nullopt;
        const CallFigure& best = BestFigure(drill.figures);
        const auto ruled = std::find_if(drill.figures.begin(), drill.figures.end(),
                                        [&](const CallFigure& f) { return ChoiceOf(question, f) == rule; });
        if (ruled == drill.figures.end() || best.margin - ruled->margin < kCallLesson) return std::nullopt;
        drill.best = ChoiceOf(question, best);
        drill.rule = rule;
        for (const Auction::Call& call : auction.Calls()) drill.calls.push_back(call.bid);
        drill.declarer = auction.HighBidder() >= 0 ? auction.HighBidder() : drill.dealer;
        TurnToSouth(drill, seat);
        return drill;
    };
    int weighed = 0;
    while (!auction.Finished() && weighed < kPositionsADeal) {
        if (cancelled()) return std::nullopt;
        const int seat = auction.ToAct();
        const int rule =
            ChooseBid(auction, seat, PackedCounts(drill.hands[static_cast<std::size_t>(seat)]), rules, Level::Easy, 1)
                .bid;
        // Trump and the pass fit only an auction won.
        if (FitsTheme(drill.theme, auction, drill.hands)) {
            ++weighed;
            drill.figures = CallFigures(auction, seat, drill.hands[static_cast<std::size_t>(seat)], rules,
                                        static_cast<std::uint64_t>(deals), random.Next64(), cancel, rule);
            if (std::optional<ThemeDrill> kept = keep(seat, rule)) return kept;
        }
        if (rule > 0)
            auction.Bid(seat, rule);
        else
            auction.Pass(seat);
    }
    if (question == DrillQuestion::Call || !FitsTheme(drill.theme, auction, drill.hands)) return std::nullopt;
    const int winner = auction.HighBidder();
    const HandCounts winners = PackedCounts(drill.hands[static_cast<std::size_t>(winner)]);
    const int trump = ChooseTrump(auction, winner, winners, rules, Level::Easy, 1);
    if (question == DrillQuestion::Trump) {
        // Each suit at the bid reached, from the winner's hand as it was dealt.
        ChanceRequest request;
        request.hand = winners;
        request.rules = rules;
        request.deals = static_cast<std::uint64_t>(deals);
        request.seed = random.Next64();
        const ChanceTally tally = ChanceToMake(request, cancel);
        if (cancelled()) return std::nullopt;
        drill.figures.clear();
        for (int suit = 0; suit < 4; ++suit)
            drill.figures.push_back({auction.HighBid(), suit, tally.ExpectedMargin(suit, auction.HighBid())});
        return keep(winner, trump);
    }
    drill.trump = trump;
    const int seat = PartnerSeat(winner);
    drill.figures =
        PassFigures(rules, drill.hands[static_cast<std::size_t>(seat)], seat, winner, trump, deals, random, cancel);
    if (cancelled() || drill.figures.size() < 2) return std::nullopt;
    return keep(seat, drill.figures.front().bid);
}

}  // namespace

std::optional<ThemeDrill> ThemeDrillOf(DrillTheme theme, std::uint64_t seed, std::uint64_t index, int worlds,
                                       const std::atomic<bool>* cancel) {
    Random random(seed, index);
    ThemeDrill drill;
    drill.theme = theme;
    drill.hands = DealOf(GameForm{}, random).hands;
    drill.dealer = static_cast<int>(index % 4);
    if (QuestionOf(theme) != DrillQuestion::Play) return BiddingDrillOf(std::move(drill), random, worlds, cancel);
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
