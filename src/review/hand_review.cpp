#include "review/hand_review.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <thread>
#include <type_traits>

#include "base/random.h"
#include "players/chance_to_make.h"
#include "players/passing.h"
#include "players/playout_player.h"
#include "players/search_player.h"
#include "players/seat_view.h"
#include "players/three_handed_bidding.h"
#include "rules/meld_rules.h"
#include "rules/play_state.h"
#include "rules/seats.h"
#include "rules/trick_rules.h"
#include "search/form_solver.h"
#include "search/hand_solver.h"
#include "search/rule_card.h"

namespace vantrel {

CardLabel LabelOf(double cost) {
    if (cost >= CostThresholds::kBlunder) return CardLabel::Blunder;
    if (cost >= CostThresholds::kMistake) return CardLabel::Mistake;
    if (cost >= CostThresholds::kInaccuracy) return CardLabel::Inaccuracy;
    // Averages over the same worlds tie exactly; anything above that is a card given away.
    return cost > 1e-9 ? CardLabel::Good : CardLabel::Best;
}

const CallFigure* CallVerdict::Figure(int bid) const {
    for (const CallFigure& figure : figures)
        if (figure.bid == bid) return &figure;
    return nullptr;
}

bool CallVerdict::Costly() const { return cost >= costly && !conventional; }

std::string CallText(int bid) { return bid > 0 ? "Bid " + std::to_string(bid) : std::string("Pass"); }

std::string_view LabelText(CardLabel label) {
    switch (label) {
        case CardLabel::Inaccuracy:
            return "inaccuracy";
        case CardLabel::Mistake:
            return "mistake";
        case CardLabel::Blunder:
            return "blunder";
        case CardLabel::Good:
            return "good";
        case CardLabel::Best:
            break;
    }
    return "best";
}

std::string WhyNotReviewed(const RuleSet& rules, const SheetLine& line) {
    const bool three = rules.form.seats == 3 && rules.form.widow > 0;
    if (!three && (rules.form.seats != 4 || rules.form.widow != 0))
        return "The review plays four seats in two partnerships, or three with a widow: a hand for " +
               std::to_string(rules.form.seats) + " players cannot be reviewed.";
    if (line.record.plays.empty())
        return three ? "That hand was conceded: it has no cards to review."
                     : "That hand was thrown in: it has no cards to review.";
    return {};
}

int ReviewSeats(const ReviewRequest& request) { return request.rules.form.seats == 3 ? 3 : 4; }

int ReviewSide(const ReviewRequest& request, int seat) {
    return ReviewSeats(request) == 3 ? (seat == request.declarer ? 0 : 1) : SideOf(seat);
}

std::string ReviewSeatName(const ReviewRequest& request, int seat) { return SeatName(seat, ReviewSeats(request)); }

ReviewRequest RequestOf(const RuleSet& rules, const SheetLine& line, const std::array<bool, 4>& users) {
    ReviewRequest request;
    request.rules = rules;
    request.hands = line.record.hands;
    request.trump = line.trump;
    request.declarer = line.declarer;
    request.plays = line.record.plays;
    request.reviewed = users;
    request.shown = line.record.shown;
    request.calls = line.record.calls;
    request.dealt = line.record.dealt;
    request.bid = line.bid;
    if (ReviewSeats(request) == 3) {
        // The bidder took the widow (dealt in the fourth place) and laid away.
        request.gave[static_cast<std::size_t>(line.declarer & 3)] = line.record.passedBack;
        request.reviewed[3] = false;
        return request;
    }
    // The declarer's partner passed to the declarer, who passed back.
    request.gave[static_cast<std::size_t>((line.declarer + 2) & 3)] = line.record.passedToDeclarer;
    request.gave[static_cast<std::size_t>(line.declarer & 3)] = line.record.passedBack;
    return request;
}

std::vector<int> PlayablePrefix(const ReviewRequest& request) {
    FormPlayState state(request.rules, request.hands, request.trump, request.declarer);
    std::vector<int> plays;
    for (const int kind : request.plays) {
        if (state.Over() || !state.Play(kind).empty()) break;
        plays.push_back(kind);
    }
    return plays;
}

ReviewRequest RequestOf(const PlayRecord& record, std::string* stopped) {
    ReviewRequest request;
    request.rules.play = record.rules.play;
    request.hands = CountsOf(record.HandsAsDealt());
    request.trump = Index(record.Trump());
    request.reviewed = {true, true, true, true};
    const std::vector<PlayRecord::Play> plays = record.Plays();
    if (record.Trump() == Suit::None || plays.empty()) return request;
    request.declarer = Index(plays.front().seat);
    FormPlayState state(request.rules, request.hands, request.trump, request.declarer);
    for (const PlayRecord::Play& play : plays) {
        std::string why = state.ToPlay() == Index(play.seat)
                              ? state.Play(play.kind)
                              : SeatName(Index(play.seat)) + " played out of turn by these rules";
        if (!why.empty()) {
            if (stopped != nullptr)
                *stopped = "The review stops at card " + std::to_string(request.plays.size() + 1) + ": " + why + ".";
            break;
        }
        request.plays.push_back(play.kind);
    }
    return request;
}

namespace {

constexpr bool Empty(const KindCounts& cards) { return CardCount(cards) == 0; }

// The hands of the 48-card deck in two bits a kind, for its solver and
// players; any other form's as they are.
HandCounts AsHand(const KindCounts& cards, HandCounts /*single deck*/) { return PackedCounts(cards); }
const KindCounts& AsHand(const KindCounts& cards, const KindCounts& /*any form*/) { return cards; }

template <class View>
View ViewOfRequest(const ReviewRequest& request, const std::vector<int>& plays, std::size_t index, int seat) {
    using Hand = std::remove_cvref_t<decltype(std::declval<View>().Hand())>;
    const auto hand = [](const KindCounts& cards) { return AsHand(cards, Hand{}); };
    View view(request.rules, seat, hand(request.hands[static_cast<std::size_t>(seat)]), request.trump,
              request.declarer);
    if constexpr (std::is_same_v<View, FormSeatView>) {
        if (ReviewSeats(request) == 3) {
            // As the seat knew it at the table: the bidder the cards it laid
            // away, the others the widow shown, now with the bidder or laid away.
            if (seat == request.declarer)
                view.LaidAway(request.gave[static_cast<std::size_t>(seat)]);
            else
                view.WidowShown(
                    request.dealt[3], request.declarer,
                    request.rules.layAwayTrump || request.trump < 0 ? KindMask{0} : SuitMask(request.trump));
            view.Bidding(request.calls);
            for (std::size_t i = 0; i < index; ++i) view.Observe(plays[i]);
            return view;
        }
    }
    for (int other = 0; other < 4; ++other)
        if (other != seat && !Empty(request.shown[static_cast<std::size_t>(other)]))
            view.Shown(other, hand(request.shown[static_cast<std::size_t>(other)]));
    // The declarer's partner passed first; the declarer's pass back came after.
    const bool first = seat == ((request.declarer + 2) & 3);
    if (!Empty(request.gave[static_cast<std::size_t>(seat)]))
        view.Gave(hand(request.gave[static_cast<std::size_t>(seat)]),
                  first ? hand(request.gave[static_cast<std::size_t>(request.declarer & 3)]) : Hand{});
    view.Bidding(request.calls);
    for (std::size_t i = 0; i < index; ++i) view.Observe(plays[i]);
    return view;
}

}  // namespace

SeatView ViewBefore(const ReviewRequest& request, const std::vector<int>& plays, std::size_t index, int seat) {
    return ViewOfRequest<SeatView>(request, plays, index, seat);
}

FormSeatView FormViewBefore(const ReviewRequest& request, const std::vector<int>& plays, std::size_t index, int seat) {
    return ViewOfRequest<FormSeatView>(request, plays, index, seat);
}

namespace {

bool SingleDeck(const ReviewRequest& request) { return request.rules.form == GameForm{}; }

std::string Percent(double share) { return std::to_string(static_cast<int>(std::lround(100 * share))) + "%"; }

std::string Signed(double value) {
    const long rounded = std::lround(value);
    return (rounded > 0 ? "+" : "") + std::to_string(rounded);
}

// The auction's verdict for one seat, from its dealt hand as declarer.
AuctionVerdict VerdictOf(const ReviewRequest& request, int seat, const std::atomic<bool>* cancel) {
    AuctionVerdict verdict;
    verdict.seat = seat;
    verdict.declared = seat == request.declarer;
    const KindCounts& dealt = request.dealt[static_cast<std::size_t>(seat)];
    ChanceTally tally;
    const bool three = ReviewSeats(request) == 3;
    if (three) {
        // The widow unknown, as the seat bid.
        tally = ThreeHandedChance(request.rules, dealt, {}, ChanceRequest{}.deals, request.seed, cancel);
    } else if (SingleDeck(request)) {
        ChanceRequest chance;
        chance.hand = PackedCounts(dealt);
        chance.rules = request.rules;
        chance.seed = request.seed;
        chance.threads = request.threads;
        tally = ChanceToMake(chance, cancel);
    } else {
        // As many deals as the 48-card review's, each a longer hand.
        tally = ChanceToMake(request.rules, dealt, ChanceRequest{}.deals, request.seed, request.threads, cancel);
    }
    // The expected score by the form's own scoring, and what it is worth
    // beyond the other side (where three play, the bidder's score is that).
    const auto expectedOf = [&](int suit, int bid) { return ExpectedOfBid(request.rules, tally, suit, bid); };
    const auto marginOf = [&](int suit, int bid) {
        return three ? expectedOf(suit, bid) : tally.ExpectedMargin(suit, bid);
    };
    const BestBid best =
        three ? BestThreeHandedBid(request.rules, tally, request.rules.standingBid) : BestBidOf(tally, request.rules);
    verdict.bestBid = best.bid;
    verdict.bestBidTrump = best.trump;
    verdict.bestBidChance = best.chance;
    verdict.bestBidExpected = best.expected;
    const int trump = std::clamp(request.trump, 0, 3);
    verdict.chance = tally.Chance(trump, request.bid);
    verdict.expected = expectedOf(trump, request.bid);
    verdict.bestTrumpExpected = -1e9;
    for (int suit = 0; suit < 4; ++suit)
        if (const double expected = expectedOf(suit, request.bid); expected > verdict.bestTrumpExpected) {
            verdict.bestTrump = suit;
            verdict.bestTrumpExpected = expected;
        }
    const std::string bestBid = best.bid > 0
                                    ? "up to " + std::to_string(best.bid) + " in " +
                                          std::string(kSuitNames[static_cast<std::size_t>(best.trump)]) + " (made " +
                                          Percent(best.chance) + " of the time, " + Signed(best.margin) +
                                          (three ? " on average)" : " over the other side on average)")
                                : three ? std::string("none: no bid is expected to score")
                                        : std::string("none: no bid scores more than it gives the other side");
    const std::string bid = std::to_string(request.bid);
    if (verdict.declared) {
        verdict.text = ReviewSeatName(request, seat) + "'s bid of " + bid + " in " +
                       std::string(kSuitNames[static_cast<std::size_t>(trump)]) + " makes " + Percent(verdict.chance) +
                       " of the time, " + Signed(verdict.expected) + " on average";
        if (verdict.chance < 0.1) verdict.text += ": hopeless";
        verdict.text += ". The simulation's best bid for the hand: " + bestBid + ".";
        if (verdict.bestTrump != trump && verdict.bestTrumpExpected - verdict.expected >= 5)
            verdict.text += " " + std::string(kSuitNames[static_cast<std::size_t>(verdict.bestTrump)]) +
                            " would have scored " + Signed(verdict.bestTrumpExpected - verdict.expected) +
                            " more on average.";
    } else {
        verdict.text = ReviewSeatName(request, seat) + " did not win the auction, which went to " + bid + " for " +
                       ReviewSeatName(request, request.declarer) +
                       (ReviewSide(request, request.declarer) == ReviewSide(request, seat) ? std::string(", partner")
                                                                                           : std::string()) +
                       ". The simulation's best bid for " + ReviewSeatName(request, seat) + "'s hand: " + bestBid + ".";
        // What bidding on over the bid reached was worth, in its best trump.
        const int next = request.bid + request.rules.bidStep;
        int on = 0;
        for (int suit = 1; suit < 4; ++suit)
            if (marginOf(suit, next) > marginOf(on, next)) on = suit;
        verdict.text += " Bidding on to " + std::to_string(next) + " in " +
                        std::string(kSuitNames[static_cast<std::size_t>(on)]) + " would have made it " +
                        Percent(tally.Chance(on, next)) + " of the time, " + Signed(expectedOf(on, next)) +
                        " on average.";
    }
    return verdict;
}

// The verdict of each call of a reviewed seat whose dealt hand is known.
std::vector<CallVerdict> CallVerdictsOf(const ReviewRequest& request, const std::atomic<bool>* cancel,
                                        const std::function<void()>& step) {
    std::vector<CallVerdict> verdicts;
    if (request.calls.empty()) return verdicts;
    const bool three = ReviewSeats(request) == 3;
    // The first call is the dealer's left's.
    const int seats = ReviewSeats(request);
    Auction auction(request.rules, (request.calls.front().seat + seats - 1) % seats);
    for (std::size_t i = 0; i < request.calls.size(); ++i) {
        const Auction::Call& call = request.calls[i];
        const KindCounts& dealt = request.dealt[static_cast<std::size_t>(call.seat & 3)];
        if (request.reviewed[static_cast<std::size_t>(call.seat & 3)] && !Empty(dealt) &&
            auction.ToAct() == call.seat) {
            CallVerdict verdict;
            verdict.at = i;
            verdict.seat = call.seat;
            verdict.called = call.bid;
            verdict.seats = seats;
            // Where three play, a classic settlement's call is costly from
            // the least bid's units on.
            if (three && !request.rules.pointsGame)
                verdict.costly = SettlementUnits(request.rules, request.rules.standingBid, -1);
            verdict.figures = three ? ThreeHandedCallFigures(auction, dealt, request.rules, kCallDeals,
                                                             request.seed + i, cancel, call.bid)
                                    : CallFigures(auction, call.seat, dealt, request.rules, kCallDeals,
                                                  request.seed + i, cancel, call.bid);
            if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) return verdicts;
            const CallFigure& best = BestFigure(verdict.figures);
            verdict.best = best.bid;
            if (const CallFigure* made = verdict.Figure(call.bid)) verdict.cost = best.margin - made->margin;
            // The help's jump shows partner meld; where three play there is no partner to show.
            const BidChoice help =
                three ? BidChoice{}
                : SingleDeck(request)
                    ? ChooseBid(auction, call.seat, PackedCounts(dealt), request.rules, Level::Easy, 1)
                    : ChooseBid(auction, call.seat, dealt, request.rules, Level::Easy, 1);
            verdict.conventional = !three && call.bid > auction.MinimumBid() && help.bid == call.bid;
            verdicts.push_back(std::move(verdict));
            step();
        }
        // A call the bidding refuses ends what can be weighed.
        if (!(call.bid > 0 ? auction.Bid(call.seat, call.bid) : auction.Pass(call.seat)).empty()) break;
    }
    return verdicts;
}

// The hands as the play would have begun had `seat` passed what the
// computer passes from the same hand, the partner's pass back (where it came
// after) chosen by the computer too; the request's own hands where the
// computer would have passed the same cards.
std::array<KindCounts, 4> HandsAfterComputersPass(const ReviewRequest& request, int seat, KindCounts& computers) {
    const int declarer = request.declarer & 3;
    const int partner = (declarer + 2) & 3;
    const int count = CardCount(request.gave[static_cast<std::size_t>(seat)]);
    // The computer's pass from a hand: the 48-card deck's own choice, read in
    // two bits a kind, so that its review stays as it was.
    const auto choose = [&](const KindCounts& hand, bool toDeclarer) {
        return SingleDeck(request) ? CountsOf(ChoosePass(PackedCounts(hand), request.trump, count, toDeclarer))
                                   : ChoosePass(request.rules, hand, request.trump, count, toDeclarer);
    };
    std::array<KindCounts, 4> hands = request.hands;
    auto& ownHand = hands[static_cast<std::size_t>(seat)];
    auto& otherHand = hands[static_cast<std::size_t>(seat == declarer ? partner : declarer)];
    if (seat == partner) {
        const KindCounts& before = request.dealt[static_cast<std::size_t>(partner)];
        computers = choose(before, true);
        const KindCounts declarers = Plus(request.dealt[static_cast<std::size_t>(declarer)], computers);
        const KindCounts back = choose(declarers, false);
        ownHand = Plus(Less(before, computers), back);
        otherHand = Less(declarers, back);
    } else {
        // The declarer passes back from its hand and what it was given.
        const KindCounts before =
            Plus(request.dealt[static_cast<std::size_t>(declarer)], request.gave[static_cast<std::size_t>(partner)]);
        computers = choose(before, false);
        ownHand = Less(before, computers);
        otherHand = Plus(
            Less(request.dealt[static_cast<std::size_t>(partner)], request.gave[static_cast<std::size_t>(partner)]),
            computers);
    }
    return hands;
}

int SideMeld(const ReviewRequest& request, const std::array<KindCounts, 4>& hands, int side) {
    return MeldOf(request.rules, hands[static_cast<std::size_t>(side)], request.trump) +
           MeldOf(request.rules, hands[static_cast<std::size_t>(side) + 2], request.trump);
}

// South-North's points from a position of any form to the end with every
// hand seen, estimated where no solve proved them: the seat to play tries
// each of its cards, and four rule players play the hand out from there.
int PlayoutEstimate(const FormPlayState& position, int declarer) {
    if (position.Over()) return 0;
    const int side = position.Ledger().SideOfSeat(position.ToPlay());
    int best = -1;
    for (KindMask m = position.Legal(); m != 0; m &= m - 1) {
        FormPlayState play = position;
        play.Make(std::countr_zero(m));
        while (!play.Over()) play.Make(RuleCard(play, declarer));
        best = std::max(
            best, play.Points()[static_cast<std::size_t>(side)] - position.Points()[static_cast<std::size_t>(side)]);
    }
    // What the seat's side takes, as South-North's.
    const int out = AllCardPoints(position.Rules()) - position.Points()[0] - position.Points()[1];
    return side == 0 ? best : out - best;
}

// The table of the solver for other forms' pars: 2^20 entries, 16 MB.
constexpr int kFormTableBits = 20;

// A par of any form's hand: South-North's points from the position to the
// end, and whether a solve proved it.
struct FormPar {
    int value = 0;
    bool proved = false;
};
FormPar FormParOf(FormSolver& solver, const FormPlayState& position, int declarer, std::uint64_t nodes, int guess,
                  const std::atomic<bool>* cancel) {
    const FormSolver::Bounds bounds = solver.SolveWithin(position, 0, nodes, cancel, guess);
    if (bounds.lower < 0) return {-1, false};
    if (bounds.Exact()) return {bounds.lower, true};
    return {std::clamp(PlayoutEstimate(position, declarer), bounds.lower, bounds.upper), false};
}

// The card points of cards laid away, which count for the bidder.
int PointsOf(const RuleSet& rules, const KindCounts& cards) {
    int points = 0;
    for (int kind = 0; kind < kCardKinds; ++kind) points += CountIn(cards, kind) * CardPointsOf(rules, kind);
    return points;
}

// The lay-away's verdict in words, once both layouts' pars are known.
void WriteLayAwayText(const ReviewRequest& request, PassVerdict& verdict) {
    const int gain = verdict.Gain();
    verdict.text = ReviewSeatName(request, verdict.seat) + " laid away " + CardsText(verdict.passed) + ": meld " +
                   std::to_string(verdict.meld) + " and " + std::to_string(verdict.par) +
                   " card points with best play, those laid away counted, against " +
                   std::to_string(verdict.computersMeld) + " and " + std::to_string(verdict.computersPar) +
                   " laying away " + CardsText(verdict.computers) + ", with every hand seen: " +
                   (gain == 0 ? std::string("no difference.")
                              : std::to_string(std::abs(gain)) + (gain > 0 ? " points better." : " points worse."));
    if (!verdict.proved) verdict.text += " The pars are estimated: the solver could not prove them in time.";
}

// The cards the bidder laid away against those the computer lays away from
// the same hand, each layout's par solved from the first lead, the cards
// laid away counted for the bidder; the par of the hands played is taken
// from the par through the hand where that starts at the first lead.
PassVerdict LayAwayVerdictOf(const ReviewRequest& request, bool parFromPlay, const std::atomic<bool>* cancel) {
    PassVerdict verdict;
    const auto bidder = static_cast<std::size_t>(request.declarer & 3);
    verdict.seat = request.declarer;
    verdict.passed = request.gave[bidder];
    const KindCounts whole = Plus(request.hands[bidder], verdict.passed);
    verdict.computers = ChooseLayAway(request.rules, whole, request.trump);
    verdict.meld = MeldOf(request.rules, request.hands[bidder], request.trump);
    verdict.computersMeld = MeldOf(request.rules, Less(whole, verdict.computers), request.trump);
    if (verdict.computers == verdict.passed) {
        verdict.text = ReviewSeatName(request, verdict.seat) + " laid away " + CardsText(verdict.passed) +
                       ", as the computer does.";
        return verdict;
    }
    auto par = [&](const std::array<KindCounts, 4>& hands, const KindCounts& laid) {
        FormSolver solver(kFormTableBits);
        const FormPar found = FormParOf(solver, FormPlayState(request.rules, hands, request.trump, request.declarer),
                                        request.declarer, request.parNodes / 2, -1, cancel);
        verdict.proved = verdict.proved && found.proved;
        return found.value < 0 ? -1 : found.value + PointsOf(request.rules, laid);
    };
    std::array<KindCounts, 4> alternative = request.hands;
    alternative[bidder] = Less(whole, verdict.computers);
    verdict.par = parFromPlay ? -1 : par(request.hands, verdict.passed);
    if (!parFromPlay && verdict.par < 0) return verdict;
    verdict.computersPar = par(alternative, verdict.computers);
    if (verdict.computersPar >= 0 && !parFromPlay) WriteLayAwayText(request, verdict);
    return verdict;
}

// The pass's verdict in words, once both layouts' pars are known.
void WritePassText(PassVerdict& verdict) {
    const int gain = verdict.Gain();
    verdict.text = SeatName(verdict.seat) + "'s pass, " + CardsText(verdict.passed) + ": meld " +
                   std::to_string(verdict.meld) + " and par " + std::to_string(verdict.par) +
                   " for the side, against " + std::to_string(verdict.computersMeld) + " and " +
                   std::to_string(verdict.computersPar) + " after passing " + CardsText(verdict.computers) +
                   ", with every hand seen: " +
                   (gain == 0 ? std::string("no difference.")
                              : std::to_string(std::abs(gain)) + (gain > 0 ? " points better." : " points worse."));
    if (!verdict.proved) verdict.text += " The pars are estimated: the solver could not prove them in time.";
}

// The pass's verdict: the layout the computer's pass would have made solved
// from the first lead, and the layout played too unless the par through the
// hand starts there (`parFromPlay`), whose first figure is then taken for it
// once the par is done.
PassVerdict PassVerdictOf(const ReviewRequest& request, int seat, bool parFromPlay, const std::atomic<bool>* cancel) {
    PassVerdict verdict;
    verdict.seat = seat;
    verdict.passed = request.gave[static_cast<std::size_t>(seat)];
    const int side = SideOf(seat);
    const std::array<KindCounts, 4> alternative = HandsAfterComputersPass(request, seat, verdict.computers);
    verdict.meld = SideMeld(request, request.hands, side);
    verdict.computersMeld = SideMeld(request, alternative, side);
    if (verdict.computers == verdict.passed) {
        verdict.text = SeatName(seat) + "'s pass, " + CardsText(verdict.passed) + ", is the computer's own.";
        return verdict;
    }
    // Each layout within half the budget of a par; beyond it, the middle of
    // the bounds proved in the 48-card deck, the playouts' estimate in others.
    auto par = [&](const std::array<KindCounts, 4>& hands, int guess) {
        if (!SingleDeck(request)) {
            FormSolver solver(kFormTableBits);
            const FormPar found =
                FormParOf(solver, FormPlayState(request.rules, hands, request.trump, request.declarer),
                          request.declarer, request.parNodes / 2, -1, cancel);
            verdict.proved = verdict.proved && found.proved;
            if (found.value < 0) return -1;
            return side == 0 ? found.value : AllCardPoints(request.rules) - found.value;
        }
        HandSolver solver(HandSolver::kWholeHandTableBits);
        const HandSolver::Bounds bounds =
            solver.SolveWithin(PlayState(request.rules, PackedCounts(hands), request.trump, request.declarer), side,
                               request.parNodes / 2, cancel, guess);
        verdict.proved = verdict.proved && bounds.Exact();
        return bounds.lower < 0 ? -1 : (bounds.lower + bounds.upper + 1) / 2;
    };
    verdict.par = parFromPlay ? -1 : par(request.hands, -1);
    if (!parFromPlay && verdict.par < 0) return verdict;
    verdict.computersPar = par(alternative, verdict.par);
    if (verdict.computersPar >= 0 && !parFromPlay) WritePassText(verdict);
    return verdict;
}

}  // namespace

HandReview OutlineOf(const ReviewRequest& request) {
    HandReview review;
    const std::vector<int> plays = PlayablePrefix(request);
    const int seats = ReviewSeats(request);
    const std::size_t start =
        std::min(plays.size(),
                 static_cast<std::size_t>(std::clamp(request.firstTrick, 0, request.rules.form.handCards) * seats));
    FormPlayState state(request.rules, request.hands, request.trump, request.declarer);
    for (std::size_t i = 0; i < plays.size(); ++i) {
        if (i >= start) {
            ReviewedCard card;
            card.seat = state.ToPlay();
            card.kind = plays[i];
            card.trick = static_cast<int>(i) / seats;
            card.expected.fill(-1);
            card.forced = std::popcount(state.Legal()) == 1;
            card.reviewed = request.reviewed[static_cast<std::size_t>(card.seat)];
            review.cards.push_back(card);
        }
        state.Make(plays[i]);
        if (state.Played() % seats == 0) {
            const std::span<const int> trick = state.Ledger().LastTrick();
            const int leader = state.Ledger().LastTrickLeader();
            review.trickWinners.push_back((leader + TrickWinner(trick, request.trump, request.rules.tricks)) % seats);
        }
    }
    review.points = state.Points();
    return review;
}

namespace {

// A whole hand's solve or an auction's deals, in steps of the progress.
constexpr int kHandSteps = 12;
// A call's deals, fewer than the auction's.
constexpr int kCallSteps = 3;

}  // namespace

HandReview ReviewHand(const ReviewRequest& request, const std::atomic<bool>* cancel,
                      const std::function<void(int, int)>& progress) {
    HandReview review = OutlineOf(request);
    const std::vector<int> plays = PlayablePrefix(request);
    const std::size_t start = plays.size() - review.cards.size();

    // The hand before each reviewed card, and at its end: in two bits a kind
    // for the 48-card deck's solver, counted a kind for any other form's.
    const bool single = SingleDeck(request);
    std::vector<PlayState> before;
    std::vector<FormPlayState> formBefore;
    {
        FormPlayState state(request.rules, request.hands, request.trump, request.declarer);
        std::optional<PlayState> packed;
        if (single) packed.emplace(request.rules, PackedCounts(request.hands), request.trump, request.declarer);
        for (std::size_t i = 0; i <= plays.size(); ++i) {
            if (i >= start) {
                if (single)
                    before.push_back(*packed);
                else
                    formBefore.push_back(state);
            }
            if (i == plays.size()) break;
            state.Make(plays[i]);
            if (packed) packed->Make(plays[i]);
        }
    }

    // The jobs: the par through the hand (one solver, whose table each solve
    // hands on to the next), then the fair review of each reviewed card.
    std::vector<std::size_t> fair;
    for (std::size_t c = 0; c < review.cards.size(); ++c)
        if (review.cards[c].reviewed && !review.cards[c].forced) fair.push_back(c);
    // Where three play, the bidder's cards laid away are weighed as a pass is.
    std::vector<int> passers;
    for (int seat = 0; seat < 4; ++seat)
        if (request.reviewed[static_cast<std::size_t>(seat)] && !Empty(request.gave[static_cast<std::size_t>(seat)]) &&
            !Empty(request.dealt[static_cast<std::size_t>(seat)]))
            passers.push_back(seat);
    review.passes.resize(passers.size());
    // The progress counts steps of about equal time: a whole hand solved (the
    // first position, a pass's layout) or an auction's deals weigh as much as
    // the rest of the par.
    int auctions = 0;
    for (int seat = 0; seat < 4; ++seat)
        auctions += request.reviewed[static_cast<std::size_t>(seat)] &&
                    !Empty(request.dealt[static_cast<std::size_t>(seat)]) && request.bid > 0;
    int calls = 0;
    for (const Auction::Call& call : request.calls)
        calls += request.reviewed[static_cast<std::size_t>(call.seat & 3)] &&
                 !Empty(request.dealt[static_cast<std::size_t>(call.seat & 3)]);
    const int total = static_cast<int>(review.cards.size()) + kHandSteps +
                      kHandSteps * static_cast<int>(passers.size()) + 2 * static_cast<int>(fair.size()) +
                      kHandSteps * auctions + kCallSteps * calls;
    int done = 0;
    std::mutex reporting;
    auto step = [&](int steps) {
        const std::lock_guard lock(reporting);
        done += steps;
        if (progress) progress(std::min(done, total), total);
    };
    auto cancelled = [cancel] { return cancel != nullptr && cancel->load(std::memory_order_relaxed); };
    std::vector<int> par(review.cards.size() + 1, 0);
    // Whether each par was proved, or is the middle of the bounds proved
    // when its budget ran out.
    std::vector<std::uint8_t> proved(review.cards.size() + 1, 1);
    // The par through the hand, positions `from` to `to`, on one solver whose
    // table each solve hands on to the next, within `budget` positions in all
    // (each at most `each`, and at least a little).
    std::atomic<int> parParts{0};
    auto runPar = [&](std::size_t from, std::size_t to, std::uint64_t budget, std::uint64_t each) {
        HandSolver solver(HandSolver::kWholeHandTableBits);
        const std::uint64_t least = std::max<std::uint64_t>(1, request.parNodes / 16);
        // The card the last search proved to keep the par keeps it. After
        // any other card one test tells whether it kept the par, and only a
        // card that moved it is solved in full.
        int keeps = -1;
        for (std::size_t c = from; c <= to; ++c) {
            const PlayState& at = before[c];
            const std::uint64_t spent = solver.Nodes();
            const std::uint64_t left = budget > spent ? budget - spent : 0;
            const std::uint64_t allowed = std::max(least, std::min(each, left));
            if (at.Over()) {
                par[c] = at.Points()[0];
            } else if (c > from && proved[c - 1] && review.cards[c - 1].kind == keeps) {
                par[c] = par[c - 1];
                keeps = -1;
            } else {
                int guess = c > from ? std::max(0, par[c - 1] - at.Points()[0]) : -1;
                bool kept = false;
                if (c > from && proved[c - 1]) {
                    // South-North's cards can only lower their par, West-East's only raise it.
                    const int value = par[c - 1] - at.Points()[0];
                    const bool ours = SideOf(review.cards[c - 1].seat) == 0;
                    const int tested = solver.TestWithin(at, 0, ours ? value : value + 1, allowed, cancel);
                    if (cancelled()) return;
                    if (tested >= 0) guess = tested;
                    kept = tested == value;
                }
                if (kept) {
                    par[c] = par[c - 1];
                } else {
                    const std::uint64_t used = solver.Nodes() - spent;
                    const HandSolver::Bounds rest =
                        solver.SolveWithin(at, 0, allowed > used ? allowed - used : least, cancel, guess);
                    if (rest.lower < 0) return;
                    proved[c] = rest.Exact() ? 1 : 0;
                    par[c] = at.Points()[0] + (rest.lower + rest.upper + 1) / 2;
                }
                keeps = proved[c] ? solver.BestCard() : -1;
            }
            if (cancelled()) return;
            step(c == 0 ? kHandSteps : 1);
        }
        ++parParts;
    };
    // Any other form's par, solved from the end of the hand back on one
    // solver, each position within an eighth of a par's budget: a position's
    // solve fills the table for the one before it. Once one is not proved,
    // the positions before it, larger still, are estimated by playouts.
    auto runFormPar = [&] {
        FormSolver solver(kFormTableBits);
        const std::uint64_t each = std::max<std::uint64_t>(1, request.parNodes / 8);
        bool reaching = true;
        for (std::size_t c = formBefore.size(); c-- > 0;) {
            const FormPlayState& at = formBefore[c];
            if (at.Over()) {
                par[c] = at.Points()[0];
            } else if (reaching) {
                const int guess = c + 1 < formBefore.size() ? std::max(0, par[c + 1] - at.Points()[0]) : -1;
                const FormPar found = FormParOf(solver, at, request.declarer, each, guess, cancel);
                if (found.value < 0) return;
                par[c] = at.Points()[0] + found.value;
                proved[c] = found.proved ? 1 : 0;
                reaching = found.proved;
            } else {
                par[c] = at.Points()[0] + PlayoutEstimate(at, request.declarer);
                proved[c] = 0;
            }
            if (cancelled()) return;
            step(c == 0 ? kHandSteps : 1);
        }
        ++parParts;
    };
    auto runFair = [&](std::size_t job) {
        ReviewedCard& card = review.cards[fair[job]];
        const std::size_t index = start + fair[job];
        const std::uint64_t seed = Random(request.seed, index).Next64();
        double bestExpected = 0;
        if (single) {
            const SeatView view = ViewBefore(request, plays, index, card.seat);
            // A hundred worlds a card: each world's look ahead is held to a quarter
            // of a player's, so that a lopsided hand's review takes seconds.
            const SearchBudget budget{std::max(1, request.worlds), 1, 5, std::max(1, request.worlds), false, 100000};
            const SearchChoice choice = SearchCard(view, budget, seed, cancel);
            card.expected = choice.byCard;
            card.best = choice.card;
            bestExpected = choice.expected;
        } else {
            // Each legal card played out by rule players in worlds drawn from the seat's view.
            const PlayoutChoice choice = PlayoutCard(FormViewBefore(request, plays, index, card.seat),
                                                     std::max(1, request.worlds), seed, cancel);
            card.expected = choice.byCard;
            card.best = choice.card;
            bestExpected = choice.expected;
        }
        if (cancelled()) return;
        const double played = card.expected[static_cast<std::size_t>(card.kind)];
        card.cost = std::max(0.0, bestExpected - played);
        card.label = LabelOf(card.cost);
        step(2);
    };

    // The first jobs are the par, the longest, then the passes, each a
    // whole hand solved (two when the review starts after the first lead);
    // the rest are taken in turn by whichever thread is free. Each job
    // writes only its own results. With a second thread the par is two
    // jobs side by side: the first position, and the rest from the first
    // card on. The first card's position is then solved without the first
    // position's table, but the first card often moves the par (the rule
    // players' cards are seldom perfect), and its solve then costs about as
    // much as the first position's.
    unsigned threads = request.threads != 0 ? request.threads : std::max(1u, std::thread::hardware_concurrency());
    const std::size_t parJobs = single && threads > 1 && !review.cards.empty() ? 2 : 1;
    std::atomic<std::size_t> next{0};
    const std::size_t jobs = parJobs + passers.size() + fair.size();
    auto work = [&] {
        for (std::size_t job; !cancelled() && (job = next.fetch_add(1)) < jobs;) {
            if (job < parJobs) {
                if (!single)
                    runFormPar();
                else if (parJobs == 1)
                    runPar(0, review.cards.size(), 3 * request.parNodes, request.parNodes);
                else if (job == 0)
                    // The first position is the hardest and has a thread of its
                    // own while the rest of the work goes on beside it.
                    runPar(0, 0, 4 * request.parNodes, 4 * request.parNodes);
                else
                    runPar(1, review.cards.size(), 2 * request.parNodes, request.parNodes);
            } else if (job < parJobs + passers.size()) {
                review.passes[job - parJobs] = ReviewSeats(request) == 3
                                                   ? LayAwayVerdictOf(request, start == 0, cancel)
                                                   : PassVerdictOf(request, passers[job - parJobs], start == 0, cancel);
                if (!cancelled()) step(kHandSteps);
            } else {
                runFair(job - parJobs - passers.size());
            }
        }
    };
    threads = static_cast<unsigned>(std::min<std::size_t>(threads, jobs));
    std::vector<std::thread> workers;
    for (unsigned i = 1; i < threads; ++i) workers.emplace_back(work);
    work();
    for (std::thread& worker : workers) worker.join();
    if (cancelled() || parParts.load() != static_cast<int>(parJobs)) return review;
    // The passes' verdicts take the par of the layout played from the par
    // through the hand, where that starts at the first lead.
    if (start == 0)
        for (PassVerdict& verdict : review.passes)
            if (verdict.computers != verdict.passed) {
                verdict.proved = verdict.proved && proved[0] != 0;
                if (ReviewSeats(request) == 3) {
                    verdict.par = par[0] + PointsOf(request.rules, verdict.passed);
                    WriteLayAwayText(request, verdict);
                    continue;
                }
                verdict.par = SideOf(verdict.seat) == 0 ? par[0] : AllCardPoints(request.rules) - par[0];
                WritePassText(verdict);
            }

    // The auction, for each reviewed seat whose dealt hand is known.
    for (int seat = 0; seat < 4; ++seat)
        if (request.reviewed[static_cast<std::size_t>(seat)] && !Empty(request.dealt[static_cast<std::size_t>(seat)]) &&
            request.bid > 0) {
            review.auction.push_back(VerdictOf(request, seat, cancel));
            if (cancelled()) return review;
            step(kHandSteps);
        }
    review.calls = CallVerdictsOf(request, cancel, [&] { step(kCallSteps); });
    if (cancelled()) return review;

    review.parAtStart = par[0];
    review.parAtStartProved = proved[0] != 0;
    for (std::size_t c = 0; c < review.cards.size(); ++c) {
        ReviewedCard& card = review.cards[c];
        card.parBefore = par[c];
        card.parAfter = par[c + 1];
        card.parProved = proved[c + 1] != 0;
        // A card's cost with all cards seen is said only where both pars were proved.
        const int drop = card.parBefore - card.parAfter;
        card.exactCost =
            proved[c] != 0 && proved[c + 1] != 0 ? (ReviewSide(request, card.seat) == 0 ? drop : -drop) : 0;
    }
    review.complete = true;
    return review;
}

std::string CallVerdictText(const CallVerdict& verdict) {
    const auto margin = [](const CallFigure* figure) {
        return figure == nullptr ? std::string("?") : Signed(figure->margin);
    };
    const CallFigure* best = verdict.Figure(verdict.best);
    std::string text = SeatName(verdict.seat, verdict.seats) + "'s " +
                       (verdict.called > 0 ? "bid of " + std::to_string(verdict.called) : std::string("pass")) + ", " +
                       margin(verdict.Figure(verdict.called)) + " on average";
    if (verdict.best == verdict.called) return text + ": the best call.";
    text += "; best: " + CallText(verdict.best);
    if (best != nullptr && best->trump >= 0)
        text += " in " + std::string(kSuitNames[static_cast<std::size_t>(best->trump)]);
    return text + ", " + margin(best) + ": " + std::to_string(std::lround(verdict.cost)) + " given away.";
}

ReviewSummary Summarise(const HandReview& review) {
    ReviewSummary summary;
    for (const ReviewedCard& card : review.cards) {
        if (!card.reviewed) continue;
        if (card.forced) {
            ++summary.forced;
            summary.exactLost += card.exactCost;
            continue;
        }
        ++summary.cardsByLabel[static_cast<std::size_t>(card.label)];
        summary.lost += card.cost;
        summary.exactLost += card.exactCost;
    }
    return summary;
}

ReviewFigures FiguresOf(const ReviewRequest& request, const HandReview& review, int seat) {
    ReviewFigures figures;
    const int total = AllCardPoints(request.rules);
    figures.par = ReviewSide(request, seat) == 0 ? review.parAtStart : total - review.parAtStart;
    figures.lost = Summarise(review).lost;
    for (const AuctionVerdict& verdict : review.auction)
        if (verdict.seat == seat) figures.bestBid = verdict.bestBid;
    return figures;
}

std::string PointsFigure(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string ReviewText(const ReviewRequest& request, const HandReview& review) {
    const auto figure = PointsFigure;
    std::string text = "Hand review: " +
                       (request.trump >= 0 && request.trump < 4
                            ? std::string(kSuitNames[static_cast<std::size_t>(request.trump)]) + " trump"
                            : std::string("no trump")) +
                       ", " + ReviewSeatName(request, request.declarer) +
                       (ReviewSeats(request) == 3 ? " bids alone against the two others\n" : " declares\n");
    // The par and the points are South-North's, or the bidder's where three play.
    const std::string sides = ReviewSeats(request) == 3 ? "the bidder" : "South-North";
    // An estimated par is said to be one: "about 166".
    auto par = [](int value, bool proved) { return (proved ? "" : "about ") + std::to_string(value); };
    text += "Par as the play began: " + sides + " " + par(review.parAtStart, review.parAtStartProved) + "\n";
    int trick = -1;
    for (const ReviewedCard& card : review.cards) {
        if (card.trick != trick) {
            trick = card.trick;
            text += "Trick " + std::to_string(trick + 1);
            if (static_cast<std::size_t>(trick) < review.trickWinners.size())
                text += ", taken by " + ReviewSeatName(request, review.trickWinners[static_cast<std::size_t>(trick)]);
            text += "\n";
        }
        text += "  " + ReviewSeatName(request, card.seat) + " " + KindText(card.kind) + "  par " +
                par(card.parAfter, card.parProved);
        if (card.exactCost > 0) text += " (" + std::to_string(card.exactCost) + " lost with all cards seen)";
        if (card.reviewed && card.forced) text += "  forced";
        if (card.reviewed && !card.forced) {
            text += "  " + std::string(LabelText(card.label));
            if (card.label != CardLabel::Best)
                text += ": " + figure(card.expected[static_cast<std::size_t>(card.kind)]) + " against " +
                        KindText(card.best) + " " + figure(card.expected[static_cast<std::size_t>(card.best)]);
        }
        text += "\n";
    }
    for (const AuctionVerdict& verdict : review.auction) text += "Auction: " + verdict.text + "\n";
    for (const PassVerdict& verdict : review.passes)
        text += (ReviewSeats(request) == 3 ? "Lay-away: " : "Pass: ") + verdict.text + "\n";
    for (const CallVerdict& verdict : review.calls)
        if (verdict.Costly()) text += "Call: " + CallVerdictText(verdict) + "\n";
    const ReviewSummary summary = Summarise(review);
    text += ReviewSeats(request) == 3 ? "Card points taken in tricks: the bidder " + std::to_string(review.points[0]) +
                                            ", the two others " + std::to_string(review.points[1]) + "\n"
                                      : "Card points taken: South-North " + std::to_string(review.points[0]) +
                                            ", East-West " + std::to_string(review.points[1]) + "\n";
    auto count = [](int n, const char* one, const char* many) {
        return std::to_string(n) + " " + (n == 1 ? one : many);
    };
    text += "Your cards: " + std::to_string(summary.cardsByLabel[0]) + " best, " +
            std::to_string(summary.cardsByLabel[1]) + " good, " +
            count(summary.cardsByLabel[2], "inaccuracy", "inaccuracies") + ", " +
            count(summary.cardsByLabel[3], "mistake", "mistakes") + ", " +
            count(summary.cardsByLabel[4], "blunder", "blunders") + ", " + std::to_string(summary.forced) + " forced\n";
    text += "Expected card points given away against the best card: " + figure(summary.lost) + "\n";
    text += "Par given away by your side's cards, with every hand seen: " + std::to_string(summary.exactLost) + "\n";
    return text;
}

}  // namespace vantrel
