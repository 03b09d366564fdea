#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <algorithm>

namespace vantrel {

/// The top-left corner nearest `topLeft` at which a window of `size` stands
/// wholly within `available`; a window too large for it keeps its top-left
/// corner there, so that its title bar can still be reached.
inline QPoint KeepWithin(const QRect& available, QPoint topLeft, QSize size) {
    return {std::max(available.left(), std::min(topLeft.x(), available.right() + 1 - size.width())),
            std::max(available.top(), std::min(topLeft.y(), available.bottom() + 1 - size.height()))};
}

}  // namespace vantrel
