#pragma once

#include <QHash>
#include <QPixmap>

class QPainter;
class QRectF;

namespace vantrel {

/// Paints the 24 card faces, identifiers 201 to 224 (Clubs, Hearts, Spades,
/// Diamonds; A, 10, K, Q, J, 9 within each), at 71 by 96 logical pixels.
/// Everything that identifies a card stands in its left 24 pixels, the part an
/// overlapping neighbour leaves uncovered.
class CardPainter {
public:
    /// The face at the given device pixel ratio, painted once and cached.
    /// An identifier that names no card gives a red-crossed placeholder.
    QPixmap Face(int picture, qreal devicePixelRatio);

    /// The face at any logical width (the height follows, 96 to 71), painted
    /// as vectors at the device pixel ratio so that it stays crisp; picture 0
    /// is the back of a card. Painted once per size and cached.
    QPixmap Scaled(int picture, int width, qreal devicePixelRatio);

    /// Paints a face into `painter` at logical size 71 by 96.
    static void PaintFace(QPainter& painter, int picture);

    /// Paints a suit symbol (1 Clubs, 2 Hearts, 3 Spades, 4 Diamonds) filling `box`.
    static void PaintSuit(QPainter& painter, int suit, const QRectF& box);

private:
    QHash<quint64, QPixmap> cache_;
};

}  // namespace vantrel
