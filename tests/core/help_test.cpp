#include "app/help_texts.h"

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

// Each item shows its text, twice alike (the Bid text is built anew each
// time), and changes nothing else, not even in play.
TEST(HelpMenu, EachItemShowsItsTextAndChangesNothingElse) {
    Started form;
    form->cmdPlay_Click();
    const auto list1 = form->List1.Lines();
    const auto list2 = form->List2.Lines();
    const std::pair<void (Form1::*)(), const std::string Module1::*> items[] = {
        {&Form1::mnuMeld_Click, &Module1::MeldText},
        {&Form1::mnuHandEvaluation_Click, &Module1::HandEvalText},
        {&Form1::mnuOpening_Click, &Module1::OpeningText},
        {&Form1::mnuBid_Click, &Module1::BidText},
    };
    for (const auto& [handler, text] : items) {
        (form.form.get()->*handler)();
        const std::string shown = form->module1.HelpText;
        (form.form.get()->*handler)();
        EXPECT_EQ(form->module1.HelpText, shown);
        EXPECT_EQ(shown, form->module1.*text);
        EXPECT_EQ(std::make_tuple(form->List1.Lines(), form->List2.Lines(), form->module1.PlayFlag),
                  std::make_tuple(list1, list2, std::int16_t{-1}));
    }
    EXPECT_EQ(form.helpCalls, 8);
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
    for (const ControlDesign& c : ControlsDesign())
        captions.push_back(std::string(c.name) + "=" + std::string(c.caption));
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
        {"Meld", "479:7311227668367893201"},          {"HandEvaluation", "595:10924745723477118786"},
        {"Opening", "493:4131747204140670835"},       {"Bid", "353:13522456029123166522"},
        {"Instructions", "235:13559978254873932822"}, {"PlayInstructions", "211:11580285162761999412"},
        {"Caption", "87:4988085743418964005"},        {"Design", "893:3409071371717458832"},
    };
    EXPECT_EQ(pinned, expected);
}

}  // namespace
}  // namespace vantrel
