#include "qt/card_image.h"

#include <QMouseEvent>
#include <QPainter>

#include "qt/card_painter.h"

namespace vantrel {

CardImage::CardImage(int index, CardPainter& painter, QWidget* parent)
    : QWidget(parent), index_(index), painter_(painter) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
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
    const bool click = pressed_ && !secondClick_;
    pressed_ = false;
    secondClick_ = false;
    // The click lands on the card pressed, even when its handler moved it.
    if (click) emit clicked(index_);
}

void CardImage::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    emit mouseMoved(index_);
}

}  // namespace vantrel
