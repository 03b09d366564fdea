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
    /// after the model was cleared, then shows the selected line.
    void Sync(const ListBox& model);

private:
    std::uint64_t generation_ = ~std::uint64_t{0};
};

}  // namespace vantrel
