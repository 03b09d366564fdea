#include "game/practice_help.h"

namespace vantrel {

const std::array<PracticeHelp, 4>& PracticeHelpTopics() {
    static constexpr std::array<PracticeHelp, 4> kTopics{{
        {"The Game Window",
         "Practice > Play a Game (Ctrl+G) plays whole games of partnership pinochle against the computer, by the "
         "standard rules.\n\n"
         "New Game (Ctrl+N) sets who sits where, the rules, the pace of the computer's cards, hints and whether every "
         "hand is shown. Cancel changes nothing.\n\n"
         "In the auction, Pass, Bid the next bid, or Jump to the amount in the box. The winner names trump; cards "
         "are passed where the rules ask; the meld is laid on the table, and the declarer may throw in. In the play "
         "the cards that can be played stand raised; a card against the rules is refused with the reason.\n\n"
         "A finished trick stays in view with who took it. Look Back (Ctrl+L) shows the last trick beside the one "
         "being played. Hint (Ctrl+I) names the computer's card, or in the auction the chance to make each bid. "
         "Undo (Ctrl+Z) takes back your last move in the hand.\n\n"
         "The score sheet lists each hand; Replay this deal plays a hand again as practice. Closing the window "
         "keeps the game, to be resumed."},
        {"The Hand Review",
         "Review this hand (Ctrl+R) opens the review of a scored hand.\n\n"
         "The par is the card points South-North take with every hand seen and best play from there. A card that "
         "lowers its side's par shows the drop (\"par -6\"). Where the solver could not prove a par in time it is "
         "estimated, and said to be (\"about 166\").\n\n"
         "Each of your cards is weighed over worlds drawn from what you knew when you played it: best (no card was "
         "better), good, inaccuracy (3 card points or more given away), mistake (8 or more) or blunder (20 or "
         "more). A card with no choice is forced.\n\n"
         "The auction's verdict gives the chance that the bid made and what bidding on was worth; the pass's verdict "
         "sets your pass beside the computer's.\n\n"
         "Left and Right step through the hand, Home and End go to its ends; Copy or Ctrl+C takes the review as "
         "text. A review is kept with the game and opens again at once."},
        {"The Game History",
         "Practice > Game History (Ctrl+Shift+G) lists every game played, newest first, to sort by any column and "
         "filter by date, rules and result. A game left for a new one is shown as abandoned.\n\n"
         "Choose a game to see its hands. Resume goes on with an unfinished game; Replay as Practice deals a hand "
         "again; Review Hand opens its review.\n\n"
         "Statistics gives your bids, sets, throw-ins, meld and card points for the same filter, and charts them.\n\n"
         "Export writes CSV (a line a hand) or JSON lines (a game a line, to import again), as the type chosen. "
         "Import reads JSON lines back; a game already kept is not added twice.\n\n"
         "A history file that cannot be used is never written over; a damaged one can be set aside and a new "
         "history begun."},
        {"Keys",
         "Main window: Ctrl+B, Ctrl+H, Ctrl+M, Ctrl+O the help; Ctrl+E ends the program.\n\n"
         "Practice: F5 Analyse Hand; Ctrl+Shift+C copy the deal code; F6 deal from a code; F7 replay the deal; "
         "Shift+F8 check play; F8 Play Record; Ctrl+G Play a Game; Ctrl+Shift+G Game History.\n\n"
         "Game window: Ctrl+N New Game; Alt+P Pass; Alt+B Bid; Alt+J Jump; Left and Right move along your cards and "
         "Enter plays; Ctrl+I Hint; Ctrl+Z Undo; Ctrl+L Look Back; Ctrl+R Review this hand; Ctrl+Shift+S copy the "
         "score sheet.\n\n"
         "Hand Review: Left, Right, Home and End step through the hand; Ctrl+C copies the review.\n\n"
         "Escape closes a practice window."},
    }};
    return kTopics;
}

}  // namespace vantrel
