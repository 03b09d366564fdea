#include "eval/meld.h"

#include "app/form1.h"
#include "app/seats.h"
#include "app/text_line.h"

namespace vantrel {

namespace {

struct FourOfAKind {
    int rank;
    int value;
    std::string_view line;
};

constexpr std::array<FourOfAKind, 4> kFours{{
    {1, 100, "Aces\t\t=  100"},
    {3, 80, "Kings\t\t=    80"},
    {4, 60, "Queens\t\t=    60"},
    {5, 40, "Jacks\t\t=    40"},
}};

constexpr int kRunValue = 150;
constexpr int kQueenOfSpades = 304;
constexpr int kJackOfDiamonds = 405;

constexpr int Suit(int code) { return code / 100; }
constexpr int Rank(int code) { return code % 100; }

// The marriage value of one suit read off its sum of King and Queen codes:
// one King and Queen (K+Q), King-King-Queen or King-Queen-Queen give 20, two
// of each 40. A run's own King and Queen have been taken off beforehand.
constexpr int MarriageValue(int suit, int sum) {
    const int king = 100 * suit + 3;
    const int queen = 100 * suit + 4;
    if (sum == king + queen || sum == 2 * king + queen || sum == king + 2 * queen) return 20;
    if (sum == 2 * (king + queen)) return 40;
    return 0;
}

constexpr int PinochleValue(int sum) {
    constexpr int q = kQueenOfSpades;
    constexpr int j = kJackOfDiamonds;
    if (sum == q + j || sum == q + 2 * j || sum == 2 * q + j) return 40;
    if (sum == 2 * (q + j)) return 80;
    return 0;
}

}  // namespace

MeldCount CountMeld(const CardRec* hand, std::string_view t) {
    MeldCount meld;
    // held[suit][rank]: whether the hand holds that card at least once.
    std::array<std::array<bool, 7>, 5> held{};
    for (int i = 0; i < 12; ++i) {
        const int code = hand[i].Code;
        if (Suit(code) >= 1 && Suit(code) <= 4 && Rank(code) >= 1 && Rank(code) <= 6)
            held[static_cast<std::size_t>(Suit(code))][static_cast<std::size_t>(Rank(code))] = true;
    }
    auto holds = [&](int suit, int rank) {
        return held[static_cast<std::size_t>(suit)][static_cast<std::size_t>(rank)];
    };

    for (const FourOfAKind& four : kFours) {
        const bool all = holds(1, four.rank) && holds(2, four.rank) && holds(3, four.rank) && holds(4, four.rank);
        if (!all) continue;
        meld.total += four.value;
        (four.rank == 1 ? meld.aces : four.rank == 3 ? meld.kings : four.rank == 4 ? meld.queens : meld.jacks) = true;
    }

    std::array<int, 5> marriageSum{};
    for (int suit = 1; suit <= 4; ++suit) {
        const bool run = holds(suit, 1) && holds(suit, 2) && holds(suit, 3) && holds(suit, 4) && holds(suit, 5);
        if (!run) continue;
        meld.total += kRunValue;
        meld.runs[static_cast<std::size_t>(suit - 1)] = true;
        marriageSum[static_cast<std::size_t>(suit)] = -(200 * suit + 7);
        meld.noRun = false;
    }

    // Once the hand has a run anywhere, the King and Queen of trump are left
    // out of the marriages; a text that names no suit skips nothing.
    for (int i = 0; i < 12; ++i) {
        if (hand[i].Suit == t && !meld.noRun) continue;
        const int code = hand[i].Code;
        if ((Rank(code) == 3 || Rank(code) == 4) && Suit(code) >= 1 && Suit(code) <= 4)
            marriageSum[static_cast<std::size_t>(Suit(code))] += code;
    }
    for (int suit = 1; suit <= 4; ++suit) {
        int value = MarriageValue(suit, marriageSum[static_cast<std::size_t>(suit)]);
        if (kSuitLetters[static_cast<std::size_t>(suit - 1)] == t) value *= 2;
        meld.marriages[static_cast<std::size_t>(suit - 1)] = value;
        meld.total += value;
    }

    int pinochleSum = 0;
    for (int i = 0; i < 12; ++i)
        if (hand[i].Code == kQueenOfSpades || hand[i].Code == kJackOfDiamonds) pinochleSum += hand[i].Code;
    meld.pinochle = PinochleValue(pinochleSum);
    meld.total += meld.pinochle;
    return meld;
}

void WriteMeldReport(ListBox& list, std::string_view seatName, const MeldCount& meld) {
    list.AddItem("");
    list.AddItem(seatName);
    const std::array<bool, 4> fours{meld.aces, meld.kings, meld.queens, meld.jacks};
    for (std::size_t k = 0; k < kFours.size(); ++k)
        if (fours[k]) list.AddItem(kFours[k].line);
    for (std::size_t s = 0; s < 4; ++s)
        if (meld.runs[s])
            list.AddItem(TextLine() << "Run in " << kSuitNames[s] << "\t= " << TextLine().Number(kRunValue));
    for (std::size_t s = 0; s < 4; ++s)
        if (meld.marriages[s] > 0)
            list.AddItem(TextLine() << "Marriage " << kSuitNames[s]
                                    << "\t=   " << TextLine().Number(meld.marriages[s]));
    if (meld.pinochle > 0) list.AddItem(TextLine() << "Pinochle/s\t=   " << TextLine().Number(meld.pinochle));
    list.AddItem("");
    const TextLine total = TextLine().Number(meld.total);
    const int pad = 4 - static_cast<int>(total.view().size());
    list.AddItem(TextLine() << "Total Meld\t= " << TextLine().Blanks(pad) << total);
}

void Form1::evalMeld(std::string_view m, std::string_view t) {
    NoRun = true;
    // The callers pass the four seat letters; any other text counts nothing.
    const SeatInfo* seat = SeatOfLetter(m);
    if (!MeldShown && seat != nullptr) {
        MeldShown = true;
        const MeldCount meld = CountMeld(&Deck[static_cast<std::size_t>(seat->first)], t);
        MeldTotal = meld.total;
        NoRun = meld.noRun;
        WriteMeldReport(List1, seat->name, meld);
    }
    List1.SelectLast();
}

}  // namespace vantrel
