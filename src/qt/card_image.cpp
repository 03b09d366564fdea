#include "qt/card_image.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "qt/card_painter.h"

namespace vantrel {

CardImage::CardImage(int index, CardPainter& painter, QWidget* parent)
    : QWidget(parent), index_(index), painter_(painter) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setFocusPolicy(Qt::ClickFocus);
}

void CardImage::setPicture(int picture) {
    if (picture == picture_) return;
    picture_ = picture;
    update();
}

void CardImage::paintEvent(QPaintEvent*) {
    if (picture_ == 0) return;  // an empty slot shows nothing
    QPainter p(this);
    p.drawPixmap(0, 0, painter_.Face(picture_, devicePixelRatioF()));
    if (hasFocus()) {
        // A frame to see from across the table: blue on a white edge, over
        // the strip of the card that stays visible in its row.
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::white, 4));
        p.drawRoundedRect(QRectF(rect()).adjusted(2, 2, -2, -2), 4, 4);
        p.setPen(QPen(QColor(0, 90, 220), 2.5));
        p.drawRoundedRect(QRectF(rect()).adjusted(2, 2, -2, -2), 4, 4);
    }
}

void CardImage::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    pressed_ = true;
    event->accept();
}

void CardImage::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    pressed_ = true;
    secondClick_ = true;
    emit doubleClicked(index_);
}

void CardImage::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    // A click counts only when the button comes up over the card it went
    // down on, as with any classic control.
    const QWidget* under =
        parentWidget() != nullptr ? parentWidget()->childAt(mapToParent(event->position().toPoint())) : nullptr;
    const bool click = pressed_ && !secondClick_ && under == this;
    pressed_ = false;
    secondClick_ = false;
    // The click lands on the card pressed, even when its handler moved it.
    if (click) emit clicked(index_);
}

void CardImage::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    emit mouseMoved(index_);
}

void CardImage::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // As the mouse does it: a double-click is a click and then the double-click.
            emit clicked(index_);
            if (event->modifiers().testFlag(Qt::ShiftModifier)) emit doubleClicked(index_);
            return;
        case Qt::Key_Left:
            emit stepped(index_, -1, 0);
            return;
        case Qt::Key_Right:
            emit stepped(index_, 1, 0);
            return;
        case Qt::Key_Up:
            emit stepped(index_, 0, -1);
            return;
        case Qt::Key_Down:
            emit stepped(index_, 0, 1);
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

void CardImage::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
    emit focused(index_);
}

void CardImage::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

}  // namespace vantrel
