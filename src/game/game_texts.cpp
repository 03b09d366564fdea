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
    const std::string who = seat >= 0 ? SeatName(seat) : std::string();
    const std::string bid = std::to_string(game.CurrentAuction().HighBid());
    switch (game.CurrentPhase()) {
        case Phase::Auction: {
            // A deal passed out is said until the first call of the next.
            const std::string redealt = game.PassedOut() && game.CurrentAuction().Calls().empty()
                                            ? "All four passed; " + SeatName(game.Dealer()) + " deals again. "
                                            : std::string();
            return redealt + (userToAct ? "Your call, " + who + ": bid " +
                                              std::to_string(game.CurrentAuction().MinimumBid()) + " or more, or pass."
                                        : who + " is to call\u2026");
        }
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
            return userDeclares ? "The meld is on the table. Press Play to begin, or Throw In to give up the bid."
                                : "The meld is on the table. Click the table to begin the play.";
        case Phase::Play:
            return userToAct ? "Your card, " + who + ": the raised cards can be played." : who + " to play\u2026";
        case Phase::HandScored: {
            const SheetLine& line = game.Sheet().back();
            return line.result + " for " + SideName(SideOf(line.declarer)) + " at " + std::to_string(line.bid) +
                   ". Click the table or press Continue for the next deal.";
        }
        case Phase::GameOver: {
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
            {"", "Bid: " + std::to_string(game.CurrentAuction().HighBid()) + " by " + SeatName(game.Declarer())});
        lines.push_back({"", "Trump: " + SuitWithSymbol(game.Trump())});
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
