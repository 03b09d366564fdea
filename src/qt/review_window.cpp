#include "qt/review_window.h"

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineSeries>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScatterSeries>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>

#include "qt/game_table.h"
#include "rules/auction.h"
#include "rules/cards.h"
#include "rules/trick_rules.h"

namespace vantrel {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

QString Figure(double value) { return QString::fromStdString(PointsFigure(value)); }

QString SeatText(const ReviewRequest& request, int seat) { return Q(ReviewSeatName(request, seat)); }

}  // namespace

ReviewTable::ReviewTable(QWidget* parent) : QWidget(parent) {
    setMinimumSize(360, 300);
    setAccessibleName(tr("The hand at this step, every hand shown"));
}

void ReviewTable::Show(const ReviewRequest& request, std::size_t cards) {
    FormPlayState state(request.rules, request.hands, request.trump, request.declarer);
    for (std::size_t i = 0; i < cards && i < request.plays.size(); ++i) state.Make(request.plays[i]);
    trick_.assign(state.Trick().begin(), state.Trick().end());
    trickLeader_ = state.Leader();
    if (trick_.empty() && state.Played() > 0) {
        // A trick just finished stays in view until the next card is led.
        const std::span<const int> last = state.Ledger().LastTrick();
        trick_.assign(last.begin(), last.end());
        trickLeader_ = state.Ledger().LastTrickLeader();
    }
    state_ = state;
    seats_ = ReviewSeats(request);
    QStringList trick;
    for (std::size_t i = 0; i < trick_.size(); ++i)
        trick << tr("%1 %2").arg(SeatText(request, (trickLeader_ + static_cast<int>(i)) % seats_), KindName(trick_[i]));
    setAccessibleDescription(trick.isEmpty() ? tr("No trick on the table") : tr("Trick: %1").arg(trick.join(", ")));
    update();
}

void ReviewTable::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), QColor(0, 100, 48));
    if (!state_) return;
    const qreal dpr = devicePixelRatioF();
    // Cards large enough that the corner's rank and suit read at a glance.
    const int cw = std::max(32, std::min(width() / 12, height() * 2 / 13));
    const int ch = cw * 96 / 71;
    const int gap = cw / 3;  // overlap step between cards of a hand
    QFont font = p.font();
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    // Where three play, East sits in the fourth place and nobody North.
    const auto place = [this](int seat) { return seats_ == 3 && seat == 2 ? 3 : seat; };
    for (int player = 0; player < seats_; ++player) {
        const int seat = place(player);
        std::vector<int> kinds;
        const KindCounts& hand = state_->Hands()[static_cast<std::size_t>(player)];
        for (int kind = 0; kind < kCardKinds; ++kind)
            for (int copy = 0; copy < CountIn(hand, kind); ++copy) kinds.push_back(kind);
        const int span = kinds.empty() ? cw : cw + gap * static_cast<int>(kinds.size() - 1);
        QPoint at;
        switch (seat) {
            case 0:
                at = QPoint((width() - span) / 2, height() - ch - 6);
                break;
            case 2:
                at = QPoint((width() - span) / 2, 22);
                break;
            case 1:
                at = QPoint(6, (height() - ch) / 2 + 12);
                break;
            default:
                at = QPoint(width() - span - 6, (height() - ch) / 2 + 12);
                break;
        }
        // West and East stand in two rows when the table is narrow.
        const bool twoRows = (seat == 1 || seat == 3) && span > width() / 3;
        const int perRow = twoRows ? (static_cast<int>(kinds.size()) + 1) / 2 : static_cast<int>(kinds.size());
        for (std::size_t i = 0; i < kinds.size(); ++i) {
            const int row = twoRows ? static_cast<int>(i) / perRow : 0;
            const int col = twoRows ? static_cast<int>(i) % perRow : static_cast<int>(i);
            QPoint spot = at + QPoint(col * gap, row * (ch / 2) - (twoRows ? ch / 4 : 0));
            if (twoRows && seat == 3) spot.rx() = width() - 6 - cw - (perRow - 1 - col) * gap;
            p.drawPixmap(spot, painter_.Scaled(201 + kinds[i], cw, dpr));
        }
        const QString label = QString::fromStdString(SeatName(player, seats_));
        const QRect labelRect = seat == 2   ? QRect(0, 2, width(), 18)
                                : seat == 0 ? QRect(0, height() - ch - 26, width(), 18)
                                : seat == 1 ? QRect(6, (height() - ch) / 2 - 24, 120, 18)
                                            : QRect(width() - 126, (height() - ch) / 2 - 24, 120, 18);
        p.drawText(labelRect, (seat == 1 ? Qt::AlignLeft : seat == 3 ? Qt::AlignRight : Qt::AlignHCenter), label);
    }
    // The trick, each card in front of its player.
    const QPoint centre(width() / 2 - cw / 2, height() / 2 - ch / 2);
    const std::array<QPoint, 4> offsets{QPoint(0, ch / 2), QPoint(-cw, 0), QPoint(0, -ch / 2), QPoint(cw, 0)};
    for (std::size_t i = 0; i < trick_.size(); ++i) {
        const int seat = place((trickLeader_ + static_cast<int>(i)) % seats_);
        p.drawPixmap(centre + offsets[static_cast<std::size_t>(seat)], painter_.Scaled(201 + trick_[i], cw, dpr));
    }
}

ReviewWindow::ReviewWindow(ReviewRequest request, const QString& title, QWidget* parent, QString note,
                           std::optional<HandReview> kept)
    : PracticeWindow(parent, QSize(1180, 700)), request_(std::move(request)), note_(std::move(note)) {
    // The small table replays only cards that could have been played.
    request_.plays = PlayablePrefix(request_);
    setWindowTitle(tr("Hand Review") + QStringLiteral(" \u2013 ") + title);
    setAccessibleName(tr("Hand Review"));
    setAttribute(Qt::WA_DeleteOnClose);

    table_ = new ReviewTable(this);
    stepLabel_ = new QLabel(this);
    stepLabel_->setAccessibleName(tr("The step shown"));
    stepLabel_->setWordWrap(true);
    auto button = [this](const QString& text, const QString& name, auto slot) {
        auto* b = new QPushButton(text, this);
        b->setAccessibleName(name);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    auto* first = button(tr("|\u25c0"), tr("To the start of the hand"), [this] { SetStep(0); });
    auto* back = button(tr("\u25c0"), tr("One card back"), [this] { SetStep(step_ > 0 ? step_ - 1 : 0); });
    auto* forward = button(tr("\u25b6"), tr("One card on"), [this] { SetStep(step_ + 1); });
    auto* last = button(tr("\u25b6|"), tr("To the end of the hand"), [this] { SetStep(request_.plays.size()); });
    for (QPushButton* b : {first, back, forward, last}) b->setFocusPolicy(Qt::NoFocus);

    cards_ = new QTableWidget(0, 6, this);
    cards_->setHorizontalHeaderLabels({tr("Trick"), tr("Seat"), tr("Card"),
                                       ReviewSeats(request_) == 3 ? tr("Par, the bidder") : tr("Par, South-North"),
                                       tr("Verdict"), tr("Best card; yours")});
    cards_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    cards_->setSelectionBehavior(QAbstractItemView::SelectRows);
    cards_->setSelectionMode(QAbstractItemView::SingleSelection);
    cards_->verticalHeader()->hide();
    cards_->horizontalHeader()->setSectionResizeMode(5, QHeaderView::Stretch);
    cards_->setAccessibleName(tr("The cards of the hand, trick by trick"));
    cards_->setObjectName(QStringLiteral("cards"));
    // Choosing a card's row, by the mouse or Up and Down, shows the table
    // just after it. The selection, not the current cell, is followed: the
    // list makes its first row current when it takes the focus, and the
    // window opens before the first lead.
    connect(cards_, &QTableWidget::itemSelectionChanged, this, [this] {
        const QList<QTableWidgetItem*> chosen = cards_->selectedItems();
        if (chosen.isEmpty()) return;
        const int row = chosen.front()->row();
        if (static_cast<std::size_t>(row) >= review_.cards.size()) return;
        const std::size_t start = request_.plays.size() - review_.cards.size();
        if (step_ != start + static_cast<std::size_t>(row) + 1) SetStep(start + static_cast<std::size_t>(row) + 1);
    });
    // Left, Right, Home and End step the hand wherever the focus stands.
    auto key = [this](const QKeySequence& keys, auto slot) {
        auto* action = new QAction(this);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
    };
    key(QKeySequence(Qt::Key_Left), [this] { SetStep(step_ > 0 ? step_ - 1 : 0); });
    key(QKeySequence(Qt::Key_Right), [this] { SetStep(step_ + 1); });
    key(QKeySequence(Qt::Key_Home), [this] { SetStep(0); });
    key(QKeySequence(Qt::Key_End), [this] { SetStep(request_.plays.size()); });
    // Ctrl+C copies the whole review wherever the focus stands; the list of
    // cards would otherwise copy the one cell it has.
    key(QKeySequence::Copy, [this] { CopyReview(); });
    cards_->installEventFilter(this);

    auto* chart = new QChart;
    chart->setTitle(ReviewSeats(request_) == 3 ? tr("The bidder's par through the hand")
                                               : tr("South-North's par through the hand"));
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart_ = new QChartView(chart, this);
    chart_->setRenderHint(QPainter::Antialiasing);
    chart_->setMinimumHeight(200);
    chart_->setAccessibleName(tr("Chart of the par through the hand and the card points taken"));

    summary_ = new QLabel(tr("Reviewing the hand\u2026"), this);
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    summary_->setAccessibleName(tr("Summary of the review"));
    progress_ = new QProgressBar(this);
    progress_->setAccessibleName(tr("Progress of the review"));
    cancel_ = button(tr("&Cancel"), tr("Stop the review"), [this] { Cancel(); });
    copy_ = button(tr("C&opy"), tr("Copy the review as text"), [this] { CopyReview(); });
    copy_->setEnabled(false);
    auto* close = button(tr("Close"), tr("Close the review"), [this] { this->close(); });

    auto* steps = new QHBoxLayout;
    for (QPushButton* b : {first, back, forward, last}) steps->addWidget(b);
    steps->addWidget(stepLabel_, 1);
    auto* left = new QVBoxLayout;
    left->addWidget(table_, 1);
    left->addLayout(steps);
    auto* right = new QVBoxLayout;
    right->addWidget(cards_, 3);
    right->addWidget(chart_, 2);
    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(right, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(summary_, 1);
    bottom->addWidget(progress_);
    bottom->addWidget(cancel_);
    bottom->addWidget(copy_);
    bottom->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);

    poll_ = new QTimer(this);
    poll_->setInterval(100);
    connect(poll_, &QTimer::timeout, this, &ReviewWindow::Poll);
    // The hand itself is listed at once, to be stepped through while its
    // figures are worked out.
    review_ = OutlineOf(request_);
    ShowCards();
    SetStep(0);
    // A review kept with the hand opens with its figures at once.
    if (kept && kept->complete && kept->cards.size() == review_.cards.size()) {
        review_ = std::move(*kept);
        Done();
        return;
    }
    Start();
}

ReviewWindow::~ReviewWindow() { job_.Stop(); }

void ReviewWindow::Start() {
    progress_->setRange(0, 0);
    job_.Start([this](const std::atomic<bool>& cancel) {
        HandReview review = ReviewHand(request_, &cancel, [this](int done, int total) {
            done_ = done;
            total_ = total;
        });
        const std::lock_guard lock(resultLock_);
        result_ = std::move(review);
    });
    poll_->start();
}

void ReviewWindow::Poll() {
    progress_->setRange(0, std::max(1, total_.load()));
    progress_->setValue(done_.load());
    if (!job_.Collect()) return;
    poll_->stop();
    {
        const std::lock_guard lock(resultLock_);
        if (result_) review_ = std::move(*result_);
        result_.reset();
    }
    Done();
    emit finished();
}

void ReviewWindow::Done() {
    progress_->hide();
    cancel_->hide();
    copy_->setEnabled(review_.complete);
    ShowReview();
    SetStep(step_);
}

void ReviewWindow::Cancel() {
    if (!job_.Running()) return;
    job_.CancelAndWait();
    Poll();
    summary_->setText(tr("The review was cancelled."));
}

void ReviewWindow::ShowCards() {
    // Until the review is complete only what the play itself tells is shown.
    const bool complete = review_.complete;
    cards_->setRowCount(static_cast<int>(review_.cards.size()));
    for (std::size_t c = 0; c < review_.cards.size(); ++c) {
        const ReviewedCard& card = review_.cards[c];
        const int row = static_cast<int>(c);
        QString trick = QString::number(card.trick + 1);
        if (static_cast<std::size_t>(card.trick) < review_.trickWinners.size() &&
            (c + 1 == review_.cards.size() || review_.cards[c + 1].trick != card.trick))
            trick +=
                tr(", %1 takes it").arg(SeatText(request_, review_.trickWinners[static_cast<std::size_t>(card.trick)]));
        QString verdict;
        QString best;
        if (card.reviewed && card.forced) {
            verdict = tr("forced");
        } else if (complete && card.reviewed) {
            verdict = Q(std::string(LabelText(card.label)));
            if (card.label != CardLabel::Best) verdict += tr(" (\u2212%1)").arg(Figure(card.cost));
            best = tr("%1 %2").arg(Q(KindText(card.best)), Figure(card.expected[static_cast<std::size_t>(card.best)]));
            if (card.best != card.kind)
                best += tr(", %1 %2").arg(Q(KindText(card.kind)),
                                          Figure(card.expected[static_cast<std::size_t>(card.kind)]));
        }
        // Every card's drop in par shows, the user's own as the others', as the copy has it.
        if (complete && card.exactCost > 0)
            verdict += (verdict.isEmpty() ? QString() : QStringLiteral("; ")) + tr("par \u2212%1").arg(card.exactCost);
        const QString par =
            complete ? (card.parProved ? QString() : QStringLiteral("\u2248")) + QString::number(card.parAfter)
                     : QString();
        const QStringList cells{trick, SeatText(request_, card.seat), Q(KindText(card.kind)), par, verdict, best};
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            // A screen reader hears the card's name, not its symbol.
            if (column == 2) item->setData(Qt::AccessibleTextRole, KindName(card.kind));
            if (complete && card.reviewed && card.label >= CardLabel::Mistake) item->setForeground(QColor(176, 0, 0));
            cards_->setItem(row, column, item);
        }
    }
    cards_->resizeColumnsToContents();
    cards_->horizontalHeader()->setSectionResizeMode(5, QHeaderView::Stretch);
}

void ReviewWindow::ShowReview() {
    ShowCards();
    if (!review_.complete) return;
    const ReviewSummary summary = Summarise(review_);
    // "1 mistake", "2 mistakes": each count with its own number.
    auto count = [](int n, const QString& one, const QString& many) {
        return QStringLiteral("%1 %2").arg(n).arg(n == 1 ? one : many);
    };
    summary_->setText(
        (ReviewSeats(request_) == 3
             ? tr("Par as the play began: the bidder %1. Taken in tricks: the bidder %2, the two others %3. Your "
                  "cards: %4 best, %5 good, %6, %7, %8, %9 forced; %10 expected card points given away against the "
                  "best card; with every hand seen, your side's cards gave away %11 points of par.")
             : tr("Par as the play began: South-North %1. Taken: South-North %2, East-West %3. Your cards: %4 best, "
                  "%5 good, %6, %7, %8, %9 forced; %10 expected card points given away against the best card; with "
                  "every hand seen, your side's cards gave away %11 points of par."))
            .arg((review_.parAtStartProved ? QString() : tr("about ")) + QString::number(review_.parAtStart))
            .arg(review_.points[0])
            .arg(review_.points[1])
            .arg(summary.cardsByLabel[0])
            .arg(summary.cardsByLabel[1])
            .arg(count(summary.cardsByLabel[2], tr("inaccuracy"), tr("inaccuracies")),
                 count(summary.cardsByLabel[3], tr("mistake"), tr("mistakes")),
                 count(summary.cardsByLabel[4], tr("blunder"), tr("blunders")))
            .arg(summary.forced)
            .arg(Figure(summary.lost))
            .arg(summary.exactLost));
    if (!note_.isEmpty()) summary_->setText(summary_->text() + QStringLiteral("\n") + note_);
    for (const AuctionVerdict& verdict : review_.auction)
        summary_->setText(summary_->text() + QStringLiteral("\n") + tr("Auction: %1").arg(Q(verdict.text)));
    for (const PassVerdict& verdict : review_.passes)
        summary_->setText(summary_->text() + QStringLiteral("\n") +
                          (ReviewSeats(request_) == 3 ? tr("Lay-away: %1") : tr("Pass: %1")).arg(Q(verdict.text)));
    // The calls that gave away much, as the drills take them.
    for (const CallVerdict& verdict : review_.calls)
        if (verdict.Costly())
            summary_->setText(summary_->text() + QStringLiteral("\n") +
                              tr("Call: %1").arg(Q(CallVerdictText(verdict))));
    ShowChart();
}

void ReviewWindow::ShowChart() {
    QChart* chart = chart_->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) chart->removeAxis(axis);
    auto* par = new QLineSeries;
    par->setName(tr("Par"));
    auto* taken = new QLineSeries;
    taken->setName(tr("Taken"));
    auto* costly = new QScatterSeries;
    costly->setName(tr("Your costly cards"));
    costly->setMarkerSize(10);
    costly->setColor(QColor(200, 0, 0));
    const std::size_t start = request_.plays.size() - review_.cards.size();
    FormPlayState state(request_.rules, request_.hands, request_.trump, request_.declarer);
    for (std::size_t i = 0; i < start; ++i) state.Make(request_.plays[i]);
    par->append(static_cast<qreal>(start), review_.parAtStart);
    taken->append(static_cast<qreal>(start), state.Points()[0]);
    for (std::size_t c = 0; c < review_.cards.size(); ++c) {
        const ReviewedCard& card = review_.cards[c];
        state.Make(card.kind);
        const auto x = static_cast<qreal>(start + c + 1);
        par->append(x, card.parAfter);
        taken->append(x, state.Points()[0]);
        if (card.reviewed && !card.forced && card.label >= CardLabel::Inaccuracy) costly->append(x, card.parAfter);
    }
    chart->addSeries(par);
    chart->addSeries(taken);
    chart->addSeries(costly);
    auto* xAxis = new QValueAxis;
    // A tick a trick; the points run to all the hand's tricks hold.
    const int tricks = request_.rules.form.handCards;
    xAxis->setRange(0, 4 * tricks);
    xAxis->setTickCount(tricks % 2 == 0 && tricks > 12 ? tricks / 2 + 1 : tricks + 1);
    xAxis->setLabelFormat(QStringLiteral("%d"));
    xAxis->setTitleText(tr("Cards played"));
    auto* yAxis = new QValueAxis;
    yAxis->setRange(0, AllCardPoints(request_.rules));
    yAxis->setTickCount(6);
    yAxis->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(xAxis, Qt::AlignBottom);
    chart->addAxis(yAxis, Qt::AlignLeft);
    for (QAbstractSeries* series : chart->series()) {
        series->attachAxis(xAxis);
        series->attachAxis(yAxis);
    }
}

void ReviewWindow::SetStep(std::size_t cards) {
    step_ = std::min(cards, request_.plays.size());
    table_->Show(request_, step_);
    if (step_ == 0) {
        stepLabel_->setText(tr("Before the first lead: %1 leads").arg(SeatText(request_, request_.declarer)));
        return;
    }
    FormPlayState state(request_.rules, request_.hands, request_.trump, request_.declarer);
    for (std::size_t i = 0; i + 1 < step_; ++i) state.Make(request_.plays[i]);
    const int seat = state.ToPlay();
    stepLabel_->setText(tr("Card %1 of %2: %3 plays the %4")
                            .arg(step_)
                            .arg(request_.plays.size())
                            .arg(SeatText(request_, seat), KindName(request_.plays[step_ - 1])));
    const std::size_t start = request_.plays.size() - review_.cards.size();
    if (step_ > start) {
        cards_->setCurrentCell(static_cast<int>(step_ - start - 1), 0);
        cards_->scrollToItem(cards_->item(static_cast<int>(step_ - start - 1), 0));
    } else {
        cards_->clearSelection();
    }
}

void ReviewWindow::CopyReview() {
    if (review_.complete) QApplication::clipboard()->setText(text());
}

bool ReviewWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cards_ && (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        if (event->type() == QEvent::KeyPress) CopyReview();
        event->accept();
        return true;
    }
    return PracticeWindow::eventFilter(watched, event);
}

QString ReviewWindow::text() const { return review_.complete ? Q(ReviewText(request_, review_)) : QString(); }

void ReviewWindow::closeEvent(QCloseEvent* event) {
    job_.Stop();
    poll_->stop();
    event->accept();
}

}  // namespace vantrel
