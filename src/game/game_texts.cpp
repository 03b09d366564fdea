#include "game/game_texts.h"

#include <cmath>

#include "rules/card_text.h"
#include "rules/seats.h"

namespace vantrel {

std::string SuitWithSymbol(int suit) {
    if (suit < 0 || suit > 3) return "\u2014";
    const auto s = static_cast<std::size_t>(suit);
    return std::string(kSuitNames[s]) + " " + std::string(kSuitSymbols[s]);
}

std::string SideName(int side) { return side == 0 ? "South-North" : "East-West"; }

std::string StatusLine(const Game& game, unsigned userSeats, int picked) {
    const int seat = game.ToAct();
    const bool userToAct = seat >= 0 && ((userSeats >> seat) & 1u) != 0;
    const bool userDeclares = game.Declarer() >= 0 && ((userSeats >> game.Declarer()) & 1u) != 0;
    const std::string who = seat >= 0 ? game.NameOf(seat) : std::string();
    const bool three = game.Seats() == 3;
    const std::string bid = std::to_string(game.CurrentAuction().HighBid());
    switch (game.CurrentPhase()) {
        case Phase::Auction: {
            // A deal passed out is said until the first call of the next.
            const std::string redealt = game.PassedOut() && game.CurrentAuction().Calls().empty()
                                            ? std::string(three ? "All three" : "All four") + " passed; " +
                                                  game.NameOf(game.Dealer()) + " deals again. "
                                            : std::string();
            return redealt + (userToAct ? "Your call, " + who + ": bid " +
                                              std::to_string(game.CurrentAuction().MinimumBid()) + " or more, or pass."
                                        : who + " is to call\u2026");
        }
        case Phase::Widow:
            return userDeclares
                       ? "You won the bid at " + bid + ". The widow is face up: press Take Widow."
                       : game.NameOf(game.Declarer()) + " won the bid at " + bid + "; the widow is shown to all\u2026";
        case Phase::LayAway:
            return userToAct ? "Pick " + std::to_string(game.PassCount()) + " cards to lay away (no card of your meld" +
                                   (game.Rules().layAwayTrump ? "" : ", no trump") + "), then press Lay Away (" +
                                   std::to_string(picked) + " picked)."
                             : who + " is laying away\u2026";
        case Phase::Trump:
            return userToAct ? "You won the bid at " + bid + ": name trump."
                             : who + " won the bid at " + bid + " and names trump\u2026";
        case Phase::PassToDeclarer:
        case Phase::PassBack:
            return userToAct ? "Pick " + std::to_string(game.PassCount()) + " cards to pass to " +
                                   SeatName(PartnerSeat(seat)) + ", then press Pass Cards (" + std::to_string(picked) +
                                   " picked)."
                             : who + " is passing cards\u2026";
        case Phase::Meld:
            if (three)
                return userDeclares ? "Your meld is on the table. Press Play to lead, or Concede to give up the bid."
                                    : "The meld is on the table. Click the table to begin the play.";
            return userDeclares ? "The meld is on the table. Press Play to begin, or Throw In to give up the bid."
                                : "The meld is on the table. Click the table to begin the play.";
        case Phase::Play:
            return userToAct ? "Your card, " + who + ": the raised cards can be played." : who + " to play\u2026";
        case Phase::HandScored: {
            const SheetLine& line = game.Sheet().back();
            return line.result + " for " + (three ? game.NameOf(line.declarer) : SideName(SideOf(line.declarer))) +
                   " at " + std::to_string(line.bid) + ". Click the table or press Continue for the next deal.";
        }
        case Phase::GameOver: {
            if (three)
                return game.NameOf(game.Winner()) + " wins the game with " +
                       std::to_string(game.Totals()[static_cast<std::size_t>(game.Winner())]) +
                       ". Press New Game to play again.";
            const auto winner = static_cast<std::size_t>(game.Winner());
            return SideName(game.Winner()) + " win the game, " + std::to_string(game.Totals()[winner]) + " to " +
                   std::to_string(game.Totals()[1 - winner]) + ". Press New Game to play again.";
        }
    }
    return {};
}

std::vector<PanelLine> ScorePanel(const Game& game) {
    std::vector<PanelLine> lines;
    // Once scored, the hand is the sheet's last line, not the one to come.
    const bool scored = game.CurrentPhase() == Phase::HandScored || game.CurrentPhase() == Phase::GameOver;
    const std::size_t hand = game.Sheet().size() + (scored ? 0 : 1);
    lines.push_back({"Hand " + std::to_string(hand), game.Practice() ? " (practice)" : ""});
    if (game.CurrentPhase() != Phase::Auction) {
        lines.push_back(
            {"", "Bid: " + std::to_string(game.CurrentAuction().HighBid()) + " by " + game.NameOf(game.Declarer())});
        lines.push_back({"", "Trump: " + SuitWithSymbol(game.Trump())});
    }
    if (const ThreeHandedHand* three = game.ThreeHand()) {
        // Each player's own figures: "S 250, W 0, E 0".
        auto each = [](const std::array<int, 3>& v) {
            return "S " + std::to_string(v[0]) + ", W " + std::to_string(v[1]) + ", E " + std::to_string(v[2]);
        };
        if (game.CurrentPhase() >= Phase::Meld) {
            lines.push_back({"", "Meld: " + each(three->Meld())});
            lines.push_back({"", "Card points: " + each(three->CardPoints())});
        }
        // What the bidder laid away is known to all once the hand is over.
        if (game.CurrentPhase() >= Phase::HandScored && CardCount(three->LaidAway()) > 0)
            lines.push_back({"", "Laid away: " + CardsText(three->LaidAway())});
        lines.push_back({"Game", (game.Rules().pointsGame ? " (to " + std::to_string(game.Rules().gameTarget) + "): "
                                                          : " (units won): ") +
                                     each(game.Totals())});
        return lines;
    }
    if (game.CurrentPhase() >= Phase::Meld) {
        const auto meld = game.SideMeld();
        const auto points = game.Play().Points();
        lines.push_back({"", "Meld: S-N " + std::to_string(meld[0]) + ", E-W " + std::to_string(meld[1])});
        lines.push_back({"", "Card points: S-N " + std::to_string(points[0]) + ", E-W " + std::to_string(points[1])});
    }
    lines.push_back({"Game", " (to " + std::to_string(game.Rules().gameTarget) + "): S-N " +
                                 std::to_string(game.Totals()[0]) + ", E-W " + std::to_string(game.Totals()[1])});
    return lines;
}

std::string HintText(const SearchChoice& choice) {
    return "Hint: play the " + KindText(choice.card) + "; your side can expect about " +
           std::to_string(std::lround(choice.expected)) + " more card points.";
}

}  // namespace vantrel
