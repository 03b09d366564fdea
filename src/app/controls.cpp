#include "app/controls.h"

#include "app/window_design.h"

namespace vantrel {

void ListBox::AddItem(std::string_view line) {
    text_.append(line);
    ends_.push_back(text_.size());
}

void ListBox::Clear() {
    text_.clear();
    ends_.clear();
    listIndex_ = -1;
    ++generation_;
}

std::string_view ListBox::List(int i) const {
    if (i < 0 || i >= ListCount()) return {};
    const auto index = static_cast<std::size_t>(i);
    const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
    return std::string_view(text_).substr(begin, ends_[index] - begin);
}

void ListBox::SetListIndex(int i) {
    if (i >= -1 && i < ListCount()) listIndex_ = i;
}

std::vector<std::string> ListBox::Lines() const {
    std::vector<std::string> lines;
    lines.reserve(ends_.size());
    for (int i = 0; i < ListCount(); ++i) lines.emplace_back(List(i));
    return lines;
}

void CheckBox::SetValue(int value) {
    if (value == value_) return;
    value_ = value;
    if (Click) Click();
}

void ImageArray::SetPicture(int index, int picture) {
    ImageControl& image = (*this)[index];
    image.Picture = picture;
    if (picture != 0) {
        image.Width = kCardWidthPx * kTwipsPerPixel;
        image.Height = kCardHeightPx * kTwipsPerPixel;
    }
}

}  // namespace vantrel
