#include "rules/playing_points.h"
#include "base/text_line.h"
#include "form/form1.h"

namespace vantrel {

void Form1::evalpoints(int hnd, std::string_view s) {
    const PlayingPointsCount count = CountPlayingPoints(&Deck[static_cast<std::size_t>(hnd)], s);
    List1.AddItem("");
    List1.AddItem("***************************************************");
    List1.AddItem("");
    MeldTotal += count.DixMeld();
    List1.AddItem("More Meld");
    List1.AddItem(TextLine() << "Number of Dix's [Meld] = " << TextLine().Plain(count.dixes)
                             << " x 10 = " << TextLine().Plain(count.DixMeld()));
    List1.AddItem(TextLine() << "Total Meld = " << TextLine().Number(MeldTotal));
    List1.AddItem("");
    const int value = count.TrumpValue();
    List1.AddItem(TextLine() << "Number of Trump = " << TextLine().Plain(count.trumps)
                             << (value == 20 ? " x 20 = " : " x 15 = ")
                             << TextLine().Plain(std::int64_t{count.trumps} * value));
    List1.AddItem(TextLine() << "Number of Aces = " << TextLine().Plain(count.aces)
                             << " x 20 = " << TextLine().Plain(std::int64_t{count.aces} * 20));
    PlayPoints = count.PlayPoints();
    List1.AddItem("");
    List1.AddItem(TextLine() << "Hands Playing Points = " << TextLine().Number(PlayPoints));
    List1.AddItem("");
}

}  // namespace vantrel
