#include "form/form1.h"

#include <utility>

#include "app/window_design.h"
#include "rules/seats.h"

namespace vantrel {

namespace {

void Design(Label& label, std::string_view name) {
    label.Caption = FindControl(name)->caption;
    label.FontBold = FindControl(name)->boldFont;
}
void Design(CommandButton& button, std::string_view name) { button.Caption = FindControl(name)->caption; }
void Design(TextBox& box, std::string_view name) { box.Text = FindControl(name)->caption; }
void Design(CheckBox& box, std::string_view name) { box.Caption = FindControl(name)->caption; }

}  // namespace

Form1::Form1(Clock clock, WindowServices services) : clock_(std::move(clock)), services_(std::move(services)) {
    Design(Label1, "Label1");
    Design(lbl1, "lbl1");
    Design(lbl2, "lbl2");
    Design(lbl3, "lbl3");
    Design(lbl4, "lbl4");
    Design(Label2, "Label2");
    Design(Label3, "Label3");
    Design(cmdPlay, "cmdPlay");
    Design(Shuffle, "Shuffle");
    Design(btnEnd, "btnEnd");
    Design(Deal, "Deal");
    Design(Text1, "Text1");
    Design(Text2, "Text2");
    Design(txtRunToTrump, "txtRunToTrump");
    Design(txtRunToMeld, "txtRunToMeld");
    Design(chkAutorun, "chkAutorun");
    Design(chkTrump, "chkTrump");
    chkAutorun.Click = [this] { chkAutorun_Click(); };
    chkTrump.Click = [this] { chkTrump_Click(); };
    for (int index = 0; index < ImageArray::kCount; ++index) {
        const ControlDesign& slot = *FindControl("Image1", index);
        Image1[index].Left = slot.left;
        Image1[index].Top = slot.top;
        Image1[index].Width = slot.width;
        Image1[index].Height = slot.height;
    }
}

void Form1::Form_Load() {
    module1.LoadHelpTexts();
    KeepDealing = 0;
    module1.PlayFlag = 0;
    LoadHelpBlurb();
    LoadArray();
    Deal_Click();
    MeldShown = false;
    Shuffle_Click();
    Text1.Visible = false;
    Text2.Visible = false;
}

void Form1::btnEnd_Click() {
    if (services_.EndProgram) services_.EndProgram();
}

void Form1::Form_Terminate() { btnEnd_Click(); }

void Form1::mnuExit_Click() { btnEnd_Click(); }

void Form1::chkAutorun_Click() {
    if (chkAutorun.Value() != 0) chkTrump.SetValue(0);
}

void Form1::chkTrump_Click() {
    if (chkTrump.Value() != 0) chkAutorun.SetValue(0);
}

Label* Form1::HandLabel(std::string_view seat) {
    if (seat == "S") return &lbl1;
    if (seat == "W") return &lbl2;
    if (seat == "N") return &lbl3;
    if (seat == "E") return &lbl4;
    return nullptr;
}

}  // namespace vantrel
