#include "qt/practice_window.h"

#include <QKeyEvent>
#include <QScreen>

#include <algorithm>

#include "qt/screen_place.h"

namespace vantrel {

PracticeWindow::PracticeWindow(QWidget* parent) : QWidget(parent, Qt::Window) {}

QPoint PlaceBesideFrame(const QRect& available, const QRect& frame, QSize size, const QList<QRect>& taken) {
    int left = frame.right() + 1;
    if (left + size.width() > available.right() + 1) left = frame.left() - size.width();
    if (left < available.left()) left = available.right() + 1 - size.width();
    QPoint at = KeepWithin(available, QPoint(left, frame.top()), size);
    auto clashes = [&](QPoint p) {
        return std::any_of(taken.begin(), taken.end(),
                           [&](const QRect& r) { return (r.topLeft() - p).manhattanLength() < 16; });
    };
    for (const QPoint step : {QPoint(32, 32), QPoint(-32, -32)}) {
        while (clashes(at)) {
            const QPoint next = KeepWithin(available, at + step, size);
            if (next == at) break;  // at the screen's edge: try the other way
            at = next;
        }
    }
    return at;
}

void PracticeWindow::PlaceBeside(const QWidget& main) {
    const QScreen* screen = main.screen();
    if (screen == nullptr) return;
    const QRect available = screen->availableGeometry();
    resize(std::min(width(), available.width()), std::min(height(), available.height()));
    QList<QRect> taken;
    for (const PracticeWindow* other : main.findChildren<PracticeWindow*>(QString(), Qt::FindDirectChildrenOnly))
        if (other != this && other->isVisible()) taken << other->frameGeometry();
    move(PlaceBesideFrame(available, main.frameGeometry(), size(), taken));
}

void PracticeWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace vantrel
