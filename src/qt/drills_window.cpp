#include "qt/drills_window.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "coach/drill_schedule.h"
#include "qt/game_table.h"
#include "rules/auction.h"
#include "rules/card_text.h"
#include "rules/seats.h"

namespace vantrel {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// "14.2": a figure as the review shows it.
QString Figure(double value) { return QString::number(value, 'f', 1); }

// How many drills a day brings at most.
constexpr std::size_t kDrillsADay = 20;

}  // namespace

DrillsWindow::DrillsWindow(GameHistory& history, std::function<std::int64_t()> today, QWidget* parent)
    : PracticeWindow(parent, QSize(1180, 700)), history_(history), today_(std::move(today)) {
    setWindowTitle(tr("Drills"));
    setAccessibleName(tr("Drills"));
    setAttribute(Qt::WA_DeleteOnClose);

    table_ = new GameTable(this);
    // Room for the side column on a 960-point-wide screen (1920 at twice the scale).
    table_->setMinimumSize(420, 320);
    count_ = new QLabel(this);
    count_->setAccessibleName(tr("Today's drills"));
    auto* biddingTitle = new QLabel(tr("Bidding"), this);
    bidding_ = new QListWidget(this);
    bidding_->setAccessibleName(tr("The bidding, with each call's reason"));
    bidding_->setWordWrap(true);
    biddingTitle->setBuddy(bidding_);
    question_ = new QLabel(this);
    question_->setAccessibleName(tr("The question"));
    QFont big = question_->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    question_->setFont(big);
    question_->setWordWrap(true);  // a long question wraps rather than widening the window
    choicesBox_ = new QWidget(this);
    choicesBox_->setAccessibleName(tr("The calls to choose from"));
    auto* choiceRow = new QHBoxLayout(choicesBox_);
    choiceRow->setContentsMargins(0, 0, 0, 0);
    // At most the pass, the least bid and three jumps; or the four suits.
    for (int b = 0; b < 5; ++b) {
        auto* button = new QPushButton(choicesBox_);
        choiceRow->addWidget(button);
        choiceButtons_.push_back(button);
        connect(button, &QPushButton::clicked, this, [this, b] {
            if (!shown_ || static_cast<std::size_t>(b) >= shown_->figures.size()) return;
            AnswerCall(ChoiceOf(shown_->question, shown_->figures[static_cast<std::size_t>(b)]));
        });
    }
    choiceRow->addStretch(1);
    grade_ = new QLabel(this);
    grade_->setWordWrap(true);
    grade_->setAccessibleName(tr("The grade"));
    grade_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    skippedLabel_ = new QLabel(this);
    skippedLabel_->setWordWrap(true);
    skippedLabel_->setAccessibleName(tr("Drills skipped"));

    next_ = new QPushButton(tr("&Next"), this);
    next_->setAccessibleName(tr("Next drill"));
    connect(next_, &QPushButton::clicked, this, &DrillsWindow::Next);
    review_ = new QPushButton(tr("&Open in Review"), this);
    review_->setAccessibleName(tr("Open the drill's hand in the review"));
    connect(review_, &QPushButton::clicked, this, [this] {
        if (shown_) emit reviewRequested(shown_->game, shown_->hand);
    });
    theme_ = new QLabel(this);
    theme_->setWordWrap(true);
    theme_->setAccessibleName(tr("The drill's theme"));
    // New drills on fresh deals, by theme, made in the background.
    themes_ = new QComboBox(this);
    for (const DrillTheme theme : kDrillThemes) themes_->addItem(Q(std::string(ThemeName(theme))));
    themes_->setAccessibleName(tr("Theme of the drills to make"));
    themes_->setToolTip(Q(std::string(ThemeRule(kDrillThemes[0]))));
    connect(themes_, &QComboBox::currentIndexChanged, this, [this](int index) {
        themes_->setToolTip(Q(std::string(ThemeRule(kDrillThemes[static_cast<std::size_t>(std::max(0, index))]))));
    });
    make_ = new QPushButton(tr("&Make %1 Drills").arg(kDrillsMade), this);
    make_->setAccessibleName(tr("Make drills of the chosen theme"));
    connect(make_, &QPushButton::clicked, this, &DrillsWindow::MakeDrills);
    cancel_ = new QPushButton(tr("&Cancel"), this);
    cancel_->setAccessibleName(tr("Stop making drills"));
    cancel_->setEnabled(false);
    connect(cancel_, &QPushButton::clicked, this, &DrillsWindow::CancelMaking);
    progress_ = new QProgressBar(this);
    progress_->setRange(0, kDrillsMade);
    progress_->setAccessibleName(tr("Drills made"));
    progress_->setVisible(false);
    poll_ = new QTimer(this);
    poll_->setInterval(100);
    connect(poll_, &QTimer::timeout, this, [this] {
        progress_->setValue(found_.load());
        if (!job_.Collect()) return;
        poll_->stop();
        progress_->setVisible(false);
        make_->setEnabled(true);
        cancel_->setEnabled(false);
        const bool kept = made_.empty() || history_.KeepThemeDrills(made_);
        made_.clear();
        Reload();
        if (!kept) {
            skipped_ << tr("The drills made could not be kept: %1").arg(Q(history_.Problem()));
            ShowPosition(answered_);
        }
    });
    auto* close = new QPushButton(tr("Close"), this);
    close->setAccessibleName(tr("Close the drills"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(table_, &GameTable::cardClicked, this, [this](int, int kind) { Answer(kind); });

    auto* side = new QVBoxLayout;
    auto* making = new QHBoxLayout;
    making->addWidget(make_);
    making->addWidget(cancel_);
    making->addStretch(1);
    auto* themeRow = new QHBoxLayout;
    auto* themeTitle = new QLabel(tr("&Theme:"), this);
    themeTitle->setBuddy(themes_);
    themeRow->addWidget(themeTitle);
    themeRow->addWidget(themes_, 1);
    side->addLayout(themeRow);
    side->addLayout(making);
    side->addWidget(progress_);
    side->addWidget(count_);
    side->addWidget(theme_);
    side->addWidget(biddingTitle);
    side->addWidget(bidding_, 1);
    side->addWidget(question_);
    side->addWidget(choicesBox_);
    side->addWidget(grade_);
    side->addWidget(skippedLabel_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(next_);
    buttons->addWidget(review_);
    buttons->addStretch(1);
    buttons->addWidget(close);
    side->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(table_, 3);
    layout->addLayout(side, 2);
    Reload();
}

void DrillsWindow::Reload() {
    const std::vector<KeptDrill> drills = history_.Drills();
    std::vector<DrillEntry> entries;
    entries.reserve(drills.size());
    for (const KeptDrill& drill : drills)
        entries.push_back({drill.id, drill.generated ? DrillSource::Generated : DrillSource::OwnHand, drill.schedule});
    queue_.clear();
    for (const std::int64_t id : TodaysDrills(entries, today_(), kDrillsADay))
        for (const KeptDrill& drill : drills)
            if (drill.id == id) queue_.push_back(drill);
    done_ = 0;
    skipped_.clear();
    ShowNext();
}

bool DrillsWindow::ShowNext() {
    shown_.reset();
    game_.reset();
    answered_ = false;
    while (!queue_.empty()) {
        const KeptDrill drill = queue_.front();
        queue_.erase(queue_.begin());
        std::string why = "its game is no longer kept.";
        std::optional<Game> game;
        if (drill.generated) {
            game = GameOf(*drill.generated);
        } else if (const std::optional<GameSummary> summary = history_.Summary(drill.game)) {
            game = drill.question == DrillQuestion::Play
                       ? GameAtCard(summary->settings, summary->seed, history_.Moves(drill.game), drill.hand, drill.at,
                                    drill.seat, drill.played, &why)
                       : GameAtCall(summary->settings, summary->seed, history_.Moves(drill.game), drill.hand, drill.at,
                                    drill.seat, drill.played, &why);
        }
        if (!game) {
            // Kept as it is; the others go on.
            skipped_ << tr("Drill %1 skipped: %2").arg(drill.id).arg(Q(why));
            continue;
        }
        shown_ = drill;
        game_ = std::move(game);
        break;
    }
    ShowPosition(false);
    return shown_.has_value();
}

void DrillsWindow::ShowPosition(bool answered) {
    answered_ = answered;
    const std::size_t left = queue_.size() + (shown_ ? 1 : 0);
    count_->setText(left == 0 ? tr("No drills are due today. Review a played hand to make more.")
                              : tr("Today's drills: %1 to go, %2 answered").arg(left - (answered ? 1 : 0)).arg(done_));
    skippedLabel_->setText(skipped_.join(QLatin1Char('\n')));
    skippedLabel_->setVisible(!skipped_.isEmpty());
    next_->setEnabled(!queue_.empty());
    review_->setEnabled(shown_.has_value() && !shown_->generated);
    theme_->setText(shown_ && shown_->generated
                        ? tr("%1: %2.").arg(Q(shown_->theme)).arg(Q(std::string(ThemeRule(shown_->generated->theme))))
                    : shown_ ? tr("From your own hand %1.").arg(shown_->hand + 1)
                             : QString());
    bidding_->clear();
    if (!shown_ || !game_) {
        question_->clear();
        grade_->clear();
        table_->setVisible(false);
        return;
    }
    table_->setVisible(true);
    const Game& game = *game_;
    GameTable::Look look;
    // The seat's own cards, playable until answered; every hand once answered.
    look.userSeats = answered ? 0u : 1u << shown_->seat;
    look.showAll = answered;
    table_->Show(game, look);
    bidding_->addItem(
        game.Rules().dealerStuck
            ? tr("%1 deals; standing bid %2").arg(Q(game.NameOf(game.Dealer()))).arg(game.Rules().standingBid)
            : tr("%1 deals").arg(Q(game.NameOf(game.Dealer()))));
    const auto& calls = game.CurrentAuction().Calls();
    for (std::size_t i = 0; i < calls.size(); ++i) {
        QString line = Q(game.NameOf(calls[i].seat)) + QStringLiteral(": ") +
                       (calls[i].bid > 0 ? QString::number(calls[i].bid) : tr("pass"));
        if (i < game.CallReasons().size() && !game.CallReasons()[i].empty())
            line += QStringLiteral(" \u2014 ") + Q(game.CallReasons()[i]);
        bidding_->addItem(line);
    }
    const bool play = shown_->question == DrillQuestion::Play;
    if (play || shown_->question == DrillQuestion::Pass)
        bidding_->addItem(tr("Trump: %1").arg(Q(std::string(kSuitNames[static_cast<std::size_t>(game.Trump() & 3)]))));
    ShowChoices(answered);
    // The keys start on the seat's first card: arrows move along the hand, Enter plays.
    if (!answered && play)
        for (GameCard* card : table_->Cards())
            if (!card->isHidden()) {  // laid out, though the window may not be shown yet
                card->setFocus();
                break;
            }
    const QString seat = Q(game.NameOf(shown_->seat));
    question_->setText(answered ? QString()
                       : play   ? tr("%1 to play. %2").arg(seat, Q(std::string(kCardQuestion)))
                       : shown_->question == DrillQuestion::Call
                           ? tr("%1 to call. %2").arg(seat, Q(std::string(kCallQuestion)))
                       : shown_->question == DrillQuestion::Pass ? tr("%1 passes %2 cards to partner. %3")
                                                                       .arg(seat)
                                                                       .arg(game.Rules().passCards)
                                                                       .arg(Q(std::string(kPassQuestion)))
                                                                 : tr("%1 won the auction at %2. %3")
                                                                       .arg(seat)
                                                                       .arg(game.CurrentAuction().HighBid())
                                                                       .arg(Q(std::string(kTrumpQuestion))));
    if (answered) return;
    if (shown_->generated) {
        grade_->clear();
    } else if (play) {
        grade_->setText(tr("At the table %1 was played: a %2.")
                            .arg(Q(KindText(shown_->played)), Q(std::string(LabelText(shown_->label)))));
    } else {
        const DrillGrade made = GradeCall(shown_->question, shown_->figures, shown_->played);
        grade_->setText(tr("At the table the call was %1: %2 of the expected margin given away.")
                            .arg(Q(CallText(shown_->played)))
                            .arg(Figure(made.givenAway)));
    }
}

void DrillsWindow::ShowChoices(bool answered) {
    const bool asked = shown_ && shown_->question != DrillQuestion::Play;
    choicesBox_->setVisible(asked);
    if (!asked) return;
    QPushButton* first = nullptr;
    for (std::size_t b = 0; b < choiceButtons_.size(); ++b) {
        QPushButton* button = choiceButtons_[b];
        const bool used = b < shown_->figures.size();
        button->setVisible(used);
        if (!used) continue;
        const QString text = Q(ChoiceText(shown_->question, shown_->figures[b]));
        button->setText(text);
        button->setAccessibleName(shown_->question == DrillQuestion::Trump  ? tr("Name %1 as trump").arg(text)
                                  : shown_->question == DrillQuestion::Pass ? tr("Pass %1").arg(text)
                                                                            : tr("Call: %1").arg(text));
        button->setEnabled(!answered);
        if (first == nullptr) first = button;
    }
    // The keys start on the first choice: Tab moves along, Space or Enter answers.
    if (!answered && first != nullptr) first->setFocus();
}

QStringList DrillsWindow::choices() const {
    QStringList texts;
    for (QPushButton* button : choiceButtons_)
        if (!button->isHidden()) texts << button->text();
    return texts;
}

void DrillsWindow::ShowGrade(const DrillGrade& graded, const QString& figures, int interval) {
    QString text =
        (graded.best ? tr("Right. ") : tr("Not the best. ")) + Q(graded.text) + QStringLiteral("\n") + figures;
    text += QStringLiteral("\n") + (interval == 0   ? tr("It comes back later today.")
                                    : interval == 1 ? tr("It comes back tomorrow.")
                                                    : tr("It comes back in %1 days.").arg(interval));
    grade_->setText(text);
}

std::optional<DrillSchedule> DrillsWindow::KeepAnswer(const DrillGrade& graded, int choice) {
    if (!graded.legal) {
        grade_->setText(Q(graded.text));
        return std::nullopt;
    }
    const std::int64_t today = today_();
    const DrillSchedule next = NextSchedule(shown_->schedule, graded.best, today);
    if (!history_.AnswerDrill(shown_->id, choice, graded.best, graded.givenAway, today)) {
        grade_->setText(tr("The answer could not be kept: %1").arg(Q(history_.Problem())));
        return std::nullopt;
    }
    ++done_;
    return next;
}

bool DrillsWindow::AnswerCall(int choice) {
    if (!shown_ || !game_ || answered_ || shown_->question == DrillQuestion::Play) return false;
    const DrillGrade graded = GradeCall(shown_->question, shown_->figures, choice);
    const std::optional<DrillSchedule> next = KeepAnswer(graded, choice);
    if (!next) return false;
    // Every choice's figure, the best first.
    std::vector<CallFigure> figures = shown_->figures;
    std::stable_sort(figures.begin(), figures.end(),
                     [](const CallFigure& a, const CallFigure& b) { return a.margin > b.margin; });
    QStringList lines;
    for (const CallFigure& figure : figures) {
        QString line = Q(ChoiceText(shown_->question, figure));
        if (shown_->question == DrillQuestion::Call && figure.trump >= 0)
            line += tr(" in %1").arg(Q(std::string(kSuitNames[static_cast<std::size_t>(figure.trump & 3)])));
        lines << tr("%1 %2%3").arg(line, figure.margin > 0 ? QStringLiteral("+") : QString(), Figure(figure.margin));
    }
    ShowGrade(graded, tr("Expected margin over the other side, each choice: %1.").arg(lines.join(QStringLiteral(", "))),
              next->interval);
    if (shown_->generated) {
        const auto rule = std::find_if(shown_->figures.begin(), shown_->figures.end(), [this](const CallFigure& f) {
            return ChoiceOf(shown_->question, f) == shown_->played;
        });
        if (rule != shown_->figures.end())
            grade_->setText(grade_->text() + QStringLiteral("\n") +
                            tr("The rule player's choice: %1, %2%3.")
                                .arg(Q(ChoiceText(shown_->question, *rule)))
                                .arg(rule->margin > 0 ? QStringLiteral("+") : QString())
                                .arg(Figure(rule->margin)));
    }
    ShowPosition(true);
    return true;
}

bool DrillsWindow::Answer(int kind) {
    if (!shown_ || !game_ || answered_ || shown_->question != DrillQuestion::Play) return false;
    CardDrill drill;
    drill.seat = shown_->seat;
    drill.played = shown_->played;
    drill.best = shown_->best;
    drill.expected = shown_->expected;
    drill.label = shown_->label;
    const DrillGrade graded = GradeCard(drill, kind);
    const std::optional<DrillSchedule> next = KeepAnswer(graded, kind);
    if (!next) return false;
    // Every legal card's figure, the best first.
    std::vector<int> cards;
    for (int k = 0; k < kCardKinds; ++k)
        if (drill.expected[static_cast<std::size_t>(k)] >= 0) cards.push_back(k);
    std::stable_sort(cards.begin(), cards.end(), [&](int a, int b) {
        return drill.expected[static_cast<std::size_t>(a)] > drill.expected[static_cast<std::size_t>(b)];
    });
    QStringList figures;
    for (const int k : cards)
        figures << tr("%1 %2").arg(Q(KindText(k)), Figure(drill.expected[static_cast<std::size_t>(k)]));
    ShowGrade(graded, tr("Expected card points for the side, each card: %1.").arg(figures.join(QStringLiteral(", "))),
              next->interval);
    QString text = grade_->text();
    if (shown_->generated)
        text += QStringLiteral("\n") + tr("The rule player's card: %1, %2.")
                                           .arg(Q(KindText(shown_->played)))
                                           .arg(Figure(drill.expected[static_cast<std::size_t>(shown_->played)]));
    // The par, with every hand seen, as the review worked it out.
    if (const std::optional<HandReview> review =
            shown_->generated ? std::nullopt : history_.KeptReview(shown_->game, shown_->hand);
        review && !review->cards.empty()) {
        // A trick holds a card of each seat: three where the bidder plays alone.
        const bool three = game_ && game_->Seats() == 3;
        const std::size_t first = (three ? 3 : 4) * static_cast<std::size_t>(review->cards.front().trick);
        if (shown_->at >= first && shown_->at - first < review->cards.size()) {
            const ReviewedCard& card = review->cards[shown_->at - first];
            text +=
                QStringLiteral("\n") + (three ? tr("Par for the bidder with every hand seen: %1%2 before the card.")
                                              : tr("Par for South-North with every hand seen: %1%2 before the card."))
                                           .arg(card.parProved ? QString() : tr("about "))
                                           .arg(card.parBefore);
        }
    }
    grade_->setText(text);
    ShowPosition(true);
    return true;
}

void DrillsWindow::Next() { ShowNext(); }

void DrillsWindow::MakeDrills() {
    if (job_.Running()) return;
    const DrillTheme theme = kDrillThemes[static_cast<std::size_t>(std::max(0, themes_->currentIndex()))];
    found_.store(0);
    made_.clear();
    // Each batch of drills comes from deals of its own: the day, the drills
    // kept so far and the batches made in this window tell them apart.
    const std::uint64_t seed = (static_cast<std::uint64_t>(today_()) << 32) ^
                               (static_cast<std::uint64_t>(history_.Drills().size()) << 8) ^ madeSeed_++;
    progress_->setValue(0);
    progress_->setVisible(true);
    make_->setEnabled(false);
    cancel_->setEnabled(true);
    job_.Start([this, theme, seed](const std::atomic<bool>& cancel) {
        std::vector<ThemeDrill> drills =
            MakeThemeDrills(theme, kDrillsMade, seed, 100, 0, &cancel, [this](int found) { found_.store(found); });
        if (!cancel.load()) made_ = std::move(drills);
    });
    poll_->start();
}

void DrillsWindow::CancelMaking() {
    if (!job_.Running()) return;
    job_.CancelAndWait();
    made_.clear();
}

QString DrillsWindow::question() const { return question_->text(); }
QString DrillsWindow::grade() const { return grade_->text(); }
QString DrillsWindow::skipped() const { return skippedLabel_->text(); }

}  // namespace vantrel
