#pragma once

#include <QIcon>
#include <QPixmap>

namespace vantrel {

/// The program's icon at `size` pixels: two fanned cards, the Queen of Spades
/// and the Jack of Diamonds that make a pinochle.
QPixmap PaintAppIcon(int size);

/// The icon at the usual sizes.
QIcon AppIcon();

}  // namespace vantrel
