#pragma once

#include <QWidget>

namespace vantrel {

class CardPainter;

/// One slot of the card image array. It reports the events of a classic image
/// control: a first click raises `clicked` when the button is released over
/// the same card, the second click of a double-click raises only
/// `doubleClicked`, and every mouse movement over it raises `mouseMoved`.
/// From the keyboard, Enter is a click and Shift+Enter a double-click; the
/// arrow keys ask for another card with `stepped`.
class CardImage : public QWidget {
    Q_OBJECT

public:
    CardImage(int index, CardPainter& painter, QWidget* parent);

    [[nodiscard]] int index() const { return index_; }
    [[nodiscard]] int picture() const { return picture_; }
    void setPicture(int picture);
    /// Whether the card has been played (raised or taken off the table).
    [[nodiscard]] bool played() const { return played_; }
    void setPlayed(bool played) { played_ = played; }

signals:
    void clicked(int index);
    void doubleClicked(int index);
    void mouseMoved(int index);
    /// An arrow key: `across` -1 or 1 within the hand, `down` -1 or 1 between hands.
    void stepped(int index, int across, int down);
    void focused(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int index_;
    int picture_ = 0;
    bool played_ = false;
    CardPainter& painter_;
    bool pressed_ = false;
    bool secondClick_ = false;  // the press under way is the second of a double-click
};

}  // namespace vantrel
