#include "qt/practice_window.h"

#include <QKeyEvent>
#include <QScreen>

#include <algorithm>

namespace vantrel {

PracticeWindow::PracticeWindow(QWidget* parent) : QWidget(parent, Qt::Window) {}

void PracticeWindow::PlaceBeside(const QWidget& main) {
    const QScreen* screen = main.screen();
    if (screen == nullptr) return;
    const QRect available = screen->availableGeometry();
    const QRect frame = main.frameGeometry();
    resize(std::min(width(), available.width()), std::min(height(), available.height()));
    int left = frame.right() + 1;
    if (left + width() > available.right() + 1) left = frame.left() - width();
    if (left < available.left()) left = available.right() + 1 - width();
    const int top = std::clamp(frame.top(), available.top(), available.bottom() + 1 - height());
    move(std::max(left, available.left()), top);
}

void PracticeWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace vantrel
