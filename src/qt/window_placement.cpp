#include "qt/window_placement.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace vantrel {

void PlaceBeside(QWidget& window, const QWidget& main) {
    const QScreen* screen = main.screen();
    if (screen == nullptr) return;
    const QRect available = screen->availableGeometry();
    const QRect frame = main.frameGeometry();
    const int width = std::min(window.width(), available.width());
    const int height = std::min(window.height(), available.height());
    window.resize(width, height);
    int left = frame.right() + 1;
    if (left + width > available.right() + 1) left = frame.left() - width;
    if (left < available.left()) left = available.right() + 1 - width;
    const int top = std::clamp(frame.top(), available.top(), available.bottom() + 1 - height);
    window.move(std::max(left, available.left()), top);
}

}  // namespace vantrel
