#include "app/help_texts.h"
#include "form/form1.h"

namespace vantrel {

void Form1::LoadHelpBlurb() {
    List2.Clear();
    for (std::string_view line : InstructionLines(module1.PlayFlag != 0)) List2.AddItem(line);
}

void Form1::ShowHelpText(const std::string& text) {
    module1.HelpText = text;
    if (services_.ShowHelp) services_.ShowHelp();
}

void Form1::mnuBid_Click() {
    module1.BidText = BuildBidText();
    ShowHelpText(module1.BidText);
}

void Form1::mnuHandEvaluation_Click() { ShowHelpText(module1.HandEvalText); }

void Form1::mnuMeld_Click() { ShowHelpText(module1.MeldText); }

void Form1::mnuOpening_Click() { ShowHelpText(module1.OpeningText); }

}  // namespace vantrel
