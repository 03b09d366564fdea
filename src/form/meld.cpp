#include "form/meld_report.h"

#include "base/text_line.h"
#include "form/form1.h"
#include "rules/meld_values.h"
#include "rules/seats.h"

namespace vantrel {

namespace {

// The lines of the arounds, in the order of the meld values' table.
constexpr std::array<std::string_view, 4> kAroundLines{"Aces\t\t=  100", "Kings\t\t=    80", "Queens\t\t=    60",
                                                       "Jacks\t\t=    40"};

}  // namespace

void WriteMeldReport(ListBox& list, std::string_view seatName, const MeldCount& meld) {
    list.AddItem("");
    list.AddItem(seatName);
    const std::array<bool, 4> fours{meld.aces, meld.kings, meld.queens, meld.jacks};
    for (std::size_t k = 0; k < kAroundLines.size(); ++k)
        if (fours[k]) list.AddItem(kAroundLines[k]);
    for (std::size_t s = 0; s < 4; ++s)
        if (meld.runs[s])
            list.AddItem(TextLine() << "Run in " << kSuitNames[s] << "\t= " << TextLine().Number(meld_values::kRun));
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
