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

QPixmap PaintAppIcon(int size) {
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
