#pragma once

#include <QAbstractButton>
#include <QWidget>

#include <functional>
#include <vector>

#include "game/game.h"
#include "qt/card_painter.h"

namespace vantrel {

/// One of the user's cards on the table: a button, so that it takes the
/// keyboard focus (Left and Right move along the hand, Enter plays it) and a
/// screen reader names it, e.g. "Ace of Hearts, South, can be played".
class GameCard : public QAbstractButton {
    Q_OBJECT

public:
    GameCard(CardPainter& painter, QWidget* parent);
    void Show(int seat, const QString& seatName, int kind, bool playable, bool raised, bool dimmed);
    [[nodiscard]] int kind() const { return kind_; }
    [[nodiscard]] int seat() const { return seat_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    CardPainter& painter_;
    int seat_ = 0;
    int kind_ = 0;
    bool raised_ = false;
    bool dimmed_ = false;
};

/// The green table: each hand in front of its seat (the user's face up as
/// buttons, the others face down unless shown), the trick in the centre with
/// each card in front of its player, the seats' labels, and the meld laid
/// out while it is on the table. It shows the game and reports clicks; it
/// never changes the game.
class GameTable : public QWidget {
    Q_OBJECT

public:
    explicit GameTable(QWidget* parent);

    struct Look {
        unsigned userSeats = 1;
        bool showAll = false;
        bool lookBack = false;  // the last trick again, beside the live one, during play
        KindCounts selected{};  // cards picked to pass
        std::array<std::string, 4> lastCalls{};
    };
    /// Shows the game as it stands.
    void Show(const Game& game, const Look& look);
    /// The user's card buttons, in table order.
    [[nodiscard]] std::vector<GameCard*> Cards() const { return cards_; }

signals:
    void cardClicked(int seat, int kind);
    void tableClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void Layout();
    /// Where a seat sits: 0 South, 1 West, 2 North, 3 East.
    [[nodiscard]] int Place(int seat) const;
    [[nodiscard]] QString NameOf(int seat) const;
    [[nodiscard]] int CardWidth() const;
    /// How far a card that can be played (or is picked to pass) stands raised.
    [[nodiscard]] int Lift() const;
    [[nodiscard]] QRect HandRect(int seat, int cards, qreal scale, bool faceUp = false) const;
    // A line of text on a dark band, centred in `band`.
    void Caption(QPainter& p, const QRect& band, const QString& text) const;
    // How far apart West's and East's cards stand down the side.
    [[nodiscard]] int SideStep(int cardHeight, int cards, bool faceUp) const;
    /// How far apart South's and North's cards lie.
    [[nodiscard]] int AcrossStep(int cardWidth, int cards) const;
    [[nodiscard]] QPoint TrickSpot(int seat) const;

    CardPainter painter_;
    const Game* game_ = nullptr;
    Look look_;
    std::vector<GameCard*> cards_;
};

/// A card's name for a screen reader, e.g. "Ace of Hearts".
QString KindName(int kind);

}  // namespace vantrel
