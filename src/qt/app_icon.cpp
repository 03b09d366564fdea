#include "qt/app_icon.h"

#include <QFont>
#include <QPainter>

#include "qt/card_painter.h"

namespace vantrel {

namespace {

void PaintIconCard(QPainter& p, int suit, const QString& letter, qreal shift, qreal angle) {
    p.save();
    p.translate(50 + shift, 66);
    p.rotate(angle);
    const QRectF card(-20, -42, 40, 58);
    p.setPen(QPen(QColor(50, 50, 50), 2));
    p.setBrush(Qt::white);
    p.drawRoundedRect(card, 4, 4);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setPixelSize(17);
    p.setFont(font);
    p.setPen(suit == 4 ? QColor(200, 16, 46) : QColor(20, 20, 20));
    // The corner index, as on the cards of the table.
    p.drawText(QRectF(card.left() + 2, card.top() + 2, 16, 18), Qt::AlignCenter, letter);
    CardPainter::PaintSuit(p, suit, QRectF(card.left() + 4, card.top() + 21, 12, 13));
    CardPainter::PaintSuit(p, suit, QRectF(-6, -14, 22, 24));
    p.restore();
}

}  // namespace

// At 16 and 32 pixels two fanned cards would blur into each other; the small
// icon is drawn for its size instead: one upright card on whole pixels, its
// spade as large as the card allows.
QPixmap PaintSmallIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(21, 101, 52));
    p.drawRoundedRect(QRectF(0, 0, size, size), size / 5.0, size / 5.0);
    p.setRenderHint(QPainter::Antialiasing, false);
    const int width = size * 5 / 8;
    const int height = size - 2 * (size / 8);
    const QRect card((size - width) / 2, size / 8, width, height);
    p.setPen(QColor(50, 50, 50));
    p.setBrush(Qt::white);
    p.drawRect(card.adjusted(0, 0, -1, -1));
    p.setRenderHint(QPainter::Antialiasing);
    const qreal suit = width * 0.62;
    CardPainter::PaintSuit(p, 3,
                           QRectF(card.center().x() + 0.5 - suit / 2, card.center().y() + 0.5 - suit / 2, suit, suit));
    return pixmap;
}

QPixmap PaintAppIcon(int size) {
    if (size <= 32) return PaintSmallIcon(size);
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 100.0, size / 100.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(21, 101, 52));
    p.drawEllipse(QRectF(3, 3, 94, 94));
    PaintIconCard(p, 3, QStringLiteral("Q"), -11, -17);
    PaintIconCard(p, 4, QStringLiteral("J"), 11, 17);
    return pixmap;
}

QIcon AppIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(PaintAppIcon(size));
    return icon;
}

}  // namespace vantrel
