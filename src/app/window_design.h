#pragma once

#include <array>
#include <string_view>

namespace vantrel {

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kCardWidthPx = 71;
inline constexpr int kCardHeightPx = 96;
/// Horizontal step between the cards of one row, in twips.
inline constexpr int kCardStep = 360;

enum class ControlKind { Label, PushButton, TextBox, Frame, ListBox, CheckBox, Image };

/// One control of the window as designed. Places are in twips relative to
/// the container: the window's client area when `container` is empty.
struct ControlDesign {
    std::string_view name;
    int index;  // index in its control array, -1 for a single control
    ControlKind kind;
    std::string_view container;
    std::string_view caption;  // caption, or initial text of a text box
    int left;
    int top;
    int width;
    int height;
    bool boldFont;  // the list and hint font: "MS Sans Serif" 8.25 pt bold
    int tabIndex;   // -1 for controls outside the tab order
    bool offered;   // false: present but never shown to the user
};

struct MenuItemDesign {
    std::string_view menuName;
    std::string_view menuCaption;  // "&" marks the access key
    std::string_view name;
    std::string_view caption;
    std::string_view shortcut;  // portable key text, e.g. "Ctrl+E"
};

inline constexpr std::string_view kProductTitle = "Vantrel";
inline constexpr std::string_view kCaptionNotice = "Practice bidding and play for partnership pinochle";
inline constexpr int kClientWidth = 14400;
inline constexpr int kClientHeight = 8250;
inline constexpr int kWindowLeft = 5340;
inline constexpr int kWindowTop = 2175;

inline constexpr std::string_view kBoldFontFamily = "MS Sans Serif";
inline constexpr double kBoldFontPoints = 8.25;

/// The window caption: the title, a run of blanks, then the notice.
std::string_view WindowCaption();

inline constexpr int kSingleControls = 21;
inline constexpr int kImageSlots = 49;

/// Every control of the window: the single controls first, then the 49 card
/// image slots Image1(0..48) in index order.
const std::array<ControlDesign, kSingleControls + kImageSlots>& ControlsDesign();

/// The design of one control by name (and index, for Image1); nullptr when
/// there is none.
const ControlDesign* FindControl(std::string_view name, int index = -1);

const std::array<MenuItemDesign, 5>& MenuDesign();

}  // namespace vantrel
