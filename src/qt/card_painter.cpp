#include "qt/card_painter.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <array>

#include "app/window_design.h"

namespace vantrel {

namespace {

constexpr int kW = kCardWidthPx;
constexpr int kH = kCardHeightPx;
const QColor kRed(200, 16, 46);
const QColor kBlack(20, 20, 20);

constexpr std::array<const char*, 6> kRankGlyphs{"A", "10", "K", "Q", "J", "9"};

// The flared stem of clubs and spades, from `top` down to the base line.
QPainterPath Stem(qreal top, qreal curveY, qreal halfBase) {
    QPainterPath stem;
    stem.moveTo(0, top);
    stem.quadTo(0.05, curveY, halfBase, 1);
    stem.lineTo(-halfBase, 1);
    stem.quadTo(-0.05, curveY, 0, top);
    return stem;
}

// Suit outlines in a unit box centred on the origin (x and y in -1..1).
QPainterPath SuitPath(int suit) {
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    switch (suit) {
        case 1: {  // clubs: three leaves and a flared stem
            const qreal r = 0.43;
            path.addEllipse(QPointF(0, -0.52), r, r);
            path.addEllipse(QPointF(-0.5, 0.12), r, r);
            path.addEllipse(QPointF(0.5, 0.12), r, r);
            path.addPath(Stem(0, 0.75, 0.38));
            break;
        }
        case 2:  // hearts
            path.moveTo(0, 1);
            path.cubicTo(-0.15, 0.72, -1, 0.3, -1, -0.32);
            path.cubicTo(-1, -0.92, -0.28, -1.08, 0, -0.52);
            path.cubicTo(0.28, -1.08, 1, -0.92, 1, -0.32);
            path.cubicTo(1, 0.3, 0.15, 0.72, 0, 1);
            break;
        case 3: {  // spades: an upturned heart on a stem
            path.moveTo(0, -1);
            path.cubicTo(0.15, -0.72, 1, -0.3, 1, 0.22);
            path.cubicTo(1, 0.78, 0.3, 0.86, 0.06, 0.42);
            path.lineTo(-0.06, 0.42);
            path.cubicTo(-0.3, 0.86, -1, 0.78, -1, 0.22);
            path.cubicTo(-1, -0.3, -0.15, -0.72, 0, -1);
            path.addPath(Stem(0.2, 0.78, 0.36));
            break;
        }
        default:  // diamonds
            path.moveTo(0, -1);
            path.lineTo(0.74, 0);
            path.lineTo(0, 1);
            path.lineTo(-0.74, 0);
            path.closeSubpath();
            break;
    }
    return path;
}

bool IsRed(int suit) { return suit == 2 || suit == 4; }

// The corner index: rank above a small suit symbol, kept within the left 20 pixels.
void PaintIndex(QPainter& p, int suit, int rank) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setPixelSize(15);
    if (rank == 2) font.setStretch(QFont::Condensed);
    p.setFont(font);
    p.setPen(IsRed(suit) ? kRed : kBlack);
    const QRectF rankBox(1, 2, 19, 17);
    const QString glyph = QString::fromLatin1(kRankGlyphs[static_cast<std::size_t>(rank - 1)]);
    if (rank == 2) {
        // Two digits share the width of one letter.
        p.save();
        p.translate(rankBox.center());
        p.scale(0.78, 1.0);
        p.drawText(QRectF(-13, -8.5, 26, 17), Qt::AlignCenter, glyph);
        p.restore();
    } else {
        p.drawText(rankBox, Qt::AlignCenter, glyph);
    }
    CardPainter::PaintSuit(p, suit, QRectF(4.5, 20, 12, 13));
}

void PaintPip(QPainter& p, int suit, QPointF centre, qreal size, bool upsideDown) {
    p.save();
    p.translate(centre);
    if (upsideDown) p.rotate(180);
    CardPainter::PaintSuit(p, suit, QRectF(-size / 2, -size / 2, size, size));
    p.restore();
}

void PaintPips(QPainter& p, int suit, int rank) {
    const qreal left = 27.5;
    const qreal right = 43.5;
    const qreal middle = 35.5;
    const std::array<qreal, 4> rows{18, 38.5, 57.5, 78};
    const qreal size = 12;
    if (rank == 1) {
        PaintPip(p, suit, QPointF(middle, 48), 30, false);
        return;
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const bool lower = r >= 2;
        PaintPip(p, suit, QPointF(left, rows[r]), size, lower);
        PaintPip(p, suit, QPointF(right, rows[r]), size, lower);
    }
    if (rank == 6) {  // nine: one more in the centre
        PaintPip(p, suit, QPointF(middle, 48), size, false);
    } else {  // ten: two more between the outer rows
        PaintPip(p, suit, QPointF(middle, 28), size, false);
        PaintPip(p, suit, QPointF(middle, 68), size, true);
    }
}

// King, Queen and Jack: a framed panel with the letter and the suit.
void PaintCourt(QPainter& p, int suit, int rank) {
    const QColor ink = IsRed(suit) ? kRed : kBlack;
    const QRectF frame(19.5, 12.5, 32, 71);
    p.setPen(QPen(ink, 1.2));
    p.setBrush(QColor(252, 244, 214));
    p.drawRect(frame);
    p.setPen(QPen(QColor(190, 160, 60), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame.adjusted(2.5, 2.5, -2.5, -2.5));
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setStyleHint(QFont::Serif);
    font.setBold(true);
    font.setPixelSize(26);
    p.setFont(font);
    p.setPen(ink);
    p.drawText(QRectF(frame.left(), 33, frame.width(), 30), Qt::AlignCenter,
               QString::fromLatin1(kRankGlyphs[static_cast<std::size_t>(rank - 1)]));
    PaintPip(p, suit, QPointF(frame.center().x(), 24), 11, false);
    PaintPip(p, suit, QPointF(frame.center().x(), 72), 11, true);
}

void PaintPlaceholder(QPainter& p) {
    p.setPen(QPen(kRed, 3));
    p.drawLine(QPointF(6, 6), QPointF(kW - 6, kH - 6));
    p.drawLine(QPointF(kW - 6, 6), QPointF(6, kH - 6));
}

}  // namespace

void CardPainter::PaintSuit(QPainter& painter, int suit, const QRectF& box) {
    painter.save();
    painter.translate(box.center());
    painter.scale(box.width() / 2, box.height() / 2);
    painter.setPen(Qt::NoPen);
    painter.setBrush(IsRed(suit) ? kRed : kBlack);
    painter.drawPath(SuitPath(suit));
    painter.restore();
}

void CardPainter::PaintFace(QPainter& p, int picture) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(0.5, 0.5, kW - 1, kH - 1), 4, 4);
    const int offset = picture - 201;
    if (offset < 0 || offset >= 24) {
        PaintPlaceholder(p);
        return;
    }
    const int suit = offset / 6 + 1;
    const int rank = offset % 6 + 1;
    PaintIndex(p, suit, rank);
    p.save();
    p.translate(kW, kH);
    p.rotate(180);
    PaintIndex(p, suit, rank);
    p.restore();
    if (rank >= 3 && rank <= 5)
        PaintCourt(p, suit, rank);
    else
        PaintPips(p, suit, rank);
}

QPixmap CardPainter::Scaled(int picture, int width, qreal devicePixelRatio) {
    const quint64 key = (quint64{1} << 63) | (static_cast<quint64>(qRound(devicePixelRatio * 1000)) << 32) |
                        (static_cast<quint64>(width) << 16) | static_cast<quint16>(picture);
    if (auto it = cache_.constFind(key); it != cache_.constEnd()) return *it;
    const qreal scale = static_cast<qreal>(width) / kW;
    QPixmap pixmap(QSize(qCeil(width * devicePixelRatio), qCeil(kH * scale * devicePixelRatio)));
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.scale(scale, scale);
        if (picture == 0) {
            // The back: a dark blue card with a lattice, inside a white edge.
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(QPen(QColor(60, 60, 60), 1));
            painter.setBrush(Qt::white);
            painter.drawRoundedRect(QRectF(0.5, 0.5, kW - 1, kH - 1), 4, 4);
            const QRectF inner(5, 5, kW - 10, kH - 10);
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(30, 60, 140));
            painter.drawRoundedRect(inner, 3, 3);
            painter.setClipRect(inner);
            painter.setPen(QPen(QColor(120, 150, 220), 1));
            for (qreal d = -kH; d < kW + kH; d += 7) {
                painter.drawLine(QPointF(d, 0), QPointF(d + kH, kH));
                painter.drawLine(QPointF(d, kH), QPointF(d + kH, 0));
            }
        } else {
            PaintFace(painter, picture);
        }
    }
    cache_.insert(key, pixmap);
    return pixmap;
}

QPixmap CardPainter::Face(int picture, qreal devicePixelRatio) {
    const quint64 key = (static_cast<quint64>(qRound(devicePixelRatio * 1000)) << 16) | static_cast<quint16>(picture);
    if (auto it = cache_.constFind(key); it != cache_.constEnd()) return *it;
    QPixmap pixmap(QSize(qCeil(kW * devicePixelRatio), qCeil(kH * devicePixelRatio)));
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        PaintFace(painter, picture);
    }
    cache_.insert(key, pixmap);
    return pixmap;
}

}  // namespace vantrel
