#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

/// Colours as the classic controls hold them: 0x00BBGGRR for a fixed colour,
/// or the high bit plus a system colour number.
using OleColor = std::uint32_t;
inline constexpr OleColor kSystemWindowText = 0x80000008u;
constexpr OleColor Rgb(int r, int g, int b) {
    return static_cast<OleColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
inline constexpr OleColor kPureBlue = Rgb(0, 0, 255);

/// A list box: lines appended at the end, cleared only whole, one selected
/// line. Lines share one buffer, so a cleared and refilled list allocates
/// nothing once it has grown to its working size.
class ListBox {
public:
    void AddItem(std::string_view line);
    void Clear();
    [[nodiscard]] int ListCount() const { return static_cast<int>(ends_.size()); }
    /// Line i (0-based); an empty view outside 0..ListCount()-1.
    [[nodiscard]] std::string_view List(int i) const;
    [[nodiscard]] int ListIndex() const { return listIndex_; }
    /// Selects line i; -1 selects nothing. Other values are ignored.
    void SetListIndex(int i);
    /// Selects the last line, which scrolls it into view (none when empty).
    void SelectLast() { listIndex_ = ListCount() - 1; }
    [[nodiscard]] std::vector<std::string> Lines() const;

    bool Visible = true;

    /// Raised by every Clear, so a view can tell a refill from an append.
    [[nodiscard]] std::uint64_t Generation() const { return generation_; }

private:
    std::string text_;
    std::vector<std::size_t> ends_;
    int listIndex_ = -1;
    std::uint64_t generation_ = 0;
};

struct Label {
    std::string Caption;
    bool FontBold = false;
    OleColor ForeColor = kSystemWindowText;
};

struct TextBox {
    std::string Text;
    bool Visible = true;
};

struct CommandButton {
    std::string Caption;
};

/// A check box. Changing its value, from code or by a click, raises Click,
/// as the classic control does; setting the value it already has does not.
class CheckBox {
public:
    [[nodiscard]] int Value() const { return value_; }
    void SetValue(int value);

    std::string Caption;
    std::function<void()> Click;

private:
    int value_ = 0;
};

/// One card image slot. Positions are in twips within the window.
struct ImageControl {
    int Picture = 0;  // face identifier, 0 for none
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool Visible = true;
    std::uint64_t Stacking = 0;  // higher lies above lower
};

/// The control array Image1(0..48) with its stacking order.
class ImageArray {
public:
    static constexpr int kCount = 49;

    ImageControl& operator[](int index) { return images_.at(static_cast<std::size_t>(index)); }
    const ImageControl& operator[](int index) const { return images_.at(static_cast<std::size_t>(index)); }

    /// Brings image `index` to the front of the stacking order.
    void ZOrder(int index) { (*this)[index].Stacking = ++topStacking_; }
    /// Loads a face: the slot takes the bitmap's size, 71 by 96 pixels.
    void SetPicture(int index, int picture);

private:
    std::vector<ImageControl> images_ = std::vector<ImageControl>(kCount);
    std::uint64_t topStacking_ = 0;
};

}  // namespace vantrel
