// Start-up, the end of the program and the two search check boxes.
#include <gtest/gtest.h>

#include "help/help_texts.h"
#include "test_support.h"

namespace vantrel {
namespace {

using testing::Started;

TEST(StartUp, ShowsAShuffledSortedDealWithItsCount) {
    Started form;
    const ListBox& list = form->List1;
    ASSERT_GE(list.ListCount(), 2);
    EXPECT_EQ(list.List(list.ListCount() - 2), "");
    EXPECT_EQ(list.List(list.ListCount() - 1), "Number of Hands Dealt: 1");
    EXPECT_EQ(list.ListIndex(), list.ListCount() - 1);
    EXPECT_EQ(list.List(1), "South");  // the 48 card lines of the table are gone
    EXPECT_TRUE(list.Visible);
    const auto& evaluation = InstructionLines(false);
    EXPECT_EQ(form->List2.Lines(), std::vector<std::string>(evaluation.begin(), evaluation.end()));
    EXPECT_FALSE(form->Text1.Visible);
    EXPECT_FALSE(form->Text2.Visible);
    EXPECT_EQ(form->cmdPlay.Caption, "Play Hand");
    EXPECT_EQ(form->txtRunToMeld.Text, "100");
    EXPECT_EQ(form->txtRunToTrump.Text, "");
    EXPECT_EQ(form->module1.PlayFlag, 0);
    EXPECT_EQ(form->KeepDealing, 0);
    EXPECT_FALSE(form->MeldShown);
    EXPECT_FALSE(form->TrumpDeclared);
}

TEST(StartUp, QuitExitAndClosingAllEndTheProgram) {
    Started form;
    form->btnEnd_Click();
    EXPECT_EQ(form.endCalls, 1);
    form->Form_Terminate();
    EXPECT_EQ(form.endCalls, 2);
    form->mnuExit_Click();
    EXPECT_EQ(form.endCalls, 3);
}

// Each step sets one box by value, as a click does; the boxes' handlers
// uncheck the other box, and that box's own handler then does nothing.
TEST(SearchBoxes, ExcludeEachOther) {
    struct Step {
        char box;  // 'M' Run to Meld, 'T' Run Trump
        int value;
        int meld;
        int trump;
    };
    const std::vector<std::vector<Step>> sequences = {
        {{'M', 1, 1, 0}, {'T', 1, 0, 1}, {'M', 1, 1, 0}},
        {{'T', 1, 0, 1}, {'T', 0, 0, 0}, {'M', 0, 0, 0}},
        {{'M', 1, 1, 0}, {'M', 0, 0, 0}, {'T', 1, 0, 1}, {'T', 0, 0, 0}},
        {{'M', 1, 1, 0}, {'T', 0, 1, 0}},  // unchecking an unchecked box changes nothing
    };
    for (const auto& sequence : sequences) {
        Started form;
        const auto before = form->List1.Lines();
        for (const Step& step : sequence) {
            (step.box == 'M' ? form->chkAutorun : form->chkTrump).SetValue(step.value);
            EXPECT_EQ(form->chkAutorun.Value(), step.meld);
            EXPECT_EQ(form->chkTrump.Value(), step.trump);
        }
        EXPECT_EQ(form->List1.Lines(), before);  // the boxes neither deal nor search
    }
}

TEST(SearchBoxes, AnyNonZeroValueCountsAsChecked) {
    Started form;
    form->chkTrump.SetValue(1);
    form->chkAutorun.SetValue(2);
    EXPECT_EQ(form->chkTrump.Value(), 0);
}

}  // namespace
}  // namespace vantrel
