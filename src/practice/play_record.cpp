#include "practice/play_record.h"

#include <algorithm>

#include "analysis/hand_analysis.h"
#include "app/card_text.h"
#include "app/form1.h"
#include "app/seats.h"
#include "play/tricks.h"

namespace vantrel {

namespace {

std::string SeatName(std::string_view letter) {
    const SeatInfo* seat = SeatOfLetter(letter);
    return seat != nullptr ? std::string(seat->name) : std::string(letter);
}

CheckedCard Checked(const CardRec& card) { return {SuitNumber(card.Suit), RankNumber(card.Rank)}; }

const CardRec* HandOf(const std::array<CardRec, 49>& deck, std::string_view letter) {
    return &deck[static_cast<std::size_t>(SeatOfLetter(letter)->first)];
}

}  // namespace

BidVerdict JudgeBid(const CardRec* declarerHand, const CardRec* partnerHand, int trumpSuit, int points, int tricks,
                    const std::string& side) {
    BidVerdict verdict;
    verdict.side = side;
    verdict.points = points;
    verdict.tricks = tricks;
    if (trumpSuit < 1 || trumpSuit > 4) return verdict;
    const auto t = static_cast<std::size_t>(trumpSuit - 1);
    const OwnFigures declarer = OwnFiguresOf(declarerHand)[t];
    verdict.judged = true;
    verdict.declarerMeld = declarer.meld;
    verdict.partnerMeld = OwnFiguresOf(partnerHand)[t].meld;
    verdict.bidValue = declarer.bidValue;
    verdict.meldCounts = tricks > 0;
    verdict.total = points + (verdict.meldCounts ? verdict.declarerMeld + verdict.partnerMeld : 0);
    const int margin = verdict.total - verdict.bidValue;
    verdict.result = margin > 0    ? "Made by " + std::to_string(margin)
                     : margin == 0 ? std::string("Made exactly")
                                   : "Set by " + std::to_string(-margin);
    return verdict;
}

void PlayRecord::Start(const Form1& form, std::string dealCode) {
    const bool keepChecking = checking;
    const PlayRules keepRules = rules;
    *this = PlayRecord{};
    checking = keepChecking;
    rules = keepRules;
    started_ = true;
    dealCode_ = std::move(dealCode);
    dealt_ = form.Deck;
    for (std::size_t p = 1; p < dealt_.size(); ++p) trickValue_[p] = form.PlayDeck[p].Code;
    trumpSuit_ = SuitNumber(form.module1.TrumpSuit);
    declarer_ = SeatOfLetter(form.CurSeat) != nullptr ? form.CurSeat : std::string();
}

void PlayRecord::CardClicked(int index) {
    const SeatInfo* seat = SeatOfIndex(index);
    if (!started_ || seat == nullptr || tricks_.size() >= 12) return;
    Play play{index, std::string(seat->letter), Checked(dealt_[static_cast<std::size_t>(index)]), {}};
    const std::string name(seat->name);
    if (checking) {
        const bool again = played_.count(index) != 0;
        const bool second =
            std::any_of(current_.begin(), current_.end(), [&](const Play& p) { return p.seat == play.seat; });
        if (again) play.faults.push_back(CardText(play.card) + " of " + name + " was played before");
        if (second) play.faults.push_back(name + " has already played to this trick");
        if (!again && !second) {
            std::vector<CheckedCard> trick;
            for (const Play& p : current_) trick.push_back(p.card);
            std::vector<CheckedCard> hand;
            for (int p = seat->first; p < seat->first + kCardsPerHand; ++p)
                if (played_.count(p) == 0) hand.push_back(Checked(dealt_[static_cast<std::size_t>(p)]));
            play.faults = CheckPlay(trick, hand, play.card, trumpSuit_, name, rules);
        }
    }
    played_.insert(index);
    current_.push_back(std::move(play));
    if (current_.size() == 4) CompleteTrick();
}

void PlayRecord::CompleteTrick() {
    // The same reckoning as the table's: the first card of the highest trick
    // value wins, and the card points of the four cards go with it.
    Trick trick;
    int best = -1;
    for (const Play& play : current_) {
        const int value = trickValue_[static_cast<std::size_t>(play.index)];
        if (value > best) {
            best = value;
            trick.winner = play.seat;
        }
        trick.points += CardPoints(dealt_[static_cast<std::size_t>(play.index)].Rank);
    }
    trick.plays = std::move(current_);
    current_.clear();
    tricks_.push_back(std::move(trick));
    if (tricks_.size() < 12) return;

    const std::string& declarer = declarer_;
    if (declarer.empty()) return;
    const bool southNorth = IsSouthNorth(declarer);
    int points = 0;
    int taken = 0;
    for (const Trick& t : tricks_)
        if (IsSouthNorth(t.winner) == southNorth) {
            points += t.points;
            ++taken;
        }
    verdict_ = JudgeBid(HandOf(dealt_, declarer), HandOf(dealt_, PartnerOf(declarer)), trumpSuit_, points, taken,
                        southNorth ? "S-N" : "E-W");
}

std::array<std::vector<int>, 4> PlayRecord::StillOut() const {
    std::array<std::vector<int>, 4> out;
    for (int p = 1; p <= kTablePositions; ++p) {
        if (played_.count(p) != 0) continue;
        const CheckedCard card = Checked(dealt_[static_cast<std::size_t>(p)]);
        if (card.suit >= 1 && card.suit <= 4) out[static_cast<std::size_t>(card.suit - 1)].push_back(card.rank);
    }
    for (auto& ranks : out) std::sort(ranks.begin(), ranks.end());
    return out;
}

std::string PlayRecord::Text() const {
    if (!started_) return "No hand has been played yet. Press \"Play Hand\" to begin.\n";
    std::string text = "Deal code: " + dealCode_ + "\n";
    text += trumpSuit_ != 0 ? "Trump: " + std::string(kSuitNames[static_cast<std::size_t>(trumpSuit_ - 1)])
                            : std::string("Trump: none named");
    text += declarer_.empty() ? "\n" : ", named by " + SeatName(declarer_) + "\n";
    text += "Play checker: " + std::string(checking ? "on" : "off") + "\n";

    auto playText = [](const Play& play) { return CardText(play.card) + " " + play.seat; };
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
                "\n    won by " + SeatName(trick.winner) + ", " + std::to_string(trick.points) + " points\n";
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
    if (trumpSuit_ != 0)
        text += "\nTrumps still out: " + std::to_string(out[static_cast<std::size_t>(trumpSuit_ - 1)].size());
    text += "\n";

    if (tricks_.size() == 12) {
        text += "\nThe verdict on the bid\n";
        const BidVerdict& v = verdict_;
        if (!v.judged) {
            text += "No trump and declarer were named, so there is no bid to judge.\n";
        } else {
            const std::string meld = v.meldCounts ? std::to_string(v.declarerMeld + v.partnerMeld) : "0";
            text += v.side + " meld " + meld + " (" + SeatName(declarer_) + " " + std::to_string(v.declarerMeld) +
                    ", " + SeatName(PartnerOf(declarer_)) + " " + std::to_string(v.partnerMeld) +
                    (v.meldCounts ? "" : ", lost: no trick taken") + ") + points " + std::to_string(v.points) + " = " +
                    std::to_string(v.total) + " against the bid value " + std::to_string(v.bidValue) + ": " + v.result +
                    "\n";
        }
        text +=
            "Conventions: the bid is the declarer's bid value as the list gives it (meld with the nines of "
            "trump, plus the playing points estimate); the partnership's meld counts only when it takes a "
            "trick; the points are the card points of its tricks, 240 in the deck, with no bonus for the "
            "last trick.\n";
    }
    return text;
}

}  // namespace vantrel
