#pragma once

#include <QList>
#include <QPointer>
#include <QRect>
#include <QWidget>

namespace vantrel {

/// A window of the Practice menu: a top-level window of the main window's
/// that Escape closes and that opens beside the main window.
class PracticeWindow : public QWidget {
    Q_OBJECT

public:
    /// `preferred` is the window's size where the screen has room for it.
    PracticeWindow(QWidget* parent, QSize preferred);

    /// Sizes the window to fit the screen `main` stands on, its frame
    /// included, and places it by PlaceBesideFrame, clear of the other
    /// practice windows already open.
    void PlaceBeside(const QWidget& main);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QSize preferred_;
    // The main window this one was placed beside, until it has been placed
    // again with the frame the window manager gave it.
    QPointer<const QWidget> placedBeside_;
};

/// Where a window of `size` (frame included) goes beside the main window's
/// `frame`, within `available`: where it covers the least of the main window
/// and the other practice windows (`taken`) together, and of such places the
/// one nearest the main window's right side or, after that, its left. Where
/// another practice window already stands on that very spot, it goes a step
/// aside.
QPoint PlaceBesideFrame(const QRect& available, const QRect& frame, QSize size, const QList<QRect>& taken);

}  // namespace vantrel
