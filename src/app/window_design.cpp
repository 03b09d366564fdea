#include "app/window_design.h"

#include "rules/seats.h"

namespace vantrel {

namespace {

using K = ControlKind;

constexpr std::array<ControlDesign, kSingleControls> kSingles{{
    {"Label1", -1, K::Label, "", "Vantrel Ver 1.0", 120, 120, 1455, 495, false, 9, true},
    {"lbl3", -1, K::Label, "", "North", 2760, 120, 975, 255, false, 10, true},
    {"lbl2", -1, K::Label, "", "West", 240, 1920, 1935, 255, false, 11, true},
    {"lbl4", -1, K::Label, "", "East", 5400, 1920, 2055, 255, false, 13, true},
    {"lbl1", -1, K::Label, "", "South", 2880, 3720, 1455, 255, false, 12, true},
    {"cmdPlay", -1, K::PushButton, "", "Play Hand", 360, 4800, 1095, 375, false, 14, true},
    {"Text1", -1, K::TextBox, "", "Text1", 8760, 360, 1695, 375, false, 15, true},
    {"Text2", -1, K::TextBox, "", "Text2", 8760, 960, 1695, 375, false, 16, true},
    {"txtRunToTrump", -1, K::TextBox, "", "", 1800, 7440, 615, 285, false, 17, true},
    {"Frame3", -1, K::Frame, "", "Information", 10560, 120, 3735, 7935, false, 4, true},
    {"List1", -1, K::ListBox, "Frame3", "", 120, 240, 3495, 7470, true, 5, true},
    {"Frame2", -1, K::Frame, "", "Controls", 240, 5640, 10215, 2415, false, 0, true},
    {"Shuffle", -1, K::PushButton, "Frame2", "Shuffle", 120, 240, 1575, 375, false, 3, true},
    {"List2", -1, K::ListBox, "Frame2", "", 2280, 240, 6735, 1035, true, 6, true},
    {"btnEnd", -1, K::PushButton, "Frame2", "Quit", 9120, 240, 975, 375, false, 1, true},
    {"Deal", -1, K::PushButton, "Frame2", "Deal", 9120, 720, 975, 375, false, 2, false},
    {"chkAutorun", -1, K::CheckBox, "Frame2", "Run to Meld", 120, 1320, 1215, 255, false, 7, true},
    {"txtRunToMeld", -1, K::TextBox, "Frame2", "100", 1560, 1320, 615, 285, false, 8, true},
    {"Label2", -1, K::Label, "Frame2", "Run To Meld deals hands until the number is reached", 2520, 1440, 6615, 255,
     true, 19, true},
    {"chkTrump", -1, K::CheckBox, "Frame2", "Run Trump", 120, 1800, 1215, 255, false, 18, true},
    {"Label3", -1, K::Label, "Frame2", "Run To Trump deals until number of trump is reached [ max = 8 ]", 2520, 1800,
     6735, 375, true, 20, true},
}};

constexpr int kSlotWidth = 735;
constexpr int kSlotHeight = 1095;

// The left of the first card of each row, in table order.
constexpr std::array<int, 4> kRowFirstLeft{2880, 240, 2760, 5400};  // South, West, North, East

constexpr std::array<ControlDesign, kSingleControls + kImageSlots> BuildDesign() {
    std::array<ControlDesign, kSingleControls + kImageSlots> all{};
    for (std::size_t i = 0; i < kSingles.size(); ++i) all[i] = kSingles[i];
    all[kSingleControls] = {"Image1", 0, K::Image, "", "", 13320, 1440, kSlotWidth, kSlotHeight, false, -1, true};
    for (int index = 1; index < kImageSlots; ++index) {
        const SeatInfo& seat = *SeatOfIndex(index);
        const auto row = static_cast<std::size_t>((index - 1) / kCardsPerHand);
        const int left = kRowFirstLeft[row] + kCardStep * (index - seat.first);
        all[static_cast<std::size_t>(kSingleControls) + static_cast<std::size_t>(index)] = {
            "Image1", index, K::Image, "", "", left, seat.rowTop, kSlotWidth, kSlotHeight, false, -1, true};
    }
    return all;
}

constexpr auto kDesign = BuildDesign();

constexpr std::array<MenuItemDesign, 5> kMenus{{
    {"mnuFile", "&File", "mnuExit", "Exit", "Ctrl+E"},
    {"mnuHelp", "&Help", "mnuBid", "Bid", "Ctrl+B"},
    {"mnuHelp", "&Help", "mnuHandEvaluation", "Hand Evaluation", "Ctrl+H"},
    {"mnuHelp", "&Help", "mnuMeld", "Meld", "Ctrl+M"},
    {"mnuHelp", "&Help", "mnuOpening", "Opening", "Ctrl+O"},
}};

}  // namespace

std::string_view WindowCaption() {
    static constexpr std::string_view kCaption =
        "Vantrel                              Practice bidding and play for partnership pinochle";
    static_assert(kCaption.starts_with(kProductTitle) && kCaption.ends_with(kCaptionNotice));
    return kCaption;
}

const std::array<ControlDesign, kSingleControls + kImageSlots>& ControlsDesign() { return kDesign; }

const ControlDesign* FindControl(std::string_view name, int index) {
    for (const auto& control : kDesign)
        if (control.name == name && control.index == index) return &control;
    return nullptr;
}

const std::array<MenuItemDesign, 5>& MenuDesign() { return kMenus; }

}  // namespace vantrel
