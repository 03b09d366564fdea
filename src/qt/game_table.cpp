#include "qt/game_table.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <bit>

#include "rules/seats.h"
#include "rules/trick_rules.h"

namespace vantrel {

namespace {

const QColor kFelt(24, 110, 56);
const QColor kFeltDark(16, 84, 42);

// The kinds of a hand in the order they lie: by suit, high to low, each copy.
std::vector<int> Lying(const KindCounts& hand) {
    std::vector<int> kinds;
    kinds.reserve(static_cast<std::size_t>(CardCount(hand)));
    for (int kind = 0; kind < kCardKinds; ++kind)
        for (int copy = 0; copy < CountIn(hand, kind); ++copy) kinds.push_back(kind);
    return kinds;
}

QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

QString KindName(int kind) {
    static const char* const kRanks[] = {"Ace", "Ten", "King", "Queen", "Jack", "Nine"};
    if (kind < 0 || kind >= kCardKinds) return QStringLiteral("Card");
    return QStringLiteral("%1 of %2")
        .arg(QString::fromLatin1(kRanks[RankOfKind(kind)]), Q(kSuitNames[static_cast<std::size_t>(SuitOfKind(kind))]));
}

GameCard::GameCard(CardPainter& painter, QWidget* parent) : QAbstractButton(parent), painter_(painter) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void GameCard::Show(int seat, const QString& seatName, int kind, bool playable, bool raised, bool dimmed) {
    seat_ = seat;
    kind_ = kind;
    raised_ = raised;
    dimmed_ = dimmed;
    setAccessibleName(KindName(kind) + QStringLiteral(", ") + seatName +
                      (playable ? QStringLiteral(", can be played") : QString()));
    update();
}

void GameCard::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int top = raised_ ? 0 : height() - width() * 96 / 71;
    p.drawPixmap(0, top, painter_.Scaled(201 + kind_, width(), devicePixelRatioF()));
    if (dimmed_) p.fillRect(QRect(0, top, width(), width() * 96 / 71), QColor(0, 0, 0, 90));
    if (hasFocus()) {
        p.setPen(QPen(QColor(20, 90, 230), 3));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(1.5, top + 1.5, width() - 3, width() * 96.0 / 71 - 3), 4, 4);
    }
}

void GameCard::keyPressEvent(QKeyEvent* event) {
    // Left and Right move along the hand; Enter plays, as Space does.
    const auto siblings = parentWidget()->findChildren<GameCard*>(QString(), Qt::FindDirectChildrenOnly);
    std::vector<GameCard*> shown;
    for (GameCard* card : siblings)
        if (card->isVisible()) shown.push_back(card);
    std::sort(shown.begin(), shown.end(), [](GameCard* a, GameCard* b) {
        return a->seat() != b->seat() ? a->seat() < b->seat() : a->x() < b->x();
    });
    const auto at = std::find(shown.begin(), shown.end(), this) - shown.begin();
    const auto count = static_cast<long>(shown.size());
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
            if (count > 0)
                shown[static_cast<std::size_t>((at + (event->key() == Qt::Key_Left ? count - 1 : 1)) % count)]
                    ->setFocus();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            click();
            return;
        default:
            QAbstractButton::keyPressEvent(event);
    }
}

GameTable::GameTable(QWidget* parent) : QWidget(parent) {
    setMinimumSize(560, 420);
    setAccessibleName(tr("Card table"));
    setAutoFillBackground(false);
}

int GameTable::Lift() const { return CardWidth() * 96 / 71 / 8; }

int GameTable::Place(int seat) const {
    // Where three play, East sits in the fourth place; nobody sits North.
    return game_ != nullptr && game_->Seats() == 3 && seat == 2 ? 3 : seat;
}

QString GameTable::NameOf(int seat) const { return game_ != nullptr ? Q(game_->NameOf(seat)) : QString(); }

int GameTable::CardWidth() const { return std::max(30, std::min(width() * 10 / 68, height() * 10 / 72)); }

QRect GameTable::HandRect(int seat, int cards, qreal scale, bool faceUp) const {
    const int w = static_cast<int>(CardWidth() * scale);
    const int h = w * 96 / 71;
    const int label = fontMetrics().height() + 6;
    const int n = std::max(cards, 1);
    if (seat == 0 || seat == 2) {
        // South and North fan their cards across the table.
        const int span = w + (n - 1) * AcrossStep(w, n);
        return seat == 0 ? QRect((width() - span) / 2, height() - h - 8, span, h)
                         : QRect((width() - span) / 2, label + 6, span, h);
    }
    // West and East stack theirs down the sides.
    const int span = h + (n - 1) * SideStep(h, n, faceUp);
    return {seat == 1 ? 8 : width() - w - 8, (height() - span) / 2 + label / 2, w, span};
}

int GameTable::AcrossStep(int cardWidth, int cards) const {
    // Twelve cards lie 42% of a card apart. The twenty of the 80-card deck
    // close up to lie between West's and East's columns, which then run the
    // table's height, each card still showing its corner index (the left
    // fifth of the face) and so much of itself to be clicked.
    const int columns = cards > 12 ? 2 * (CardWidth() * 3 / 4 + 16) : 0;
    const int room = (width() - 16 - cardWidth - columns) / std::max(cards - 1, 1);
    return std::max(cardWidth * 22 / 100, std::min(cardWidth * 42 / 100, room));
}

int GameTable::SideStep(int cardHeight, int cards, bool faceUp) const {
    // A face shows its corner index, rank above suit, in the top 35% of the
    // card: so much of each face-up card stays in view, where the side has
    // room. Backs need only show how many there are.
    const int wanted = cardHeight * (faceUp ? 36 : 20) / 100;
    const int room = (height() - 2 * (fontMetrics().height() + 6) - cardHeight) / std::max(cards - 1, 1);
    return std::max(cardHeight * 20 / 100, std::min(wanted, room));
}

QPoint GameTable::TrickSpot(int seat) const {
    const int w = CardWidth();
    const int h = w * 96 / 71;
    const QPoint c(width() / 2 - w / 2, height() / 2 - h / 2);
    const int dx = w * 85 / 100;
    const int dy = h * 45 / 100;
    switch (seat) {
        case 0:
            return c + QPoint(0, dy);
        case 1:
            return c + QPoint(-dx, 0);
        case 2:
            return c + QPoint(0, -dy);
        default:
            return c + QPoint(dx, 0);
    }
}

void GameTable::Show(const Game& game, const Look& look) {
    game_ = &game;
    look_ = look;
    Layout();
    update();
}

void GameTable::Layout() {
    if (game_ == nullptr) return;
    // The user's cards as buttons, in each user seat's row.
    std::vector<std::pair<int, int>> wanted;  // seat, kind
    const int seats = game_->Seats();
    for (int seat = 0; seat < seats; ++seat)
        if ((look_.userSeats >> seat) & 1u)
            for (int kind : Lying(game_->HandOf(seat))) wanted.emplace_back(seat, kind);
    while (cards_.size() < wanted.size()) {
        auto* card = new GameCard(painter_, this);
        connect(card, &QAbstractButton::clicked, this, [this, card] { emit cardClicked(card->seat(), card->kind()); });
        cards_.push_back(card);
    }
    const Phase phase = game_->CurrentPhase();
    const bool playing = phase == Phase::Play;
    const bool passing = phase == Phase::PassToDeclarer || phase == Phase::PassBack || phase == Phase::LayAway;
    const int lift = Lift();
    std::size_t next = 0;
    for (int seat = 0; seat < seats; ++seat) {
        if (((look_.userSeats >> seat) & 1u) == 0) continue;
        const int place = Place(seat);
        const std::vector<int> kinds = Lying(game_->HandOf(seat));
        const QRect hand = HandRect(place, static_cast<int>(kinds.size()), place == 0 || place == 2 ? 1.0 : 0.75);
        const int cw = hand.height() * 71 / 96;
        const int step = AcrossStep(cw, static_cast<int>(kinds.size()));
        const KindMask legal = playing && game_->ToAct() == seat ? game_->Play().Legal() : 0;
        KindCounts picked = look_.selected;
        for (std::size_t i = 0; i < kinds.size(); ++i, ++next) {
            GameCard* card = cards_[next];
            const int kind = kinds[i];
            const bool isLegal = (legal & KindFlag(kind)) != 0;
            const bool chosen = passing && CountIn(picked, kind) > 0;
            if (chosen) TakeCards(picked, kind);
            card->setGeometry(hand.x() + static_cast<int>(i) * step, hand.y() - lift, cw, hand.height() + lift);
            card->Show(seat, NameOf(seat), kind, isLegal, isLegal || chosen,
                       playing && game_->ToAct() == seat && !isLegal);
            card->setVisible(true);
            card->raise();
        }
    }
    for (; next < cards_.size(); ++next) cards_[next]->setVisible(false);
}

void GameTable::resizeEvent(QResizeEvent*) { Layout(); }

void GameTable::mousePressEvent(QMouseEvent* event) {
    event->accept();
    emit tableClicked();
}

void GameTable::Caption(QPainter& p, const QRect& band, const QString& text) const {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 110));
    p.drawRoundedRect(p.fontMetrics().boundingRect(band, Qt::AlignCenter, text).adjusted(-8, -2, 8, 2), 5, 5);
    p.setPen(Qt::white);
    p.drawText(band, Qt::AlignCenter, text);
}

void GameTable::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient felt(rect().center(), std::max(width(), height()) * 0.7);
    felt.setColorAt(0, kFelt);
    felt.setColorAt(1, kFeltDark);
    p.fillRect(rect(), felt);
    if (game_ == nullptr) return;
    const Game& g = *game_;
    const qreal dpr = devicePixelRatioF();
    const Phase phase = g.CurrentPhase();
    // Looking back shows the last trick beside the live one; the meld is on
    // the table only while it is being laid.
    const bool meldShown = phase == Phase::Meld;

    const bool faceUp = look_.showAll || phase == Phase::HandScored || phase == Phase::GameOver;
    const int seats = g.Seats();
    // The cards first, then every label over them: North's cards must not
    // cover West's label.
    for (int seat = 0; seat < seats; ++seat) {
        const bool user = (look_.userSeats >> seat) & 1u;
        const int place = Place(seat);
        const std::vector<int> kinds = Lying(g.HandOf(seat));
        const int n = static_cast<int>(kinds.size());
        const QRect hand = HandRect(place, n, place == 0 || place == 2 ? 1.0 : 0.75, faceUp);
        const bool across = place == 0 || place == 2;
        const int cw = across ? hand.height() * 71 / 96 : hand.width();
        const QPoint step = across ? QPoint(AcrossStep(cw, n), 0) : QPoint(0, SideStep(cw * 96 / 71, n, faceUp));
        // While the meld is on the table, the hands that are not the user's
        // make room for it.
        if (!user && !meldShown)
            for (std::size_t i = 0; i < kinds.size(); ++i)
                p.drawPixmap(hand.topLeft() + static_cast<int>(i) * step,
                             painter_.Scaled(faceUp ? 201 + kinds[i] : 0, cw, dpr));
    }
    for (int seat = 0; seat < seats; ++seat) {
        const bool user = (look_.userSeats >> seat) & 1u;
        const int place = Place(seat);
        const std::vector<int> kinds = Lying(g.HandOf(seat));
        const QRect hand =
            HandRect(place, static_cast<int>(kinds.size()), place == 0 || place == 2 ? 1.0 : 0.75, faceUp);
        // The seat's label: name, dealer mark, last call; bright when it is to act.
        const bool toAct = g.ToAct() == seat;
        QString label = NameOf(seat);
        if (user) label += tr(" (you)");
        if (g.Dealer() == seat) label += tr("  \u25cf dealer");
        if (!look_.lastCalls[static_cast<std::size_t>(seat)].empty())
            label += QStringLiteral("  \u2013 ") + Q(look_.lastCalls[static_cast<std::size_t>(seat)]);
        QFont font = p.font();
        font.setBold(toAct);
        p.setFont(font);
        // East's label stands right-aligned over its cards, so that it stays on the table.
        const int labelWidth = std::max(hand.width(), 260);
        const int lift = user ? Lift() : 0;  // the user's cards that can be played stand raised
        const QRect text(place == 3 ? hand.right() - labelWidth - 2 : hand.x() + 4,
                         place == 2 ? 4 : hand.y() - lift - fontMetrics().height() - 8, labelWidth,
                         fontMetrics().height() + 4);
        const Qt::Alignment align = (place == 3 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
        p.setPen(Qt::NoPen);
        p.setBrush(toAct ? QColor(255, 220, 80) : QColor(0, 0, 0, 90));
        const int flags = static_cast<int>(align.toInt());
        const QRect box = p.fontMetrics().boundingRect(text, flags, label).adjusted(-6, -2, 6, 2);
        p.drawRoundedRect(box, 4, 4);
        p.setPen(toAct ? Qt::black : Qt::white);
        p.drawText(text, flags, label);

        // Where only the bidder melds, the two others lay nothing down.
        if (meldShown && (seats == 4 || seat == g.Declarer() || !g.Rules().bidderMeldsOnly)) {
            // The meld laid face up in front of the seat, with each line.
            const MeldReport& meld = g.Meld()[static_cast<std::size_t>(seat)];
            QStringList lines;
            for (const MeldLine& line : meld.lines) lines << QStringLiteral("%1  %2").arg(Q(line.name)).arg(line.value);
            lines << tr("Meld %1").arg(meld.total);
            const int small = CardWidth() * 55 / 100;
            const std::vector<int> shown = Lying(meld.ShownCounts());
            QFont meldFont = p.font();
            meldFont.setBold(false);
            p.setFont(meldFont);
            const int lineHeight = p.fontMetrics().height();
            int textWidth = 0;
            for (const QString& line : lines) textWidth = std::max(textWidth, p.fontMetrics().horizontalAdvance(line));
            const int cardsWidth = shown.empty() ? 0 : small + static_cast<int>(shown.size() - 1) * small * 45 / 100;
            const QSize block(std::max(textWidth, cardsWidth),
                              small * 96 / 71 + 4 + lineHeight * static_cast<int>(lines.size()));
            // Each seat's meld where its hand lies: North's at the top, West's
            // and East's at the sides, South's just above its cards.
            const QPoint at =
                place == 0   ? QPoint((width() - block.width()) / 2, hand.y() - lift - block.height() - lineHeight - 14)
                : place == 2 ? QPoint((width() - block.width()) / 2, hand.y())
                : place == 1 ? QPoint(12, (height() - block.height()) / 2)
                             : QPoint(width() - 12 - block.width(), (height() - block.height()) / 2);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0, 0, 0, 60));
            p.drawRoundedRect(QRect(at, block).adjusted(-6, -6, 6, 6), 6, 6);
            for (std::size_t i = 0; i < shown.size(); ++i)
                p.drawPixmap(at + QPoint(static_cast<int>(i) * small * 45 / 100, 0),
                             painter_.Scaled(201 + shown[i], small, dpr));
            p.setPen(Qt::white);
            p.drawText(QRect(at + QPoint(0, small * 96 / 71 + 4),
                             QSize(block.width() + 4, lineHeight * static_cast<int>(lines.size()))),
                       Qt::AlignLeft | Qt::AlignTop, lines.join(QLatin1Char('\n')));
        }
    }

    // The trick: the one being played, or the last one while it stays in view.
    std::vector<int> trick(g.Play().Trick().begin(), g.Play().Trick().end());
    int leader = g.Play().Leader();
    const bool lastInView = trick.empty() && !g.LastTrick().empty() &&
                            (phase == Phase::Play || phase == Phase::HandScored || phase == Phase::GameOver);
    if (lastInView) {
        trick.assign(g.LastTrick().begin(), g.LastTrick().end());
        leader = g.LastTrickLeader();
    }
    for (std::size_t i = 0; i < trick.size() && phase != Phase::Meld; ++i) {
        const int seat = (leader + static_cast<int>(i)) % seats;
        p.drawPixmap(TrickSpot(Place(seat)), painter_.Scaled(201 + trick[i], CardWidth(), dpr));
    }
    // A finished trick in view says who took it.
    if (lastInView) {
        const int taker = (g.LastTrickLeader() + TrickWinner(g.LastTrick(), g.Trump(), g.Rules().tricks)) % seats;
        Caption(p, QRect(0, TrickSpot(0).y() + CardWidth() * 96 / 71 + 4, width(), fontMetrics().height() + 6),
                tr("%1 took the trick").arg(NameOf(taker)));
    }
    // The widow in the middle: face down in the auction, face up until the bidder takes it.
    if (const KindCounts widow = g.Widow(); CardCount(widow) > 0) {
        const std::vector<int> kinds = Lying(widow);
        const int w = CardWidth();
        const int step = phase == Phase::Widow ? w * 55 / 100 : w * 25 / 100;
        const int span = w + static_cast<int>(kinds.size() - 1) * step;
        const QPoint at((width() - span) / 2, height() / 2 - w * 96 / 71 / 2);
        for (std::size_t i = 0; i < kinds.size(); ++i)
            p.drawPixmap(at + QPoint(static_cast<int>(i) * step, 0),
                         painter_.Scaled(phase == Phase::Widow ? 201 + kinds[i] : 0, w, dpr));
        Caption(p, QRect(0, at.y() - fontMetrics().height() - 10, width(), fontMetrics().height() + 6),
                phase == Phase::Widow ? tr("The widow, for %1").arg(NameOf(g.Declarer())) : tr("The widow"));
    }
    // Looking back: the last trick, small and captioned, right of the live
    // one (left where the right has no room), which stays in view.
    if (look_.lookBack && phase == Phase::Play && !g.LastTrick().empty()) {
        const int small = CardWidth() * 45 / 100;
        const int smallHeight = small * 96 / 71;
        const int taker = (g.LastTrickLeader() + TrickWinner(g.LastTrick(), g.Trump(), g.Rules().tricks)) % seats;
        const QStringList caption{tr("Look back: the last trick,"), tr("led by %1,").arg(NameOf(g.LastTrickLeader())),
                                  tr("taken by %1").arg(NameOf(taker))};
        const int line = fontMetrics().height();
        const QSize box(std::max(2 * small + 6, fontMetrics().horizontalAdvance(caption[0])) + 12,
                        3 * line + 2 * smallHeight + 18);
        const int right = TrickSpot(3).x() + CardWidth() + 8;
        const int left = TrickSpot(1).x() - 8 - box.width();
        const QRect panel(QPoint(right + box.width() <= HandRect(3, 12, 0.75).left() ? right : std::max(0, left),
                                 height() / 2 - box.height() / 2),
                          box);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 150));
        p.drawRoundedRect(panel, 6, 6);
        p.setPen(Qt::white);
        p.drawText(panel.adjusted(6, 4, -6, 0), Qt::AlignLeft | Qt::AlignTop, caption.join(QLatin1Char('\n')));
        const QPoint cards = panel.topLeft() + QPoint(6, 3 * line + 10);
        // The cards in the order played, two to a row.
        for (std::size_t i = 0; i < g.LastTrick().size(); ++i) {
            const QPoint spot =
                cards + QPoint(static_cast<int>(i % 2) * (small + 6), static_cast<int>(i / 2) * (smallHeight + 2));
            p.drawPixmap(spot, painter_.Scaled(201 + g.LastTrick()[i], small, dpr));
        }
    }
    if (phase == Phase::Meld) {
        const std::array<int, 2> meld = g.SideMeld();
        QFont big = p.font();
        big.setBold(true);
        big.setPointSizeF(big.pointSizeF() * 1.4);
        p.setFont(big);
        // Between North's meld and the sides', where the table is clear.
        const QString totals = seats == 3 ? tr("Meld: %1 %2")
                                                .arg(NameOf(g.Declarer()))
                                                .arg(g.Meld()[static_cast<std::size_t>(g.Declarer())].total)
                                          : tr("Meld: South-North %1, East-West %2").arg(meld[0]).arg(meld[1]);
        const QRect band(0, height() * 30 / 100, width(), p.fontMetrics().height() + 8);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 80));
        p.drawRoundedRect(p.fontMetrics().boundingRect(band, Qt::AlignCenter, totals).adjusted(-10, -4, 10, 4), 6, 6);
        p.setPen(Qt::white);
        p.drawText(band, Qt::AlignCenter, totals);
    }
}

}  // namespace vantrel
