#include "game/game.h"

#include "game/game_move.h"

#include <algorithm>
#include <type_traits>
#include <utility>

#include "players/bidding.h"
#include "players/passing.h"
#include "players/playout_player.h"
#include "players/three_handed_bidding.h"
#include "practice/deal_code.h"
#include "rules/card_records.h"
#include "rules/seats.h"
#include "rules/trick_rules.h"
#include "rules/unseen_deck.h"

namespace vantrel {

namespace {

const char* PhaseWords(Phase phase) {
    switch (phase) {
        case Phase::Auction:
            return "the auction";
        case Phase::Widow:
            return "the widow";
        case Phase::Trump:
            return "naming trump";
        case Phase::PassToDeclarer:
        case Phase::PassBack:
            return "passing cards";
        case Phase::LayAway:
            return "laying away";
        case Phase::Meld:
            return "the meld";
        case Phase::Play:
            return "the play";
        case Phase::HandScored:
            return "the score of the hand";
        case Phase::GameOver:
            return "the end of the game";
    }
    return "";
}

// A deal code names its deck and its seats: one of another is no deal of this game.
std::string FormRefusal(const GameForm& code, const GameForm& game) {
    if (code.seats != game.seats)
        return "That code deals " + std::to_string(code.seats) + " hands; this game deals " +
               std::to_string(game.seats) + ".";
    if (code.copies == game.copies && code.nines == game.nines) return {};
    return "That code deals the " + std::to_string(code.DeckCards()) + "-card deck; this game plays the " +
           std::to_string(game.DeckCards()) + "-card deck.";
}

}  // namespace

Game::Game(const RuleSet& rules, std::uint64_t seed, int firstDealer)
    : rules_(rules),
      seed_(seed),
      // Where three play, the last seat deals first as East does where four do.
      dealer_(rules.form.seats == 3 ? std::min(firstDealer & 3, 2) : firstDealer & 3),
      auction_(rules, dealer_),
      play_(rules, {}, 0, 0) {
    Deal(DealNumber(1), false);
}

std::array<KindCounts, 4> Game::DealNumber(std::uint64_t number) const {
    // The 48-card deck keeps the deals it always had, so that every kept
    // game replays as it was played.
    if (rules_.form == GameForm{}) return CountsOf(DealHands(seed_, number));
    Random random(seed_, number);
    FormDeal deal = DealOf(rules_.form, random);
    // The widow lies in the fourth place, as the deal codes keep it.
    if (rules_.form.seats == 3) deal.hands[3] = deal.widow;
    return deal.hands;
}

void Game::Deal(const std::array<KindCounts, 4>& hands, bool practice) {
    ++handNumber_;
    phase_ = Phase::Auction;
    auction_ = Auction(rules_, dealer_);
    reasons_.clear();
    trump_ = -1;
    dealt_ = hands_ = hands;
    passedToDeclarer_ = passedBack_ = KindCounts{};
    meld_ = {};
    play_ = FormPlayState(rules_, hands_, 0, 0);
    played_.clear();
    practice_ = practice;
    passedOut_ = false;
    meldSeen_ = false;
    if (rules_.form.seats == 3) {
        FormDeal deal;
        deal.hands = {hands[0], hands[1], hands[2], KindCounts{}};
        deal.widow = hands[3];
        three_ = ThreeHandedHand(rules_, deal, dealer_);
        hands_[3] = KindCounts{};
    }
}

std::string Game::Refusal(int seat, Phase phase) const {
    if (seat < 0 || seat >= Seats()) return "There is no seat " + std::to_string(seat) + ".";
    if (phase_ == Phase::GameOver) return "The game is over.";
    if (phase_ != phase) return std::string("This is not the time: the game is at ") + PhaseWords(phase_) + ".";
    if (seat != ToAct()) return "It is " + NameOf(ToAct()) + "'s turn, not " + NameOf(seat) + "'s.";
    return {};
}

int Game::ToAct() const {
    if (three_) return phase_ == Phase::Widow || phase_ == Phase::Meld ? -1 : three_->ToAct();
    switch (phase_) {
        case Phase::Auction:
            return auction_.ToAct();
        case Phase::Trump:
            return Declarer();
        case Phase::PassToDeclarer:
            return PartnerSeat(Declarer());
        case Phase::PassBack:
            return Declarer();
        case Phase::Play:
            return play_.ToPlay();
        default:
            return -1;
    }
}

KindCounts Game::HandOf(int seat) const {
    if (three_) return seat >= 0 && seat < 3 ? three_->HandOf(seat) : KindCounts{};
    const auto s = static_cast<std::size_t>(seat & 3);
    return phase_ == Phase::Play || phase_ == Phase::HandScored || phase_ == Phase::GameOver ? play_.Hands()[s]
                                                                                             : hands_[s];
}

KindCounts Game::Widow() const {
    if (!three_) return {};
    if (phase_ == Phase::Auction) return dealt_[3];
    return phase_ == Phase::Widow ? three_->ShownWidow() : KindCounts{};
}

std::array<int, 2> Game::SideMeld() const {
    std::array<int, 2> meld{};
    if (three_) {
        // The bidder against the two others.
        for (int seat = 0; seat < 3; ++seat)
            meld[seat == Declarer() ? 0 : 1] += meld_[static_cast<std::size_t>(seat)].total;
        return meld;
    }
    for (int seat = 0; seat < 4; ++seat)
        meld[static_cast<std::size_t>(SideOf(seat))] += meld_[static_cast<std::size_t>(seat)].total;
    return meld;
}

std::string Game::Bid(int seat, int amount) {
    if (std::string refused = Refusal(seat, Phase::Auction); !refused.empty()) return refused;
    if (amount > kHighestBid) return "A bid is at most " + std::to_string(kHighestBid) + ".";
    if (three_) {
        if (std::string refused = three_->Bid(seat, amount); !refused.empty()) return refused;
        reasons_.emplace_back();
        FollowThree();
        return {};
    }
    if (std::string refused = auction_.Bid(seat, amount); !refused.empty()) return refused;
    reasons_.emplace_back();
    if (auction_.Finished()) phase_ = Phase::Trump;
    return {};
}

std::string Game::Pass(int seat) {
    if (std::string refused = Refusal(seat, Phase::Auction); !refused.empty()) return refused;
    if (three_) {
        if (std::string refused = three_->Pass(seat); !refused.empty()) return refused;
        reasons_.emplace_back();
        FollowThree();
        return {};
    }
    auction_.Pass(seat);
    reasons_.emplace_back();
    if (auction_.PassedOut()) {
        // Nobody bid: the next dealer deals again, and the hand is no line of the sheet.
        dealer_ = LeftOf(dealer_);
        Deal(DealNumber(static_cast<std::uint64_t>(handNumber_) + 1), practice_);
        passedOut_ = true;
        return {};
    }
    if (auction_.Finished()) phase_ = Phase::Trump;
    return {};
}

std::string Game::NameTrump(int seat, int suit) {
    if (std::string refused = Refusal(seat, Phase::Trump); !refused.empty()) return refused;
    if (suit < 0 || suit > 3) return "Trump is one of the four suits.";
    if (three_) {
        if (std::string refused = three_->NameTrump(seat, suit); !refused.empty()) return refused;
        FollowThree();
        return {};
    }
    trump_ = suit;
    if (rules_.passCards > 0)
        phase_ = Phase::PassToDeclarer;
    else
        StartMeld();
    return {};
}

std::string Game::PassCards(int seat, const KindCounts& cards) {
    if (three_) {
        if (std::string refused = Refusal(seat, Phase::LayAway); !refused.empty()) return refused;
        if (std::string refused = three_->LayAway(seat, cards); !refused.empty()) return refused;
        FollowThree();
        return {};
    }
    const Phase phase = phase_ == Phase::PassBack ? Phase::PassBack : Phase::PassToDeclarer;
    if (std::string refused = Refusal(seat, phase); !refused.empty()) return refused;
    // More copies than the deck has are no cards at all: taken, they would
    // be carried into both hands.
    const KindCounts deck = WholeDeckOf(rules_.form);
    for (std::size_t kind = 0; kind < cards.size(); ++kind)
        if (cards[kind] > deck[kind])
            return deck[kind] == 0 ? "The deck holds no " + KindText(static_cast<int>(kind)) + "."
                                   : "The deck holds only " + std::to_string(deck[kind]) + " of each card.";
    if (CardCount(cards) != rules_.passCards)
        return "Pass " + std::to_string(rules_.passCards) + " cards, not " + std::to_string(CardCount(cards)) + ".";
    KindCounts& from = hands_[static_cast<std::size_t>(seat)];
    for (std::size_t kind = 0; kind < cards.size(); ++kind)
        if (cards[kind] > from[kind]) return NameOf(seat) + " does not hold those cards.";
    const int to = PartnerSeat(seat);
    from = Less(from, cards);
    hands_[static_cast<std::size_t>(to)] = Plus(hands_[static_cast<std::size_t>(to)], cards);
    if (phase == Phase::PassToDeclarer) {
        passedToDeclarer_ = cards;
        phase_ = Phase::PassBack;
    } else {
        passedBack_ = cards;
        StartMeld();
    }
    return {};
}

void Game::StartMeld() {
    for (std::size_t s = 0; s < 4; ++s) {
        if (rules_.meld == MeldRules::Standard) {
            meld_[s] = MeldReportOf(rules_, hands_[s], trump_);
        } else {
            // The program's own count is of the 48-card deck.
            meld_[s] = MeldReport{};
            meld_[s].total = MeldOf(rules_, PackedCounts(hands_[s]), trump_);
            meld_[s].lines.push_back({"Meld", meld_[s].total, 0, MeldLine::Marriages});
        }
    }
    phase_ = Phase::Meld;
}

std::string Game::ThrowIn(int seat) {
    if (phase_ != Phase::Meld || seat < 0 || seat >= Seats()) return Refusal(seat, Phase::Meld);
    if (three_) {
        if (std::string refused = three_->Concede(seat); !refused.empty()) return refused;
        FollowThree();
        return {};
    }
    if (seat != Declarer()) return "Only the declarer, " + NameOf(Declarer()) + ", may throw the hand in.";
    ScoreHand(true);
    return {};
}

std::string Game::Continue() {
    if (three_ && phase_ == Phase::Widow) {
        if (std::string refused = three_->TakeWidow(Declarer()); !refused.empty()) return refused;
        FollowThree();
        return {};
    }
    if (three_ && phase_ == Phase::Meld) {
        // The bidder leads: its choice to concede ends with its first card.
        meldSeen_ = true;
        FollowThree();
        return {};
    }
    if (phase_ == Phase::Meld) {
        play_ = FormPlayState(rules_, hands_, trump_, Declarer());
        phase_ = Phase::Play;
        return {};
    }
    if (phase_ == Phase::HandScored) {
        dealer_ = practice_ && resumeDealer_ >= 0 ? resumeDealer_ : three_ ? (dealer_ + 1) % 3 : LeftOf(dealer_);
        resumeDealer_ = -1;
        Deal(DealNumber(static_cast<std::uint64_t>(handNumber_) + 1), false);
        return {};
    }
    if (phase_ == Phase::GameOver) return "The game is over.";
    return std::string("There is nothing to go on from: the game is at ") + PhaseWords(phase_) + ".";
}

std::string Game::PlayCard(int seat, int kind) {
    if (std::string refused = Refusal(seat, Phase::Play); !refused.empty()) return refused;
    if (kind < 0 || kind >= kCardKinds) return "There is no such card.";
    if (three_) {
        if (std::string refused = three_->PlayCard(seat, kind); !refused.empty()) return refused;
        played_.push_back(kind);
        FollowThree();
        return {};
    }
    if (std::string refused = play_.Play(kind); !refused.empty()) return refused;
    played_.push_back(kind);
    if (play_.Over()) ScoreHand(false);
    return {};
}

void Game::ScoreHand(bool thrownIn) {
    HandTally tally;
    tally.declarerSide = SideOf(Declarer());
    tally.bid = auction_.HighBid();
    tally.meld = SideMeld();
    tally.cardPoints = thrownIn ? std::array<int, 2>{} : play_.Points();
    tally.tricks = thrownIn ? std::array<int, 2>{} : play_.Tricks();
    tally.thrownIn = thrownIn;
    // A hand thrown in never began its play: its hands are read as held.
    if (thrownIn) play_ = FormPlayState(rules_, hands_, trump_, Declarer());
    const HandScore score = vantrel::ScoreHand(rules_, tally);
    auto three = [](const std::array<int, 2>& sides) { return std::array<int, 3>{sides[0], sides[1], 0}; };
    SheetLine line{dealer_,
                   Declarer(),
                   tally.bid,
                   trump_,
                   three(tally.meld),
                   three(tally.cardPoints),
                   three(score.score),
                   totals_,
                   score.Result(),
                   DealCode(),
                   practice_,
                   {}};
    line.record.dealt = dealt_;
    line.record.hands = hands_;
    line.record.calls = auction_.Calls();
    for (std::size_t seat = 0; seat < 4; ++seat) line.record.shown[seat] = meld_[seat].ShownCounts();
    line.record.passedToDeclarer = passedToDeclarer_;
    line.record.passedBack = passedBack_;
    if (!thrownIn) line.record.plays = played_;
    if (!practice_) {
        totals_[0] += score.score[0];
        totals_[1] += score.score[1];
        line.totals = totals_;
        winner_ = GameWinner(rules_, {totals_[0], totals_[1]}, tally.declarerSide, score.made);
        // Where the table plays it so, a quadruple run in trump is the game
        // for the side whose hand melded it, whatever the totals.
        for (int seat = 0; seat < 4 && rules_.quadRunWins && !thrownIn; ++seat)
            if (RunsIn(hands_[static_cast<std::size_t>(seat)], trump_) >= 4) {
                winner_ = SideOf(seat);
                line.result += "; " + NameOf(seat) + "'s quadruple run wins the game";
            }
    }
    sheet_.push_back(line);
    phase_ = winner_ >= 0 ? Phase::GameOver : Phase::HandScored;
}

void Game::FollowThree() {
    switch (three_->Phase()) {
        case ThreePhase::Auction:
            phase_ = Phase::Auction;
            return;
        case ThreePhase::Widow:
            phase_ = Phase::Widow;
            return;
        case ThreePhase::Trump:
            phase_ = Phase::Trump;
            return;
        case ThreePhase::LayAway:
            phase_ = Phase::LayAway;
            return;
        case ThreePhase::Decide:
        case ThreePhase::Play:
            if (phase_ == Phase::LayAway) {
                // The meld goes on the table: the bidder's, or every seat's in the points game.
                for (int seat = 0; seat < 3; ++seat) {
                    const auto s = static_cast<std::size_t>(seat);
                    meld_[s] = seat == Declarer() || !rules_.bidderMeldsOnly
                                   ? MeldReportOf(rules_, three_->HandOf(seat), three_->Trump())
                                   : MeldReport{};
                    hands_[s] = three_->HandOf(seat);
                }
            }
            phase_ = three_->Phase() == ThreePhase::Play || meldSeen_ ? Phase::Play : Phase::Meld;
            return;
        case ThreePhase::Scored:
            ScoreThree();
            return;
        case ThreePhase::PassedOut:
            // All passed: the next dealer deals again, and the hand is no line of the sheet.
            dealer_ = (dealer_ + 1) % 3;
            Deal(DealNumber(static_cast<std::uint64_t>(handNumber_) + 1), practice_);
            passedOut_ = true;
            return;
    }
}

void Game::ScoreThree() {
    const ThreeHandedHand& hand = *three_;
    const ThreeHandScore& score = hand.Score();
    SheetLine line{dealer_,      Declarer(),  hand.CurrentAuction().HighBid(),
                   hand.Trump(), hand.Meld(), hand.CardPoints(),
                   score.score,  totals_,     score.Result(),
                   DealCode(),   practice_,   {}};
    line.record.dealt = dealt_;
    for (std::size_t seat = 0; seat < 3; ++seat) {
        line.record.hands[seat] = hand.StartHands()[seat];
        line.record.shown[seat] = meld_[seat].ShownCounts();
    }
    line.record.calls = hand.CurrentAuction().Calls();
    line.record.passedToDeclarer = dealt_[3];
    line.record.passedBack = hand.LaidAway();
    if (!score.conceded) line.record.plays = played_;
    if (!practice_) {
        for (std::size_t seat = 0; seat < 3; ++seat) totals_[seat] += score.score[seat];
        line.totals = totals_;
        winner_ = ThreeHandedWinner(rules_, totals_, Declarer(), score.made);
    }
    sheet_.push_back(line);
    phase_ = winner_ >= 0 ? Phase::GameOver : Phase::HandScored;
}

std::string Game::DealFromCode(const std::string& code) {
    if (phase_ != Phase::Auction || !auction_.Calls().empty())
        return "A deal can be laid from a code only before the first call of a hand.";
    const DecodedHands decoded = ReadDealCode(code);
    if (!decoded.ok) return decoded.problem;
    if (std::string refused = FormRefusal(decoded.form, rules_.form); !refused.empty()) return refused;
    --handNumber_;
    Deal(decoded.hands, practice_);
    return {};
}

std::string Game::ReplayLine(std::size_t line) {
    if (line >= sheet_.size()) return "There is no such line on the score sheet.";
    const bool fresh = phase_ == Phase::Auction && auction_.Calls().empty();
    if (phase_ != Phase::HandScored && !fresh) return "A deal can be played again between hands.";
    const DecodedHands decoded = ReadDealCode(sheet_[line].dealCode);
    if (!decoded.ok) return decoded.problem;
    if (std::string refused = FormRefusal(decoded.form, rules_.form); !refused.empty()) return refused;
    if (resumeDealer_ < 0)
        resumeDealer_ = phase_ != Phase::HandScored ? dealer_ : three_ ? (dealer_ + 1) % 3 : LeftOf(dealer_);
    dealer_ = sheet_[line].dealer;
    Deal(decoded.hands, true);
    return {};
}

std::string Game::DealCode() const { return DealCodeOf(rules_.form, dealt_); }

namespace {

KindCounts AsHand(const KindCounts& hand, KindCounts /*deck*/) { return hand; }
HandCounts AsHand(const KindCounts& hand, HandCounts /*deck*/) { return PackedCounts(hand); }

}  // namespace

template <class View>
View Game::ViewAs(int seat) const {
    using Hand = std::remove_cvref_t<decltype(std::declval<View>().Hand())>;
    auto hand = [](const KindCounts& counts) { return AsHand(counts, Hand{}); };
    View view(rules_, seat, hand(hands_[static_cast<std::size_t>(seat & 3)]), trump_, Declarer());
    // Between the two passes the declarer holds more cards than its partner.
    for (int s = 0; s < 4; ++s) view.Holding(s, CardCount(hands_[static_cast<std::size_t>(s)]));
    if (phase_ >= Phase::Meld)
        for (int s = 0; s < 4; ++s) view.Shown(s, hand(meld_[static_cast<std::size_t>(s)].ShownCounts()));
    if (seat == PartnerSeat(Declarer())) view.Gave(hand(passedToDeclarer_), hand(passedBack_));
    if (seat == Declarer()) view.Gave(hand(passedBack_));
    view.Bidding(auction_.Calls());
    for (const int card : played_) view.Observe(card);
    return view;
}

FormSeatView Game::ViewOf(int seat) const { return three_ ? three_->ViewOf(seat) : ViewAs<FormSeatView>(seat); }
SeatView Game::SingleDeckViewOf(int seat) const { return ViewAs<SeatView>(seat); }

std::string Game::SheetText() const {
    // Where three play, each figure is South's/West's/East's.
    std::string text =
        three_
            ? "Hand  Dealer  Bidder    Bid  Trump     Meld S/W/E     Card points  Score S/W/E    Totals       Result\n"
            : "Hand  Dealer  Declarer  Bid  Trump     Meld S-N/E-W  Card points  Score S-N/E-W  Totals       Result\n";
    auto pad = [](std::string cell, std::size_t width) {
        cell.resize(std::max(cell.size(), width), ' ');
        return cell;
    };
    for (std::size_t i = 0; i < sheet_.size(); ++i) {
        const SheetLine& l = sheet_[i];
        auto pair = [this](const std::array<int, 3>& v) {
            return std::to_string(v[0]) + "/" + std::to_string(v[1]) + (three_ ? "/" + std::to_string(v[2]) : "");
        };
        std::string line = pad(std::to_string(i + 1) + (l.practice ? "*" : ""), 6) + pad(NameOf(l.dealer), 8) +
                           pad(NameOf(l.declarer), 10) + pad(std::to_string(l.bid), 5) +
                           pad(std::string(kSuitNames[static_cast<std::size_t>(l.trump & 3)]), 10) +
                           pad(pair(l.meld), 15) + pad(pair(l.cardPoints), 13) + pad(pair(l.score), 15) +
                           pad(pair(l.totals), 13) + l.result + "  " + l.dealCode;
        text += line + "\n";
    }
    if (std::any_of(sheet_.begin(), sheet_.end(), [](const SheetLine& l) { return l.practice; }))
        text += "* a deal played again for practice: it does not count toward the game\n";
    return text;
}

ComputerMove ChooseThreeHandedMove(const ThreeHandedHand& hand, int seat, Level level, std::uint64_t seed,
                                   const std::atomic<bool>* cancel) {
    ComputerMove move;
    const RuleSet& rules = hand.Rules();
    switch (hand.Phase()) {
        case ThreePhase::Auction: {
            const BidChoice choice =
                ChooseThreeHandedBid(hand.CurrentAuction(), seat, hand.HandOf(seat), rules, level, seed, cancel);
            move.kind = choice.bid > 0 ? ComputerMove::Bid : ComputerMove::Pass;
            move.value = choice.bid;
            move.reason = choice.reason;
            break;
        }
        case ThreePhase::Widow:
            move.kind = ComputerMove::TakeWidow;
            break;
        case ThreePhase::Trump:
            move.kind = ComputerMove::Trump;
            move.value = ChooseThreeHandedTrump(rules, hand.HandOf(seat), hand.CurrentAuction().HighBid(), level, seed);
            break;
        case ThreePhase::LayAway:
            move.kind = ComputerMove::PassCards;
            move.cards = ChooseLayAway(rules, hand.HandOf(seat), hand.Trump());
            break;
        case ThreePhase::Decide:
            if (ChooseConcession(rules, hand.HandOf(seat), hand.LaidAway(), hand.Trump(),
                                 hand.CurrentAuction().HighBid(), level, seed)) {
                move.kind = ComputerMove::ThrowIn;
                break;
            }
            [[fallthrough]];
        case ThreePhase::Play:
            move.kind = ComputerMove::Play;
            move.value = ComputerCard(hand.ViewOf(seat), level, seed, cancel);
            break;
        default:
            break;
    }
    return move;
}

ComputerMove ChooseMove(const Game& game, int seat, Level level, std::uint64_t seed, const std::atomic<bool>* cancel,
                        BidRule rule) {
    if (const ThreeHandedHand* hand = game.ThreeHand()) {
        // The look at the widow and at the meld are the driver's: the
        // bidder's one choice there is to concede.
        const Phase phase = game.CurrentPhase();
        if (phase == Phase::Widow || (phase == Phase::Meld && seat != game.Declarer())) return {};
        ComputerMove move;
        if (phase == Phase::Play) {
            // Past the meld the bidder has chosen to play: its lead is a card.
            move.kind = ComputerMove::Play;
            move.value = ComputerCard(hand->ViewOf(seat), level, seed, cancel);
            return move;
        }
        move = ChooseThreeHandedMove(*hand, seat, level, seed, cancel);
        if (phase == Phase::Meld && move.kind != ComputerMove::ThrowIn) return {};
        return move;
    }
    ComputerMove move;
    // The 48-card deck's players read hands in two bits a kind.
    const bool singleDeck = game.Rules().form == GameForm{};
    const RuleSet& rules = game.Rules();
    switch (game.CurrentPhase()) {
        case Phase::Auction: {
            const KindCounts& dealt = game.Dealt()[static_cast<std::size_t>(seat)];
            const BidChoice choice =
                singleDeck
                    ? ChooseBid(game.CurrentAuction(), seat, PackedCounts(dealt), rules, level, seed, cancel, rule)
                    : ChooseBid(game.CurrentAuction(), seat, dealt, rules, level, seed, cancel);
            move.kind = choice.bid > 0 ? ComputerMove::Bid : ComputerMove::Pass;
            move.value = choice.bid;
            move.reason = choice.reason;
            break;
        }
        case Phase::Trump:
            move.kind = ComputerMove::Trump;
            move.value = singleDeck
                             ? ChooseTrump(game.CurrentAuction(), seat, PackedCounts(game.HandOf(seat)), rules, level,
                                           seed, cancel)
                             : ChooseTrump(game.CurrentAuction(), seat, game.HandOf(seat), rules, level, seed, cancel);
            break;
        case Phase::PassToDeclarer:
        case Phase::PassBack: {
            move.kind = ComputerMove::PassCards;
            const bool toDeclarer = game.CurrentPhase() == Phase::PassToDeclarer;
            move.cards =
                singleDeck
                    ? CountsOf(ChoosePass(PackedCounts(game.HandOf(seat)), game.Trump(), game.PassCount(), toDeclarer))
                    : ChoosePass(rules, game.HandOf(seat), game.Trump(), game.PassCount(), toDeclarer);
            break;
        }
        case Phase::Meld: {
            // Throw in only what cannot be made even with every card point.
            const int side = SideOf(game.Declarer());
            if (seat == game.Declarer() && game.SideMeld()[static_cast<std::size_t>(side)] + AllCardPoints(rules) <
                                               game.CurrentAuction().HighBid())
                move.kind = ComputerMove::ThrowIn;
            break;
        }
        case Phase::Play:
            move.kind = ComputerMove::Play;
            move.value = singleDeck ? ComputerCard(game.SingleDeckViewOf(seat), level, seed, cancel)
                                    : ComputerCard(game.ViewOf(seat), level, seed, cancel);
            break;
        default:
            break;
    }
    return move;
}

ChanceTally ChanceOfHand(const RuleSet& rules, const KindCounts& hand, std::uint64_t deals, std::uint64_t seed) {
    if (rules.form != GameForm{}) return ChanceToMake(rules, hand, deals, seed);
    ChanceRequest request;
    request.hand = PackedCounts(hand);
    request.rules = rules;
    request.deals = deals;
    request.seed = seed;
    return ChanceToMake(request);
}

ChanceTally ChanceOfSeat(const Game& game, int seat, std::uint64_t deals, std::uint64_t seed) {
    if (game.ThreeHand() == nullptr) return ChanceOfHand(game.Rules(), game.HandOf(seat), deals, seed);
    // The widow taken is seen: the figures are of the hand without it, and it.
    const KindCounts widow = game.Dealt()[3];
    const bool taken = seat == game.Declarer() && game.CurrentPhase() > Phase::Widow;
    return ThreeHandedChance(game.Rules(), taken ? Less(game.HandOf(seat), widow) : game.HandOf(seat),
                             taken ? widow : KindCounts{}, deals, seed);
}

double ExpectedOfBid(const RuleSet& rules, const ChanceTally& tally, int suit, int bid) {
    return rules.form.seats == 3 ? ThreeHandedExpected(rules, tally, suit, bid) : tally.ExpectedScore(suit, bid);
}

std::string ChanceHint(const RuleSet& rules, const ChanceTally& tally, int lowest) {
    if (rules.form.seats == 3)
        return ChanceText(ThreeHandedChanceRows(rules, tally), BestThreeHandedBid(rules, tally, lowest), true);
    return ChanceText(ChanceRows(tally, rules), BestBidOf(tally, rules, lowest));
}

std::string ApplyMove(Game& game, int seat, const ComputerMove& move) {
    if (move.kind == ComputerMove::None) return {};
    return Apply(game, MoveOf(seat, move));
}

}  // namespace vantrel
