// Choosing a hand by moving the mouse over it.
#include <gtest/gtest.h>

#include "test_support.h"

namespace vantrel {
namespace {

using testing::LinesFrom;
using testing::Started;

// The hand labels South, West, North, East: "S" for a highlighted South
// (bold, pure blue), "-" for a normal label, "?" for anything else.
std::string Looks(const Form1& form) {
    std::string looks;
    const Label* labels[] = {&form.lbl1, &form.lbl2, &form.lbl3, &form.lbl4};
    for (std::size_t i = 0; i < 4; ++i) {
        const bool highlighted = labels[i]->FontBold && labels[i]->ForeColor == kPureBlue;
        const bool normal = !labels[i]->FontBold && labels[i]->ForeColor == kSystemWindowText;
        looks += highlighted ? kSeats[i].letter.front() : normal ? '-' : '?';
    }
    return looks;
}

// The report evalMeld writes for a seat, made on a separate form with the same deck.
testing::Lines ReportOf(const Form1& source, std::string_view seat) {
    Form1 form(testing::FixedClock());
    form.Deck = source.Deck;
    form.evalMeld(seat, "x");
    return form.List1.Lines();
}

TEST(Selection, EnteringAHandHighlightsAndListsItOncePerVisit) {
    Started form;
    form->Form_MouseMove();
    int before = form->List1.ListCount();
    form->Image1_MouseMove(3);
    EXPECT_EQ(std::make_tuple(Looks(*form), form->CurSeat), std::make_tuple(std::string("S---"), std::string("S")));
    EXPECT_EQ(LinesFrom(form->List1, before), ReportOf(*form, "S"));
    EXPECT_EQ(form->List1.ListIndex(), form->List1.ListCount() - 1);

    // Along the same hand without the background: nothing more, and no total.
    before = form->List1.ListCount();
    for (int index : {4, 5, 12, 1}) form->Image1_MouseMove(index);
    EXPECT_EQ(std::make_tuple(form->List1.ListCount(), form->MeldTotal), std::make_tuple(before, 0));

    // Over the background, which clears the labels and lists nothing, to North.
    form->Form_MouseMove();
    form->Form_MouseMove();
    EXPECT_EQ(std::make_tuple(Looks(*form), form->CurSeat), std::make_tuple(std::string("----"), std::string("S")));
    EXPECT_EQ(form->List1.ListCount(), before);
    form->Image1_MouseMove(30);
    EXPECT_EQ(std::make_tuple(Looks(*form), form->CurSeat), std::make_tuple(std::string("--N-"), std::string("N")));
    EXPECT_EQ(LinesFrom(form->List1, before), ReportOf(*form, "N"));

    // Each slot selects the hand of its row; slot 0 selects nothing.
    const std::pair<int, const char*> rows[] = {{1, "S---"},  {12, "S---"}, {13, "-W--"}, {24, "-W--"},
                                                {25, "--N-"}, {36, "--N-"}, {37, "---E"}, {48, "---E"}};
    for (const auto& [index, looks] : rows) {
        form->Form_MouseMove();
        form->Image1_MouseMove(index);
        EXPECT_EQ(Looks(*form), looks) << index;
    }
    const auto lines = form->List1.Lines();
    form->Image1_MouseMove(0);
    EXPECT_EQ(std::make_tuple(form->List1.Lines(), form->CurSeat), std::make_tuple(lines, std::string("E")));
}

TEST(Selection, ADeclarationFreezesItAndPlayIgnoresIt) {
    Started form;
    form->Image1_DblClick(15);
    auto lines = form->List1.Lines();
    form->Form_MouseMove();
    form->Image1_MouseMove(40);
    EXPECT_EQ(std::make_tuple(form->List1.Lines(), form->CurSeat, Looks(*form)),
              std::make_tuple(lines, std::string("W"), std::string("----")));  // the background still clears
    form->Image1_DblClick(15);                                                 // releases the freeze
    form->Form_MouseMove();
    form->Image1_MouseMove(40);
    EXPECT_EQ(form->CurSeat, "E");

    form->cmdPlay_Click();
    lines = form->List1.Lines();
    const std::string looks = Looks(*form);
    form->Form_MouseMove();
    form->Image1_MouseMove(30);
    EXPECT_EQ(std::make_tuple(form->List1.Lines(), form->CurSeat, Looks(*form)),
              std::make_tuple(lines, std::string("E"), looks));
}

}  // namespace
}  // namespace vantrel
