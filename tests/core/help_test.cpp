#include "help/help_texts.h"

#include <gtest/gtest.h>

#include "app/window_design.h"
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
    form->cmdPlay_Click();
    EXPECT_EQ(form->List2.Lines(), Expected(false));
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

// Every text the program shows, pinned by its length and FNV-1a hash: a word
// changed anywhere in them changes its line here.
TEST(Texts, EveryShownTextIsPinned) {
    auto pin = [](const std::string& text) {
        std::uint64_t hash = 14695981039346656037ull;
        for (unsigned char c : text) hash = (hash ^ c) * 1099511628211ull;
        return std::to_string(text.size()) + ":" + std::to_string(hash);
    };
    auto joined = [](const auto& texts) {
        std::string all;
        for (std::string_view text : texts) all.append(text).append("\n");
        return all;
    };
    Started form;
    form->mnuBid_Click();
    std::vector<std::string> captions;
    for (const ControlDesign& c : ControlsDesign()) captions.push_back(std::string(c.name) + "=" + std::string(c.caption));
    for (const MenuItemDesign& m : MenuDesign())
        captions.push_back(std::string(m.menuCaption) + ">" + std::string(m.caption) + " " + std::string(m.shortcut));
    const std::vector<std::pair<std::string, std::string>> pinned{
        {"Meld", pin(form->module1.MeldText)},
        {"HandEvaluation", pin(form->module1.HandEvalText)},
        {"Opening", pin(form->module1.OpeningText)},
        {"Bid", pin(form->module1.BidText)},
        {"Instructions", pin(joined(InstructionLines(false)))},
        {"PlayInstructions", pin(joined(InstructionLines(true)))},
        {"Caption", pin(std::string(WindowCaption()))},
        {"Design", pin(joined(captions))},
    };
    const std::vector<std::pair<std::string, std::string>> expected{
        {"Meld", "479:7311227668367893201"},
        {"HandEvaluation", "595:10924745723477118786"},
        {"Opening", "493:4131747204140670835"},
        {"Bid", "353:13522456029123166522"},
        {"Instructions", "235:13559978254873932822"},
        {"PlayInstructions", "211:11580285162761999412"},
        {"Caption", "87:4988085743418964005"},
        {"Design", "893:3409071371717458832"},
    };
    EXPECT_EQ(pinned, expected);
}

}  // namespace
}  // namespace vantrel
