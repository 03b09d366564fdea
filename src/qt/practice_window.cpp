#include "qt/practice_window.h"

#include <QKeyEvent>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <utility>

#include "qt/screen_place.h"

namespace vantrel {

namespace {

qint64 Overlap(const QRect& a, const QRect& b) {
    const QRect common = a & b;
    return common.isEmpty() ? 0 : qint64{common.width()} * common.height();
}

// What a window's frame adds around it. Before the window manager has framed
// a new window, the main window's frame is the best guess for it.
QMargins FrameMargins(const QWidget& window) {
    const QRect outer = window.frameGeometry();
    const QRect inner = window.geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

}  // namespace

PracticeWindow::PracticeWindow(QWidget* parent, QSize preferred) : QWidget(parent, Qt::Window), preferred_(preferred) {
    resize(preferred);
}

QPoint PlaceBesideFrame(const QRect& available, const QRect& frame, QSize size, const QList<QRect>& taken) {
    // Every place on an 8-pixel grid is weighed, with the places beside the
    // main window first so that they win a tie.
    const QPoint right = KeepWithin(available, QPoint(frame.right() + 1, frame.top()), size);
    const QPoint left = KeepWithin(available, QPoint(frame.left() - size.width(), frame.top()), size);
    QList<QPoint> places{right, left};
    for (int y = available.top(); y <= available.bottom() + 8; y += 8)
        for (int x = available.left(); x <= available.right() + 8; x += 8)
            places << KeepWithin(available, QPoint(x, y), size);
    auto cost = [&](QPoint at) {
        const QRect rect(at, size);
        qint64 practice = 0;
        for (const QRect& other : taken) practice += Overlap(rect, other);
        return std::make_pair(Overlap(rect, frame) + practice,
                              std::min((at - right).manhattanLength(), (at - left).manhattanLength()));
    };
    QPoint at = places.front();
    auto best = cost(at);
    for (const QPoint place : places)
        if (const auto c = cost(place); c < best) best = c, at = place;

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
    placedBeside_ = isVisible() ? nullptr : &main;
    const QRect available = screen->availableGeometry();
    const QMargins frame = isVisible() ? FrameMargins(*this) : FrameMargins(main);
    const QSize room = available.size().shrunkBy(frame);
    resize(std::min(preferred_.width(), room.width()), std::min(preferred_.height(), room.height()));
    QList<QRect> taken;
    for (const PracticeWindow* other : main.findChildren<PracticeWindow*>(QString(), Qt::FindDirectChildrenOnly))
        if (other != this && other->isVisible()) taken << other->frameGeometry();
    move(PlaceBesideFrame(available, main.frameGeometry(), size().grownBy(frame), taken));
}

void PracticeWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (placedBeside_ == nullptr) return;
    // Placed before it was shown, the window was sized and placed by the
    // main window's frame; once the window manager has framed it, its own
    // frame is known, and it is placed again by that.
    const QPointer<const QWidget> main = placedBeside_;
    placedBeside_ = nullptr;
    for (const int wait : {100, 400, 1000})
        QTimer::singleShot(wait, this, [this, main] {
            if (main != nullptr && isVisible()) PlaceBeside(*main);
        });
}

void PracticeWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace vantrel
