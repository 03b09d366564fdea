#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "app/controls.h"
#include "app/module1.h"
#include "rules/card_rec.h"
#include "table/random_source.h"

namespace vantrel {

/// What the window system does for the form: the few services a handler asks
/// of it. Each may be left empty.
struct WindowServices {
    std::function<void()> EndProgram;     // close the window and end the process
    std::function<void()> ShowHelp;       // show the help window with HelpText
    std::function<void()> ServiceWindow;  // repaint once between two deals of a search
    std::function<void(bool)> SetBusy;    // a search starts (true) or ends (false)
};

/// The one window: its state, its controls and all of its procedures and
/// handlers. The window system calls the handlers and then reads the
/// controls; nothing here knows how they are drawn.
class Form1 {
public:
    /// The cards at the table positions 1..48 (element 0 unused), indexed by
    /// position as the design numbers them.
    struct Table : std::array<CardRec, 49> {
        using std::array<CardRec, 49>::operator[];
        CardRec& operator[](int position) {
            return std::array<CardRec, 49>::operator[](static_cast<std::size_t>(position));
        }
        const CardRec& operator[](int position) const {
            return std::array<CardRec, 49>::operator[](static_cast<std::size_t>(position));
        }
    };

    explicit Form1(Clock clock = SystemClockNanoseconds, WindowServices services = {});
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // ---- State of the window ----
    Table Deck{};
    Table PlayDeck{};
    CardRec TempCard{};
    int MaxSuitCount = 0;
    int MeldTotal = 0;
    bool MeldShown = false;
    bool TrumpDeclared = false;
    std::string CurSeat;
    int PlayPoints = 0;
    bool NoRun = false;
    std::int16_t KeepDealing = 0;  // -1 while the deal-until search goes on

    Module1 module1;

    // ---- Controls ----
    Label Label1, lbl1, lbl2, lbl3, lbl4, Label2, Label3;
    CommandButton cmdPlay, Shuffle, btnEnd, Deal;
    TextBox Text1, Text2, txtRunToTrump, txtRunToMeld;
    ListBox List1, List2;
    CheckBox chkAutorun, chkTrump;
    ImageArray Image1;

    // ---- Start-up and end ----
    void Form_Load();
    void btnEnd_Click();
    void Form_Terminate();
    void chkAutorun_Click();
    void chkTrump_Click();
    /// File > Exit ends the program as Quit does.
    void mnuExit_Click();

    // ---- Card table and layout ----
    void LoadArray();
    void LoadSetup();
    void AlignCards();
    void display();
    void Deal_Click();

    // ---- Shuffle, deal and the deal-until search ----
    void Shuffles();
    void ActualShuffle();
    void Shuffle_Click();

    // ---- Deal codes ----
    /// Lays the deal a code gives, as Shuffle lays a deal after its shuffle
    /// step. Returns why a code is refused (and then changes nothing), or an
    /// empty text.
    std::string DealFromCode(std::string_view code);
    /// Lays the current deal again.
    void ReplayDeal();

    // ---- Sorting and suit counts ----
    void Sorthand();
    void CountSuit(int x);

    // ---- Hand selection by mouse ----
    void ClearHandLabels();
    /// Gives the hand label of a seat letter the highlighted look (bold, pure
    /// blue); any other text changes nothing.
    void HighlightHandLabel(std::string_view seat);
    void Form_MouseMove();
    void Image1_MouseMove(int Index);

    // ---- Meld, trump and playing points ----
    void evalMeld(std::string_view m, std::string_view t);
    void Image1_DblClick(int Index);
    void evalpoints(int hnd, std::string_view s);

    // ---- Play ----
    void cmdPlay_Click();
    void Image1_Click(int Index);

    // ---- Guidance texts ----
    void LoadHelpBlurb();
    void mnuBid_Click();
    void mnuHandEvaluation_Click();
    void mnuMeld_Click();
    void mnuOpening_Click();

    /// The hand label of a seat letter, or nullptr for any other text.
    Label* HandLabel(std::string_view seat);

private:
    void ShowHelpText(const std::string& text);
    void CheckTargetRanges();
    /// Lists the meld of each hand of a fresh deal, as a deal does after its shuffle.
    void ListDealtMeld();
    /// Ends any play and clears the table and the list for a new deal.
    void ClearForNewDeal();
    /// Shows the new deal and ends the list with the count of hands dealt.
    void ShowNewDeal(std::uint64_t handsDealt);
    std::uint64_t RunDealSearch();
    void CompleteTrick();
    void AppendEndOfHandReport();

    Clock clock_;
    WindowServices services_;
    RandomSource random_;
};

}  // namespace vantrel
