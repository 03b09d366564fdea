#pragma once

class QWidget;

namespace vantrel {

/// Places a practice window beside the main window, on its right where the
/// screen has room, else on its left, else at the screen's right edge, and
/// always within the screen's available area.
void PlaceBeside(QWidget& window, const QWidget& main);

}  // namespace vantrel
