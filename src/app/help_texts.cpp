#include "app/help_texts.h"

#include "app/module1.h"

namespace vantrel {

namespace {

constexpr std::array<std::string_view, 4> kPlayLines{
    "The highlighted hand label is the hand that led the trick.",
    "Click the card you want to play.",
    "Continue to click the card to play in each hand.",
    "There is no logic checking so you must pay attention and follow suit.",
};

constexpr std::array<std::string_view, 4> kEvaluationLines{
    "Place mouse over hand to select that hand.While over card,",
    "double click mouse to select that suit as trump. Check",
    "the Run To box and enter a number up to 190 to deal until that",
    "meld is reached.  Click 'Play Hand' to simulate the hand.",
};

constexpr std::string_view kMeldText =
    "Meld consists of combinations of cards.  Five cards in the same suit consisting of an Ace, 10, King, Queen, Jack "
    "is a run (150); and each 9 of that suit is 10 each additional. Four of a kind in different suits are worth "
    "points; 4-Aces (100), 4-Kings (80), 4-Queens (60), 4-Jacks (40).  A Jack of Diamonds - Queen of Spades "
    "combination is (40).  Marriages consist of Q-K of the same suit and are worth (20).  A Q-K in trump without a "
    "run is worth an additional (20) or (40) total.";

constexpr std::string_view kHandEvalText =
    "First you evaluate how much meld you have in your hand; that is, the combinations as described in the pinochle "
    "overview document.  Let's say you have 10 points in meld.  You count 20 points for each card in the suit you "
    "will name trump.  If you have 4, you would count 80.  If you have 5 you would count 100.  You will add to this "
    "amount 20 points for each Ace you have Not in Trump.  So, if you have (2) Aces this would be another 40 points.  "
    "To this number you add the meld your partner gave and that number will represent on average a conservative "
    "number of points you will make on that hand.";

constexpr std::string_view kOpeningText =
    "After evaluation of your hand and you cannot give a meld bid, you must consider if you should open.  If you are "
    "opening for your partner you should evaluate your hand at least 180 points or if you have a 5 piece trump suit "
    "with AA or A10, you should consider opening with at least 50 points in meld.  If you have 6 pieces you should "
    "open regardless of meld.  If your partner did not deal then you should evaluate your hand to at least 180 and "
    "have the A-10 in trump with a minimum of 4 pieces.";

constexpr std::array<std::string_view, 4> kBidLines{
    "Determine if you can give a meld bid. The order of you evaluation should be:",
    "1. Do you have a Run (150)? If so, give a 50 pt jump over the dealer's starting bid of 190.",
    "2. Do you have Aces (100)? If so, give a 30 pt jump over the dealer's starting bid of 190.",
    "3. Do you have 100 meld? If so, give a 20 pt jump over the dealer's starting bid of 190.",
};

constexpr std::string_view kNewLine = "\r\n";

}  // namespace

const std::array<std::string_view, 4>& InstructionLines(bool playing) {
    return playing ? kPlayLines : kEvaluationLines;
}

std::string BuildBidText() {
    std::string text = std::string(kBidLines[0]) + std::string(kNewLine);
    for (std::size_t i = 1; i < kBidLines.size(); ++i) text.append(kBidLines[i]).append(kNewLine);
    return text;
}

void Module1::LoadHelpTexts() {
    MeldText = kMeldText;
    HandEvalText = kHandEvalText;
    OpeningText = kOpeningText;
}

}  // namespace vantrel
