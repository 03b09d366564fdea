#pragma once

#include <QWidget>

namespace vantrel {

/// A window of the Practice menu: a top-level window of the main window's
/// that Escape closes and that opens beside the main window.
class PracticeWindow : public QWidget {
    Q_OBJECT

public:
    explicit PracticeWindow(QWidget* parent);

    /// Places the window beside `main`: on its right where the screen has
    /// room, else on its left, else at the screen's right edge, and always
    /// within the screen's available area.
    void PlaceBeside(const QWidget& main);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace vantrel
