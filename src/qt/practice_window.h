#pragma once

#include <QList>
#include <QRect>
#include <QWidget>

namespace vantrel {

/// A window of the Practice menu: a top-level window of the main window's
/// that Escape closes and that opens beside the main window.
class PracticeWindow : public QWidget {
    Q_OBJECT

public:
    explicit PracticeWindow(QWidget* parent);

    /// Places the window beside `main` (see PlaceBesideFrame), clear of the
    /// other practice windows already open.
    void PlaceBeside(const QWidget& main);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

/// Where a window of `size` goes beside the main window's `frame`: on its
/// right where the screen has room, else on its left, else at the screen's
/// right edge, always within `available`. Where another practice window
/// (`taken`) already stands on that spot, it goes a step down and to the right
/// (or up and to the left, at the screen's edge), so that both stay in view.
QPoint PlaceBesideFrame(const QRect& available, const QRect& frame, QSize size, const QList<QRect>& taken);

}  // namespace vantrel
