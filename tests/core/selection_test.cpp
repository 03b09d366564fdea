// Choosing a hand by moving the mouse over it.
#include <gtest/gtest.h>

#include "test_support.h"

namespace vantrel {
namespace {

using testing::LinesFrom;
using testing::Started;

struct LabelLook {
    bool bold;
    OleColor color;
    bool operator==(const LabelLook&) const = default;
};
const LabelLook kNormal{false, kSystemWindowText};
const LabelLook kHighlighted{true, kPureBlue};

std::array<LabelLook, 4> Looks(Form1& form) {  // South, West, North, East
    std::array<LabelLook, 4> looks{};
    const Label* labels[] = {&form.lbl1, &form.lbl2, &form.lbl3, &form.lbl4};
    for (std::size_t i = 0; i < 4; ++i) looks[i] = {labels[i]->FontBold, labels[i]->ForeColor};
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
    EXPECT_EQ(Looks(*form), (std::array{kHighlighted, kNormal, kNormal, kNormal}));
    EXPECT_EQ(form->CurSeat, "S");
    EXPECT_EQ(LinesFrom(form->List1, before), ReportOf(*form, "S"));
    EXPECT_EQ(form->List1.ListIndex(), form->List1.ListCount() - 1);

    // Along the same hand without the background: nothing more, and no total.
    before = form->List1.ListCount();
    for (int index : {4, 5, 12, 1}) form->Image1_MouseMove(index);
    EXPECT_EQ(form->List1.ListCount(), before);
    EXPECT_EQ(form->MeldTotal, 0);

    // Over the background to North.
    form->Form_MouseMove();
    EXPECT_EQ(Looks(*form), (std::array{kNormal, kNormal, kNormal, kNormal}));
    EXPECT_EQ(form->CurSeat, "S");
    form->Image1_MouseMove(30);
    EXPECT_EQ(Looks(*form), (std::array{kNormal, kNormal, kHighlighted, kNormal}));
    EXPECT_EQ(form->CurSeat, "N");
    EXPECT_EQ(LinesFrom(form->List1, before), ReportOf(*form, "N"));
}

TEST(Selection, EachSlotSelectsTheHandOfItsRow) {
    const struct {
        int index;
        const char* seat;
        std::size_t label;
    } rows[] = {{1, "S", 0},  {12, "S", 0}, {13, "W", 1}, {24, "W", 1},
                {25, "N", 2}, {36, "N", 2}, {37, "E", 3}, {48, "E", 3}};
    for (const auto& row : rows) {
        Started form;
        form->Form_MouseMove();
        form->Image1_MouseMove(row.index);
        EXPECT_EQ(form->CurSeat, row.seat);
        auto expected = std::array{kNormal, kNormal, kNormal, kNormal};
        expected[row.label] = kHighlighted;
        EXPECT_EQ(Looks(*form), expected) << row.index;
    }
}

TEST(Selection, BackgroundAloneChangesNoList) {
    Started form;
    const auto lines = form->List1.Lines();
    form->Form_MouseMove();
    form->Form_MouseMove();
    EXPECT_EQ(form->List1.Lines(), lines);
    EXPECT_EQ(Looks(*form), (std::array{kNormal, kNormal, kNormal, kNormal}));
}

TEST(Selection, ADeclarationFreezesItUntilTheNextDoubleClick) {
    Started form;
    form->Image1_DblClick(15);
    const auto lines = form->List1.Lines();
    const auto looks = Looks(*form);
    form->Form_MouseMove();
    form->Image1_MouseMove(40);
    EXPECT_EQ(form->List1.Lines(), lines);
    EXPECT_EQ(form->CurSeat, "W");
    EXPECT_EQ(Looks(*form), (std::array{kNormal, kNormal, kNormal, kNormal}));  // the background still clears
    (void)looks;

    form->Image1_DblClick(15);  // releases the freeze
    form->Form_MouseMove();
    form->Image1_MouseMove(40);
    EXPECT_EQ(form->CurSeat, "E");
}

TEST(Selection, NothingHappensDuringPlay) {
    Started form;
    form->Image1_MouseMove(2);
    form->cmdPlay_Click();
    const auto lines = form->List1.Lines();
    const auto looks = Looks(*form);
    form->Form_MouseMove();
    form->Image1_MouseMove(30);
    EXPECT_EQ(form->List1.Lines(), lines);
    EXPECT_EQ(Looks(*form), looks);
    EXPECT_EQ(form->CurSeat, "S");
}

TEST(Selection, SlotZeroSelectsNothing) {
    Started form;
    form->Image1_MouseMove(5);
    const auto lines = form->List1.Lines();
    form->Image1_MouseMove(0);
    EXPECT_EQ(form->List1.Lines(), lines);
    EXPECT_EQ(form->CurSeat, "S");
}

}  // namespace
}  // namespace vantrel
