#include "help/help_texts.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace vantrel {
namespace {

using testing::Started;

std::vector<std::string> Expected(bool playing) {
    const auto& lines = InstructionLines(playing);
    return {lines.begin(), lines.end()};
}

TEST(Instructions, FollowTheModeAndNeverGrow) {
    Started form;
    EXPECT_EQ(form->List2.Lines(), Expected(false));
    form->cmdPlay_Click();
    EXPECT_EQ(form->List2.Lines(), Expected(true));
    EXPECT_EQ(form->List2.List(3), "There is no logic checking so you must pay attention and follow suit.");
    form->cmdPlay_Click();
    EXPECT_EQ(form->List2.Lines(), Expected(false));
    EXPECT_EQ(form->List2.List(0), "Place mouse over hand to select that hand.While over card,");
    form->cmdPlay_Click();
    form->Shuffle_Click();  // Shuffle leaves play too
    EXPECT_EQ(form->List2.Lines(), Expected(false));
}

TEST(HelpMenu, BidTextIsRebuiltTheSameEachTime) {
    Started form;
    form->mnuBid_Click();
    const std::string first = form->module1.HelpText;
    form->mnuBid_Click();
    EXPECT_EQ(form->module1.HelpText, first);
    EXPECT_EQ(form->module1.BidText, first);
    EXPECT_EQ(first,
              "Determine if you can give a meld bid. The order of you evaluation should be:\r\n"
              "1. Do you have a Run (150)? If so, give a 50 pt jump over the dealer's starting bid of 190.\r\n"
              "2. Do you have Aces (100)? If so, give a 30 pt jump over the dealer's starting bid of 190.\r\n"
              "3. Do you have 100 meld? If so, give a 20 pt jump over the dealer's starting bid of 190.\r\n");
    EXPECT_EQ(form.helpCalls, 2);
}

TEST(HelpMenu, EachItemShowsItsTextAndChangesNothingElse) {
    Started form;
    form->cmdPlay_Click();
    const auto list1 = form->List1.Lines();
    const auto list2 = form->List2.Lines();
    const struct {
        void (Form1::*handler)();
        const std::string Module1::*text;
        const char* start;
    } items[] = {
        {&Form1::mnuMeld_Click, &Module1::MeldText, "Meld consists of combinations of cards.  Five cards"},
        {&Form1::mnuHandEvaluation_Click, &Module1::HandEvalText, "First you evaluate how much meld"},
        {&Form1::mnuOpening_Click, &Module1::OpeningText, "After evaluation of your hand and you cannot"},
        {&Form1::mnuBid_Click, &Module1::BidText, "Determine if you can give a meld bid."},
    };
    for (const auto& item : items) {
        (form.form.get()->*item.handler)();
        EXPECT_EQ(form->module1.HelpText, form->module1.*item.text);
        EXPECT_EQ(form->module1.HelpText.rfind(item.start, 0), 0u) << item.start;
        EXPECT_EQ(form->List1.Lines(), list1);
        EXPECT_EQ(form->List2.Lines(), list2);
        EXPECT_EQ(form->module1.PlayFlag, -1);
    }
}

}  // namespace
}  // namespace vantrel
