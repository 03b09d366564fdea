#include "practice/play_record.h"

#include <algorithm>

#include "analysis/hand_analysis.h"
#include "rules/card_records.h"
#include "rules/card_text.h"
#include "rules/design_codes.h"
#include "rules/designed_meld.h"
#include "rules/designed_play.h"
#include "rules/hand_score.h"
#include "rules/meld_rules.h"
#include "rules/seats.h"
#include "rules/trick_ledger.h"
#include "rules/trick_rules.h"

namespace vantrel {

namespace {

std::string SeatName(Seat seat) { return std::string(NameOf(seat)); }

}  // namespace

BidVerdict JudgeBid(const RuleSet& rules, HandCounts declarerHand, HandCounts partnerHand, int trump, int bid,
                    int points, int tricks, const std::string& side) {
    BidVerdict verdict;
    verdict.side = side;
    verdict.points = points;
    verdict.tricks = tricks;
    verdict.bid = bid;
    if (trump < 0 || trump > 3) return verdict;
    verdict.judged = true;
    verdict.declarerMeld = MeldOf(rules, declarerHand, trump);
    verdict.partnerMeld = MeldOf(rules, partnerHand, trump);
    HandTally tally;
    tally.bid = bid;
    tally.meld[0] = verdict.declarerMeld + verdict.partnerMeld;
    tally.cardPoints[0] = points;
    tally.tricks[0] = tricks;
    const HandScore score = ScoreHand(rules, tally);
    verdict.meldCounts = score.meldCounts[0];
    verdict.total = score.taken[0];
    verdict.result = score.Result();
    return verdict;
}

void PlayRecord::Start(const std::array<CardRec, 49>& deal, Suit trump, std::optional<Seat> declarer, int bid,
                       std::string dealCode, Source source) {
    const bool keepChecking = checking;
    const RuleSet keepRules = rules;
    *this = PlayRecord{};
    checking = keepChecking;
    rules = keepRules;
    started_ = true;
    dealCode_ = std::move(dealCode);
    dealt_ = deal;
    trump_ = trump;
    declarer_ = declarer;
    bid_ = bid;
    source_ = source;
}

HandCounts PlayRecord::HandAsDealt(Seat seat) const {
    return CountsOfHand(&dealt_[static_cast<std::size_t>(FirstPosition(seat))]);
}

std::array<HandCounts, 4> PlayRecord::HandsAsDealt() const {
    std::array<HandCounts, 4> hands{};
    for (const Seat seat : kAllSeats) hands[static_cast<std::size_t>(Index(seat))] = HandAsDealt(seat);
    return hands;
}

std::vector<PlayRecord::Play> PlayRecord::Plays() const {
    std::vector<Play> plays;
    for (const Trick& trick : tricks_) plays.insert(plays.end(), trick.plays.begin(), trick.plays.end());
    plays.insert(plays.end(), current_.begin(), current_.end());
    return plays;
}

void PlayRecord::CardClicked(int index) {
    const std::optional<Seat> seat = SeatAtPosition(index);
    if (!started_ || !seat || tricks_.size() >= 12) return;
    Play play{index, *seat, KindOfCard(dealt_[static_cast<std::size_t>(index)]), {}};
    const std::string name = SeatName(*seat);
    if (checking) {
        const bool again = played_.count(index) != 0;
        const bool second =
            std::any_of(current_.begin(), current_.end(), [&](const Play& p) { return p.seat == play.seat; });
        if (again) play.faults.push_back(KindText(play.kind) + " of " + name + " was played before");
        if (second) play.faults.push_back(name + " has already played to this trick");
        if (!again && !second) {
            std::vector<int> trick;
            for (const Play& p : current_) trick.push_back(p.kind);
            HandCounts hand = 0;
            for (int p = FirstPosition(*seat); p < FirstPosition(*seat) + kCardsPerHand; ++p)
                if (played_.count(p) == 0) hand += KindBit(KindOfCard(dealt_[static_cast<std::size_t>(p)]));
            if (std::string why = WhyNotLegal(hand, trick, play.kind, Index(trump_), rules.play, name); !why.empty())
                play.faults.push_back(std::move(why));
        }
    }
    played_.insert(index);
    current_.push_back(std::move(play));
    if (current_.size() == 4) CompleteTrick();
}

void PlayRecord::CardPlayed(Seat seat, int kind) {
    for (int p = FirstPosition(seat); p < FirstPosition(seat) + kCardsPerHand; ++p)
        if (played_.count(p) == 0 && KindOfCard(dealt_[static_cast<std::size_t>(p)]) == kind) {
            CardClicked(p);
            return;
        }
}

void PlayRecord::CompleteTrick() {
    Trick trick;
    std::array<int, 4> kinds{};
    for (std::size_t i = 0; i < 4; ++i) kinds[i] = current_[i].kind;
    const BookedTrick booked = BookTrick(rules, kinds, Index(trump_), tricks_.size() == 11);
    trick.points = booked.points;
    trick.winner = current_[static_cast<std::size_t>(booked.winner)].seat;
    trick.tableWinner =
        current_[static_cast<std::size_t>(TrickWinner(kinds, Index(trump_), TrickRules::RankAlone))].seat;
    trick.plays = std::move(current_);
    current_.clear();
    tricks_.push_back(std::move(trick));
    if (tricks_.size() < 12) return;

    if (!declarer_) return;
    const int side = SideOf(*declarer_);
    int points = 0;
    int taken = 0;
    for (const Trick& t : tricks_)
        if (SideOf(t.winner) == side) {
            points += t.points;
            ++taken;
        }
    verdict_ = JudgeBid(rules, HandAsDealt(*declarer_), HandAsDealt(PartnerOf(*declarer_)), Index(trump_), bid_, points,
                        taken, side == 0 ? "S-N" : "E-W");
}

std::array<std::vector<int>, 4> PlayRecord::StillOut() const {
    std::array<std::vector<int>, 4> out;
    for (int p = 1; p <= kTablePositions; ++p) {
        if (played_.count(p) != 0) continue;
        const int kind = KindOfCard(dealt_[static_cast<std::size_t>(p)]);
        if (kind >= 0 && kind < kCardKinds)
            out[static_cast<std::size_t>(SuitOfKind(kind))].push_back(RankOfKind(kind) + 1);
    }
    for (auto& ranks : out) std::sort(ranks.begin(), ranks.end());
    return out;
}

std::string PlayRecord::Text() const {
    if (!started_) return "No hand has been played yet. Press \"Play Hand\" to begin.\n";
    std::string text = "Deal code: " + dealCode_ + "\n";
    text += trump_ != Suit::None ? "Trump: " + std::string(kSuitNames[static_cast<std::size_t>(Index(trump_))])
                                 : std::string("Trump: none named");
    text += declarer_ ? ", named by " + SeatName(*declarer_) + "\n" : "\n";
    text += "Rules: " + rules.Name() + "; play checker: " + std::string(checking ? "on" : "off") + "\n";

    auto playText = [](const Play& play) { return KindText(play.kind) + " " + std::string(LetterOf(play.seat)); };
    auto faultLines = [](const Play& play) {
        std::string lines;
        for (const std::string& fault : play.faults) lines += "    ! " + fault + "\n";
        return lines;
    };
    for (std::size_t t = 0; t < tricks_.size(); ++t) {
        const Trick& trick = tricks_[t];
        std::string cards;
        for (const Play& play : trick.plays) cards += (cards.empty() ? "" : ", ") + playText(play);
        text += "\nTrick " + std::to_string(t + 1) + ", led by " + SeatName(trick.plays.front().seat) + ": " + cards +
                "\n    won by " + SeatName(trick.winner) + ", " + std::to_string(trick.points) + " card points\n";
        if (source_ == Source::Table && trick.tableWinner != trick.winner)
            text +=
                "    the table gave it to " + SeatName(trick.tableWinner) + (t + 1 < 12 ? ", who leads next\n" : "\n");
        for (const Play& play : trick.plays) text += faultLines(play);
    }
    if (tricks_.size() < 12) {
        text += "\nTrick being played (" + std::to_string(tricks_.size() + 1) + "): ";
        if (current_.empty()) text += "no card yet";
        for (std::size_t i = 0; i < current_.size(); ++i) text += (i == 0 ? "" : ", ") + playText(current_[i]);
        text += "\n";
        for (const Play& play : current_) text += faultLines(play);
    }

    const auto out = StillOut();
    text += "\nStill out:  " + SuitsText(out);
    if (trump_ != Suit::None)
        text += "\nTrumps still out: " + std::to_string(out[static_cast<std::size_t>(Index(trump_))].size());
    text += "\n";

    if (tricks_.size() == 12) {
        text += "\nThe verdict on the bid\n";
        const BidVerdict& v = verdict_;
        if (!v.judged) {
            text += "No trump and declarer were named, so there is no bid to judge.\n";
        } else {
            const std::string meld = v.meldCounts ? std::to_string(v.declarerMeld + v.partnerMeld) : "0";
            text += v.side + " meld " + meld + " (" + SeatName(*declarer_) + " " + std::to_string(v.declarerMeld) +
                    ", " + SeatName(PartnerOf(*declarer_)) + " " + std::to_string(v.partnerMeld) +
                    (v.meldCounts ? "" : ", lost: no trick taken") + ") + card points " + std::to_string(v.points) +
                    " = " + std::to_string(v.total) + " against the " +
                    (source_ == Source::Table ? "bid value " : "bid ") + std::to_string(v.bid) + ": " + v.result + "\n";
        }
        text += std::string(source_ == Source::Table
                                ? "Conventions: the bid is the declarer's bid value as the list gives it (meld with "
                                  "the nines of trump, plus the playing points estimate). "
                                : "Conventions: the bid is the game's, won in the auction. ") +
                std::string(rules.tricks == TrickRules::SuitLed
                                ? "A trick goes to the highest trump, else the highest card of the suit led. "
                                : "A trick goes to the highest trick value, as on the table. ") +
                std::string(rules.meld == MeldRules::Standard
                                ? "Meld is counted by the usual rules (doubles count, runs in trump only) "
                                : "Meld is counted as the list counts it ") +
                "for both hands of the partnership" +
                std::string(rules.meldNeedsTrick ? ", and counts only when the partnership takes a trick. " : ". ") +
                (rules.cardPoints == CardValues::Standard ? "Card points: A 11, 10 10, K 4, Q 3, J 2"
                                                          : "Card points: A and 10 10, K and Q 5") +
                ", 240 in the deck" +
                (rules.lastTrick > 0 ? ", and " + std::to_string(rules.lastTrick) + " for the last trick.\n"
                                     : ", with no bonus for the last trick.\n");
    }
    return text;
}

}  // namespace vantrel
