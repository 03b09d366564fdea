#include "qt/history_window.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QSplitter>
#include <QStyleOption>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <bit>
#include <cmath>
#include <fstream>
#include <map>

#include "game/game_driver.h"
#include "game/game_texts.h"
#include "qt/review_window.h"
#include "rules/auction.h"
#include "rules/seats.h"

namespace vantrel {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// A cell that sorts by its number where it has one.
QTableWidgetItem* Cell(const QVariant& value) {
    auto* item = new QTableWidgetItem;
    item->setData(Qt::DisplayRole, value);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

// Qt draws a descending column's arrow pointing up; the games listed newest
// first show an arrow pointing down, as the order reads.
class SortArrowStyle : public QProxyStyle {
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (const auto* header = qstyleoption_cast<const QStyleOptionHeader*>(option);
            element == PE_IndicatorHeaderArrow && header != nullptr) {
            QStyleOptionHeader flipped(*header);
            flipped.sortIndicator = header->sortIndicator == QStyleOptionHeader::SortUp ? QStyleOptionHeader::SortDown
                                    : header->sortIndicator == QStyleOptionHeader::SortDown ? QStyleOptionHeader::SortUp
                                                                                            : header->sortIndicator;
            QProxyStyle::drawPrimitive(element, &flipped, painter, widget);
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
};

QTableWidget* Table(const QStringList& headings, const QString& name, QWidget* parent) {
    auto* table = new QTableWidget(0, static_cast<int>(headings.size()), parent);
    table->setObjectName(name);
    table->setAccessibleName(name);
    table->setHorizontalHeaderLabels(headings);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

QString SeatsText(const GameSettings& settings) {
    static constexpr std::array<const char*, 4> kPlayers{"You", "Easy", "Normal", "Strong"};
    QStringList seats;
    // Where three play: South, West and East, the third seat's.
    const int players = settings.rules.form.seats == 3 ? 3 : 4;
    for (int seat = 0; seat < players; ++seat)
        seats << QString::fromStdString(SeatName(seat, players).substr(0, 1)) + QStringLiteral(" ") +
                     QString::fromLatin1(
                         kPlayers[static_cast<std::size_t>(settings.seats[static_cast<std::size_t>(seat)])]);
    return seats.join(QStringLiteral(", "));
}

QString ResultText(const GameSummary& game) {
    if (!game.finished) return game.abandoned ? QObject::tr("abandoned") : QObject::tr("unfinished");
    return game.winner == game.userSide ? QObject::tr("won") : QObject::tr("lost");
}

}  // namespace

HistoryWindow::HistoryWindow(GameHistory& history, QWidget* parent)
    : PracticeWindow(parent, QSize(1100, 720)), history_(history) {
    setWindowTitle(tr("Game History"));
    setObjectName(QStringLiteral("historyWindow"));
    auto* layout = new QVBoxLayout(this);

    // The filter, for the games and the statistics alike.
    auto* filter = new QHBoxLayout;
    auto date = [&](const QString& caption, QCheckBox*& on, QDateEdit*& edit, const QString& name) {
        on = new QCheckBox(caption, this);
        on->setObjectName(name + QStringLiteral("On"));
        edit = new QDateEdit(QDate::currentDate(), this);
        edit->setObjectName(name);
        edit->setAccessibleName(caption);
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        edit->setEnabled(false);
        connect(on, &QCheckBox::toggled, edit, &QWidget::setEnabled);
        connect(on, &QCheckBox::toggled, this, &HistoryWindow::Reload);
        connect(edit, &QDateEdit::dateChanged, this, &HistoryWindow::Reload);
        filter->addWidget(on);
        filter->addWidget(edit);
    };
    date(tr("&From"), fromOn_, from_, QStringLiteral("from"));
    date(tr("&To"), toOn_, to_, QStringLiteral("to"));
    deck_ = new QComboBox(this);
    deck_->setObjectName(QStringLiteral("deck"));
    deck_->setAccessibleName(tr("Form of the game"));
    for (const QString& text : {tr("Any form"), tr("48 cards"), tr("80 cards"), tr("Three-handed")})
        deck_->addItem(text);
    rules_ = new QComboBox(this);
    rules_->setObjectName(QStringLiteral("rules"));
    rules_->setAccessibleName(tr("Rules"));
    rules_->addItem(tr("Any rules"), QString());
    for (const RuleSet& preset : {RuleSet::Standard(), RuleSet::Designed(), RuleSet::DoubleDeck()})
        rules_->addItem(Q(preset.Name()), Q(preset.Name()));
    RuleSet changed = RuleSet::Standard();
    changed.passCards = 4;
    rules_->addItem(Q(changed.Name()), Q(changed.Name()));
    result_ = new QComboBox(this);
    result_->setObjectName(QStringLiteral("result"));
    result_->setAccessibleName(tr("Result"));
    for (const QString& text : {tr("Any result"), tr("Won"), tr("Lost"), tr("Unfinished")}) result_->addItem(text);
    connect(deck_, &QComboBox::currentIndexChanged, this, &HistoryWindow::Reload);
    connect(rules_, &QComboBox::currentIndexChanged, this, &HistoryWindow::Reload);
    connect(result_, &QComboBox::currentIndexChanged, this, &HistoryWindow::Reload);
    filter->addWidget(deck_);
    filter->addWidget(rules_);
    filter->addWidget(result_);
    filter->addStretch();
    auto* exportButton = new QPushButton(tr("&Export\u2026"), this);
    exportButton->setObjectName(QStringLiteral("export"));
    auto* importButton = new QPushButton(tr("&Import\u2026"), this);
    importButton->setObjectName(QStringLiteral("import"));
    filter->addWidget(exportButton);
    filter->addWidget(importButton);
    layout->addLayout(filter);

    tabs_ = new QTabWidget(this);
    layout->addWidget(tabs_, 1);

    // The games, and the chosen game's sheet below them.
    auto* gamesPage = new QWidget(tabs_);
    auto* gamesLayout = new QVBoxLayout(gamesPage);
    auto* split = new QSplitter(Qt::Vertical, gamesPage);
    games_ = Table({tr("Started"), tr("Rules"), tr("Seats"), tr("Hands"), tr("Yours"), tr("Theirs"), tr("Result")},
                   QStringLiteral("games"), split);
    games_->setSortingEnabled(true);
    games_->sortByColumn(0, Qt::DescendingOrder);  // the newest first
    auto* arrows = new SortArrowStyle;
    arrows->setParent(this);
    games_->horizontalHeader()->setStyle(arrows);
    hands_ = Table({tr("Hand"), tr("Dealer"), tr("Declarer"), tr("Bid"), tr("Trump"), tr("Meld"), tr("Card points"),
                    tr("Score"), tr("Totals"), tr("Result"), tr("Par")},
                   QStringLiteral("hands"), split);
    split->addWidget(games_);
    split->addWidget(hands_);
    gamesLayout->addWidget(split, 1);
    auto* buttons = new QHBoxLayout;
    resume_ = new QPushButton(tr("&Resume"), gamesPage);
    resume_->setObjectName(QStringLiteral("resume"));
    replay_ = new QPushButton(tr("Replay as &Practice"), gamesPage);
    replay_->setObjectName(QStringLiteral("replay"));
    review_ = new QPushButton(tr("Re&view Hand"), gamesPage);
    review_->setObjectName(QStringLiteral("review"));
    note_ = new QLabel(gamesPage);
    note_->setObjectName(QStringLiteral("note"));
    buttons->addWidget(resume_);
    buttons->addWidget(replay_);
    buttons->addWidget(review_);
    buttons->addWidget(note_, 1);
    gamesLayout->addLayout(buttons);
    tabs_->addTab(gamesPage, tr("&Games"));

    // The statistics: the figures, the months and the bids.
    auto* statsPage = new QWidget(tabs_);
    auto* statsLayout = new QHBoxLayout(statsPage);
    figures_ = Table({tr("Figure"), tr("Yours")}, QStringLiteral("figures"), statsPage);
    figures_->setMinimumWidth(440);
    figures_->setMaximumWidth(520);
    statsLayout->addWidget(figures_);
    auto* charts = new QVBoxLayout;
    for (QChartView** view : {&months_, &bids_}) {
        *view = new QChartView(new QChart, statsPage);
        (*view)->setRenderHint(QPainter::Antialiasing);
        // Two charts above each other fit a 1280x800 screen, or 1920x1080 at
        // twice the scale (960x540), with the window's frame.
        (*view)->setMinimumHeight(150);
        charts->addWidget(*view, 1);
    }
    months_->setObjectName(QStringLiteral("monthsChart"));
    months_->setAccessibleName(tr("Bids made and card points by month"));
    bids_->setObjectName(QStringLiteral("bidsChart"));
    bids_->setAccessibleName(tr("Your bids against the simulation's best bids"));
    statsLayout->addLayout(charts, 1);
    tabs_->addTab(statsPage, tr("&Statistics"));

    // Progress: the drills answered, and the card points given away month by month.
    auto* progressPage = new QWidget(tabs_);
    auto* progressLayout = new QHBoxLayout(progressPage);
    progress_ = Table({tr("Drills"), tr("Figure")}, QStringLiteral("progress"), progressPage);
    progress_->setMinimumWidth(440);
    progress_->setMaximumWidth(520);
    progressLayout->addWidget(progress_);
    auto* progressCharts = new QVBoxLayout;
    for (QChartView** view : {&lost_, &answeredBest_}) {
        *view = new QChartView(new QChart, progressPage);
        (*view)->setRenderHint(QPainter::Antialiasing);
        (*view)->setMinimumHeight(150);
        progressCharts->addWidget(*view, 1);
    }
    lost_->setObjectName(QStringLiteral("lostChart"));
    lost_->setAccessibleName(tr("Card points given away by month"));
    answeredBest_->setObjectName(QStringLiteral("answeredBestChart"));
    answeredBest_->setAccessibleName(tr("Drills answered best by month"));
    progressLayout->addLayout(progressCharts, 1);
    tabs_->addTab(progressPage, tr("Pr&ogress"));  // Alt+P is Replay as Practice

    connect(games_, &QTableWidget::itemSelectionChanged, this, &HistoryWindow::ShowHands);
    connect(resume_, &QPushButton::clicked, this, [this] {
        if (const std::optional<std::int64_t> game = ChosenGame()) emit resumeRequested(*game);
    });
    connect(replay_, &QPushButton::clicked, this, [this] {
        const std::optional<std::int64_t> game = ChosenGame();
        const int row = hands_->currentRow();
        if (!game || row < 0) {
            note_->setText(tr("Choose a hand of the game to deal it again."));
            return;
        }
        const std::vector<HandSummary> hands = history_.Hands(*game);
        if (static_cast<std::size_t>(row) < hands.size())
            emit replayRequested(Q(hands[static_cast<std::size_t>(row)].line.dealCode));
    });
    connect(review_, &QPushButton::clicked, this, [this] {
        const std::optional<std::int64_t> game = ChosenGame();
        if (!game || hands_->currentRow() < 0) {
            note_->setText(tr("Choose a hand of the game to review it."));
            return;
        }
        ReviewHand(*game, hands_->currentRow());
    });
    connect(exportButton, &QPushButton::clicked, this, [this] {
        // The type chosen in the dialog decides the format, whatever the name typed.
        const QString csv = tr("CSV, a line a hand (*.csv)");
        const QString lines = tr("JSON lines, a game a line, to import again (*.jsonl)");
        QString chosen = csv;
        const QString path = QFileDialog::getSaveFileName(this, tr("Export the Game History"), QString(),
                                                          csv + QStringLiteral(";;") + lines, &chosen);
        if (path.isEmpty()) return;
        QString problem;
        if (const std::optional<QString> said =
                Export(path, chosen == lines ? Format::JsonLines : Format::Csv, &problem))
            note_->setText(*said);
        else
            QMessageBox::warning(this, tr("Export"), problem);
    });
    connect(importButton, &QPushButton::clicked, this, [this] {
        const QString path =
            QFileDialog::getOpenFileName(this, tr("Import Games"), QString(), tr("JSON lines (*.jsonl *.json)"));
        if (!path.isEmpty()) QMessageBox::information(this, tr("Import"), Import(path));
    });
    Reload();
}

HistoryFilter HistoryWindow::Filter() const {
    HistoryFilter filter;
    if (fromOn_->isChecked()) filter.from = from_->date().toString(Qt::ISODate).toStdString();
    if (toOn_->isChecked()) filter.to = to_->date().toString(Qt::ISODate).toStdString();
    filter.form = static_cast<HistoryFilter::Form>(std::max(0, deck_->currentIndex()));
    filter.rules = rules_->currentData().toString().toStdString();
    filter.result = static_cast<HistoryFilter::Result>(std::max(0, result_->currentIndex()));
    return filter;
}

void HistoryWindow::Reload() {
    ShowGames();
    ShowStatistics();
}

std::optional<std::int64_t> HistoryWindow::ChosenGame() const {
    const int row = games_->currentRow();
    if (row < 0 || games_->item(row, 0) == nullptr) return std::nullopt;
    return games_->item(row, 0)->data(Qt::UserRole).toLongLong();
}

void HistoryWindow::ShowGames() {
    shown_ = history_.Games(Filter());
    games_->setSortingEnabled(false);
    games_->setRowCount(static_cast<int>(shown_.size()));
    for (int row = 0; row < static_cast<int>(shown_.size()); ++row) {
        const GameSummary& game = shown_[static_cast<std::size_t>(row)];
        const auto side = static_cast<std::size_t>(game.userSide & 1);
        QTableWidgetItem* started = Cell(Q(game.started).replace(QLatin1Char('T'), QLatin1Char(' ')));
        started->setData(Qt::UserRole, static_cast<qlonglong>(game.id));
        games_->setItem(row, 0, started);
        games_->setItem(row, 1, Cell(Q(game.settings.rules.Name())));
        games_->setItem(row, 2, Cell(SeatsText(game.settings)));
        games_->setItem(row, 3, Cell(game.hands));
        // Where three play, the user's total and then each other player's.
        if (game.settings.rules.form.seats == 3) {
            games_->setItem(row, 4, Cell(game.totals[0]));
            games_->setItem(row, 5, Cell(tr("West %1, East %2").arg(game.totals[1]).arg(game.totals[2])));
        } else {
            games_->setItem(row, 4, Cell(game.totals[side]));
            games_->setItem(row, 5, Cell(game.totals[1 - side]));
        }
        games_->setItem(row, 6, Cell(ResultText(game)));
    }
    games_->setSortingEnabled(true);
    if (!shown_.empty() && games_->currentRow() < 0) games_->selectRow(0);
    note_->setText(shown_.empty() ? tr("No games kept under this filter.") : QString());
    ShowHands();
}

void HistoryWindow::ShowHands() {
    const std::optional<std::int64_t> game = ChosenGame();
    const std::vector<HandSummary> hands = game ? history_.Hands(*game) : std::vector<HandSummary>{};
    std::optional<GameSummary> summary = game ? history_.Summary(*game) : std::nullopt;
    const std::size_t side = summary ? static_cast<std::size_t>(summary->userSide & 1) : 0;
    const int players = summary && summary->settings.rules.form.seats == 3 ? 3 : 4;
    hands_->setRowCount(static_cast<int>(hands.size()));
    // The user's side first; where three play, South's, West's and East's.
    auto pair = [side, players](const std::array<int, 3>& values) {
        return players == 3 ? QStringLiteral("%1 / %2 / %3").arg(values[0]).arg(values[1]).arg(values[2])
                            : QStringLiteral("%1 / %2").arg(values[side]).arg(values[1 - side]);
    };
    for (int row = 0; row < static_cast<int>(hands.size()); ++row) {
        const HandSummary& hand = hands[static_cast<std::size_t>(row)];
        const SheetLine& line = hand.line;
        hands_->setItem(row, 0, Cell(hand.number + 1));
        hands_->setItem(row, 1, Cell(Q(SeatName(line.dealer, players))));
        hands_->setItem(row, 2, Cell(Q(SeatName(line.declarer, players))));
        hands_->setItem(row, 3, Cell(line.bid));
        hands_->setItem(
            row, 4,
            Cell(line.trump >= 0 && line.trump < 4 ? Q(std::string(kSuitNames[static_cast<std::size_t>(line.trump)]))
                                                   : QString()));
        hands_->setItem(row, 5, Cell(pair(line.meld)));
        hands_->setItem(row, 6, Cell(pair(line.cardPoints)));
        hands_->setItem(row, 7, Cell(pair(line.score)));
        hands_->setItem(row, 8, Cell(pair(line.totals)));
        hands_->setItem(row, 9, Cell(Q(line.result) + (line.practice ? tr(" (practice)") : QString())));
        hands_->setItem(row, 10, Cell(hand.par ? QVariant(*hand.par) : QVariant(QString())));
    }
    resume_->setEnabled(summary && !summary->finished);
    replay_->setEnabled(!hands.empty());
    review_->setEnabled(!hands.empty());
}

void HistoryWindow::ShowProgress() {
    const HistoryFilter filter = Filter();
    const HistoryStatistics stats = history_.Statistics(filter);
    const DrillRecord drills = history_.DrillAnswers(filter);
    const QString none = QStringLiteral("\u2014");
    auto bestShare = [&](const DrillTally& tally) {
        return tally.answers > 0 ? QStringLiteral("%1 (%2%)").arg(tally.best).arg(100 * tally.best / tally.answers)
                                 : none;
    };
    auto givenAway = [&](const DrillTally& tally) {
        return tally.answers > 0 ? QString::number(tally.GivenAwayADrill(), 'f', 1) : none;
    };
    const DrillTally& overall = drills.overall;
    std::vector<std::pair<QString, QString>> rows{
        {tr("Drills from your hands"), QString::number(drills.drills)},
        {tr("Answers"), QString::number(overall.answers)},
        {tr("Answered best"), bestShare(overall)},
        {tr("Card points given away a drill"), givenAway(overall)},
        {tr("Hands reviewed"), QString::number(stats.reviewedHands)},
    };
    // Each theme: its drills, their answers, those best and the points given away.
    for (const DrillRecord::Theme& theme : drills.themes)
        rows.emplace_back(theme.theme.empty() ? tr("Your own hands") : Q(theme.theme),
                          tr("%1 drills, %2 answered, best %3, %4 a drill given away")
                              .arg(theme.drills)
                              .arg(theme.tally.answers)
                              .arg(bestShare(theme.tally), givenAway(theme.tally)));
    progress_->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        progress_->setItem(row, 0, Cell(rows[static_cast<std::size_t>(row)].first));
        progress_->setItem(row, 1, Cell(rows[static_cast<std::size_t>(row)].second));
    }

    // The months of either record, in order.
    std::map<QString, std::pair<const HistoryStatistics::Month*, const DrillRecord::Month*>> months;
    for (const HistoryStatistics::Month& month : stats.months)
        if (month.reviewed > 0) months[Q(month.month)].first = &month;
    for (const DrillRecord::Month& month : drills.months) months[Q(month.month)].second = &month;
    auto* lost = new QLineSeries;
    lost->setName(tr("Expected card points lost a reviewed hand"));
    auto* given = new QLineSeries;
    given->setName(tr("Given away a drill"));
    auto* best = new QLineSeries;
    best->setName(tr("Drills answered best (%)"));
    QStringList names;
    double highest = 10;
    for (const auto& [name, month] : months) {
        const auto x = static_cast<double>(names.size());
        names << name;
        if (month.first != nullptr) {
            lost->append(x, month.first->lostPerReviewedHand);
            highest = std::max(highest, month.first->lostPerReviewedHand);
        }
        if (month.second != nullptr && month.second->tally.answers > 0) {
            const DrillTally& tally = month.second->tally;
            given->append(x, tally.GivenAwayADrill());
            highest = std::max(highest, tally.GivenAwayADrill());
            best->append(x, 100.0 * tally.best / tally.answers);
        }
    }
    auto chartOf = [&](const QString& title, const std::vector<QLineSeries*>& series, double top) {
        auto* chart = new QChart;
        chart->setTitle(title);
        auto* monthAxis = new QBarCategoryAxis;
        monthAxis->append(names.isEmpty() ? QStringList{tr("none yet")} : names);
        auto* valueAxis = new QValueAxis;
        valueAxis->setRange(0, top);
        valueAxis->setTickCount(5);
        valueAxis->setLabelFormat(QStringLiteral("%d"));
        chart->addAxis(monthAxis, Qt::AlignBottom);
        chart->addAxis(valueAxis, Qt::AlignLeft);
        for (QLineSeries* line : series) {
            line->setPointsVisible(true);  // a month alone is a point
            chart->addSeries(line);
            line->attachAxis(monthAxis);
            line->attachAxis(valueAxis);
        }
        return chart;
    };
    QChart* old = lost_->chart();
    lost_->setChart(chartOf(tr("Card points given away, by month"), {lost, given}, std::ceil(highest / 10) * 10));
    delete old;
    old = answeredBest_->chart();
    answeredBest_->setChart(chartOf(overall.answers > 0 ? tr("Drills answered best, by month")
                                                        : tr("Drills answered best: answer drills to see them"),
                                    {best}, 100));
    delete old;
}

void HistoryWindow::ShowStatistics() {
    ShowProgress();
    const HistoryStatistics stats = history_.Statistics(Filter());
    const auto rows = StatisticsRows(stats);
    figures_->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        figures_->setItem(row, 0, Cell(Q(rows[static_cast<std::size_t>(row)].first)));
        figures_->setItem(row, 1, Cell(Q(rows[static_cast<std::size_t>(row)].second)));
    }

    // By month: the share of the user's bids made, and card points a hand.
    auto* chart = new QChart;
    chart->setTitle(tr("By month"));
    auto* made = new QLineSeries;
    made->setName(tr("Your bids made (%)"));
    auto* points = new QLineSeries;
    points->setName(tr("Card points per hand"));
    QStringList months;
    for (std::size_t i = 0; i < stats.months.size(); ++i) {
        const HistoryStatistics::Month& month = stats.months[i];
        months << Q(month.month);
        if (month.bidsWon > 0) made->append(static_cast<double>(i), 100.0 * month.bidsMade / month.bidsWon);
        points->append(static_cast<double>(i), month.pointsPerHand);
    }
    for (QLineSeries* series : {made, points}) {
        series->setPointsVisible(true);  // a month alone is a point
        chart->addSeries(series);
    }
    // The months by name; the figures' axis reaches the highest of them.
    auto* monthAxis = new QBarCategoryAxis;
    monthAxis->append(months.isEmpty() ? QStringList{tr("none yet")} : months);
    double highest = 100;
    for (const HistoryStatistics::Month& month : stats.months) highest = std::max(highest, month.pointsPerHand);
    auto* valueAxis = new QValueAxis;
    const double top = std::ceil(highest / 50) * 50;
    valueAxis->setRange(0, top);
    valueAxis->setTickCount(static_cast<int>(top / 25) + 1);
    valueAxis->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(monthAxis, Qt::AlignBottom);
    chart->addAxis(valueAxis, Qt::AlignLeft);
    for (QLineSeries* series : {made, points}) {
        series->attachAxis(monthAxis);
        series->attachAxis(valueAxis);
    }
    QChart* old = months_->chart();
    months_->setChart(chart);
    delete old;

    // The user's winning bids beside the simulation's best, in bands of 20.
    auto* bidChart = new QChart;
    bidChart->setTitle(stats.bidsAgainstBest.empty() ? tr("Your bids against the best bids: review a hand you "
                                                          "declared to see them")
                                                     : tr("Your bids against the simulation's best bids"));
    std::map<int, std::pair<int, int>> bands;
    for (const auto& [bid, best] : stats.bidsAgainstBest) {
        ++bands[bid / 20 * 20].first;
        if (best > 0) ++bands[best / 20 * 20].second;
    }
    auto* yours = new QBarSet(tr("Your bids"));
    auto* best = new QBarSet(tr("Best bids"));
    QStringList categories;
    for (const auto& [band, counts] : bands) {
        categories << QStringLiteral("%1\u2013%2").arg(band).arg(band + 19);  // what each bar holds
        *yours << counts.first;
        *best << counts.second;
    }
    auto* bars = new QBarSeries;
    bars->append(yours);
    bars->append(best);
    bidChart->addSeries(bars);
    auto* bandAxis = new QBarCategoryAxis;
    bandAxis->append(categories);
    int most = 1;
    for (const auto& [band, counts] : bands) most = std::max({most, counts.first, counts.second});
    auto* countAxis = new QValueAxis;
    const int step = std::max(1, (most + 5) / 6);
    const int countTop = (most + step - 1) / step * step;
    countAxis->setRange(0, countTop);
    countAxis->setTickType(QValueAxis::TicksDynamic);
    countAxis->setTickAnchor(0);
    countAxis->setTickInterval(step);
    countAxis->setLabelFormat(QStringLiteral("%d"));
    bidChart->addAxis(bandAxis, Qt::AlignBottom);
    bidChart->addAxis(countAxis, Qt::AlignLeft);
    bars->attachAxis(bandAxis);
    bars->attachAxis(countAxis);
    old = bids_->chart();
    bids_->setChart(bidChart);
    delete old;
}

ReviewWindow* HistoryWindow::ReviewHand(std::int64_t game, int hand) {
    const std::optional<GameSummary> summary = history_.Summary(game);
    if (!summary) return nullptr;
    // The hand's cards come from the game's moves, replayed.
    std::string refused;
    const std::optional<GameDriver> replayed = GameDriver::Restore(
        summary->settings, summary->seed, [] { return std::int64_t{0}; }, history_.Moves(game), &refused);
    if (!replayed) {
        note_->setText(tr("The game's moves cannot be replayed: %1").arg(Q(refused)));
        return nullptr;
    }
    const std::vector<SheetLine>& sheet = replayed->game().Sheet();
    if (hand < 0 || static_cast<std::size_t>(hand) >= sheet.size()) return nullptr;
    const SheetLine& line = sheet[static_cast<std::size_t>(hand)];
    if (const std::string why = WhyNotReviewed(summary->settings.rules, line); !why.empty()) {
        note_->setText(Q(why));
        return nullptr;
    }
    std::array<bool, 4> users{};
    const unsigned seats = summary->settings.UserSeats();
    for (std::size_t seat = 0; seat < 4; ++seat) users[seat] = ((seats >> seat) & 1u) != 0;
    ReviewRequest request = RequestOf(summary->settings.rules, line, users);
    request.seed = static_cast<std::uint64_t>(hand) + 1;
    auto* window =
        new ReviewWindow(std::move(request), tr("hand %1 of %2").arg(hand + 1).arg(Q(summary->started).left(10)), this,
                         {}, history_.KeptReview(game, hand));
    const int userSeat = std::countr_zero(seats | 16u) & 3;
    connect(window, &ReviewWindow::finished, this, [this, window, game, hand, userSeat] {
        if (!window->complete()) return;
        const ReviewFigures figures = FiguresOf(window->request(), window->review(), userSeat);
        history_.RecordReview(game, hand, figures.par, figures.lost, figures.bestBid, &window->review());
        ShowHands();
        ShowStatistics();
    });
    window->PlaceBeside(*this);
    window->show();
    return window;
}

std::optional<QString> HistoryWindow::Export(QString path, Format format, QString* problem) {
    const QString extension = format == Format::JsonLines ? QStringLiteral(".jsonl") : QStringLiteral(".csv");
    if (QFileInfo(path).suffix().isEmpty()) path += extension;
    std::ofstream out(path.toStdString(), std::ios::binary | std::ios::trunc);
    if (!out) {
        if (problem != nullptr) *problem = tr("%1 cannot be written.").arg(path);
        return std::nullopt;
    }
    const int games = static_cast<int>(history_.Games().size());
    if (format == Format::JsonLines)
        history_.ExportJsonLines(out);
    else
        history_.ExportCsv(out);
    out.flush();
    if (!out) {
        if (problem != nullptr) *problem = tr("%1 could not be written in full.").arg(path);
        return std::nullopt;
    }
    const QString count = games == 1 ? tr("1 game") : tr("%1 games").arg(games);
    return format == Format::JsonLines ? tr("%1 written as JSON lines to %2.").arg(count, path)
                                       : tr("The hands of %1 written as CSV to %2.").arg(count, path);
}

QString HistoryWindow::Import(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    if (!in) return tr("%1 cannot be read.").arg(path);
    const ImportReport report = history_.ImportJsonLines(in);
    QString text = tr("Games added: %1. Already kept: %2.").arg(report.added).arg(report.duplicates);
    if (!report.refused.empty()) {
        text += tr("\nRefused:");
        for (const std::string& line : report.refused) text += QStringLiteral("\n") + Q(line);
    }
    Reload();
    return text;
}

}  // namespace vantrel
