#pragma once

#include <QListWidget>

#include <cstdint>

namespace vantrel {

class ListBox;

/// A list box that shows a ListBox model. TAB characters stand for column
/// stops every eight average character widths, as in a classic list box, so
/// the columns of the meld reports line up.
class ListBoxView : public QListWidget {
    Q_OBJECT

public:
    explicit ListBoxView(QWidget* parent);

    /// Brings the view up to the model: appends new lines, or refills it
    /// after the model was cleared. Only when the lines or the model's
    /// selected line have changed does it select and show that line, so a
    /// line the user selected or a place the user scrolled to stays.
    void Sync(const ListBox& model);

private:
    std::uint64_t generation_ = ~std::uint64_t{0};
    int shownIndex_ = -2;  // the model's selected line when it was last shown
};

}  // namespace vantrel
