#include "qt/analysis_window.h"
#include "rules/card_records.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

#include "rules/card_text.h"
#include "rules/seats.h"

namespace vantrel {

namespace {

constexpr std::array<std::uint64_t, 4> kDealChoices{10000, 100000, 1000000, 10000000};
constexpr int kHistogramStep = 20;
// 0-19, 20-39, ... and 200 or more. Partner brings 200 in well under one deal
// in a hundred, and eleven bars leave each label room to be read in full.
constexpr int kHistogramBars = 11;

QString Q(const std::string& text) { return QString::fromStdString(text); }
QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QString SuitHeader(std::size_t suit) { return Q(kSuitNames[suit]) + QStringLiteral(" ") + Q(kSuitSymbols[suit]); }

// A read-only table whose cells are reached with the arrow keys and read out
// with their row and column, e.g. "Bid value, Hearts: 160".
QTableWidget* FigureTable(QWidget* parent, const QStringList& columns, const QString& name) {
    auto* table = new QTableWidget(0, static_cast<int>(columns.size()), parent);
    table->setHorizontalHeaderLabels(columns);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setTabKeyNavigation(false);
    table->setWordWrap(false);
    table->setFocusPolicy(Qt::StrongFocus);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->setAccessibleName(name);
    return table;
}

void SetCell(QTableWidget* table, int row, int column, const QString& text, const QString& spoken) {
    QTableWidgetItem* item = table->item(row, column);
    if (item == nullptr) {
        item = new QTableWidgetItem;
        table->setItem(row, column, item);
    }
    if (item->text() != text) item->setText(text);
    item->setData(Qt::AccessibleTextRole, spoken);
    item->setTextAlignment(column == 0 && table->verticalHeader()->isHidden() ? Qt::AlignLeft | Qt::AlignVCenter
                                                                              : Qt::AlignRight | Qt::AlignVCenter);
}

}  // namespace

AnalysisWindow::AnalysisWindow(const Form1& form, std::function<std::string()> dealCode, QWidget* parent)
    : PracticeWindow(parent, QSize(600, 800)), form_(form), dealCode_(std::move(dealCode)) {
    setObjectName(QStringLiteral("AnalysisWindow"));
    setWindowTitle(tr("Hand Analysis"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    poll_ = new QTimer(this);
    poll_->setInterval(50);
    connect(poll_, &QTimer::timeout, this, &AnalysisWindow::Poll);
    BuildWidgets();
}

AnalysisWindow::~AnalysisWindow() { Stop(); }

void AnalysisWindow::BuildWidgets() {
    title_ = new QLabel(this);
    deal_ = new QLabel(this);
    deal_->setObjectName(QStringLiteral("dealCode"));
    deal_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QFont bold = title_->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.25);
    title_->setFont(bold);
    hand_ = new QLabel(this);
    hand_->setTextFormat(Qt::RichText);
    hand_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    hand_->setFocusPolicy(Qt::StrongFocus);
    QFont handFont = hand_->font();
    handFont.setPointSizeF(handFont.pointSizeF() * 1.3);
    hand_->setFont(handFont);

    rules_ = new QComboBox(this);
    rules_->setObjectName(QStringLiteral("rules"));
    rules_->addItem(tr("As designed"));
    rules_->addItem(tr("Standard"));
    rules_->setAccessibleName(tr("Rules the meld is counted by"));
    rules_->setToolTip(
        tr("As designed: the figures equal the main list. Standard: doubles count, runs in trump only."));
    notesLabel_ = new QLabel(this);
    notesLabel_->setWordWrap(true);
    notesLabel_->setObjectName(QStringLiteral("notes"));
    deals_ = new QComboBox(this);
    deals_->setObjectName(QStringLiteral("deals"));
    for (std::uint64_t n : kDealChoices)
        deals_->addItem(QLocale(QLocale::English).toString(static_cast<qulonglong>(n)));
    deals_->setCurrentIndex(1);
    deals_->setAccessibleName(tr("Number of simulated deals"));
    seed_ = new QLineEdit(QStringLiteral("1"), this);
    seed_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{1,20}")), seed_));
    seed_->setAccessibleName(tr("Seed"));
    seed_->setMaximumWidth(200);
    auto* run = new QPushButton(tr("&Run"), this);
    run->setAccessibleName(tr("Run the analysis again"));
    progress_ = new QProgressBar(this);
    progress_->setRange(0, 1000);
    progress_->setAccessibleName(tr("Simulation progress"));
    progress_->setFormat(QStringLiteral("%p%"));
    cancel_button_ = new QPushButton(tr("C&ancel"), this);
    auto* copy = new QPushButton(tr("&Copy"), this);
    copy->setAccessibleName(tr("Copy the analysis"));
    auto* close = new QPushButton(tr("Close"), this);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));

    QStringList columns;
    for (std::size_t s = 0; s < 4; ++s) columns << SuitHeader(s);
    figures_ = FigureTable(this, columns, tr("Figures for each trump"));
    figures_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    figures_->setObjectName(QStringLiteral("figures"));

    histogramTrump_ = new QComboBox(this);
    for (std::size_t s = 0; s < 4; ++s) histogramTrump_->addItem(SuitHeader(s));
    histogramTrump_->setAccessibleName(tr("Trump of the histogram"));
    bars_ = new QBarSet(tr("Share of deals"));
    auto* series = new QBarSeries;
    series->append(bars_);
    series->setBarWidth(0.9);
    auto* chart = new QChart;
    chart->addSeries(series);
    chart->legend()->hide();
    chart->setTitle(tr("Partner's meld"));
    QStringList categories;
    for (int bar = 0; bar < kHistogramBars; ++bar)
        categories << (bar + 1 < kHistogramBars ? QString::number(bar * kHistogramStep)
                                                : QStringLiteral("%1+").arg(bar * kHistogramStep));
    auto* xAxis = new QBarCategoryAxis;
    xAxis->append(categories);
    QFont small = xAxis->labelsFont();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    xAxis->setLabelsFont(small);
    chart->setMargins(QMargins(4, 4, 4, 4));
    auto* yAxis = new QValueAxis;
    yAxis->setLabelFormat(QStringLiteral("%.0f%%"));
    chart->addAxis(xAxis, Qt::AlignBottom);
    chart->addAxis(yAxis, Qt::AlignLeft);
    series->attachAxis(xAxis);
    series->attachAxis(yAxis);
    chart_ = new QChartView(chart, this);
    chart_->setRenderHint(QPainter::Antialiasing);
    chart_->setMinimumHeight(220);
    chart_->setAccessibleName(tr("Histogram of partner's meld"));

    odds_ =
        FigureTable(this, {tr("Near meld (cards partner may hold)"), tr("Exact"), tr("Simulated"), tr("\u00b1 95%")},
                    tr("Odds that partner holds the missing cards"));
    odds_->verticalHeader()->hide();
    odds_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    odds_->setObjectName(QStringLiteral("odds"));

    auto* settings = new QHBoxLayout;
    auto* dealsLabel = new QLabel(tr("&Deals:"), this);
    dealsLabel->setBuddy(deals_);
    auto* seedLabel = new QLabel(tr("&Seed:"), this);
    seedLabel->setBuddy(seed_);
    auto* rulesLabel = new QLabel(tr("R&ules:"), this);
    rulesLabel->setBuddy(rules_);
    settings->addWidget(rulesLabel);
    settings->addWidget(rules_);
    settings->addWidget(dealsLabel);
    settings->addWidget(deals_);
    settings->addWidget(seedLabel);
    settings->addWidget(seed_);
    settings->addWidget(run);
    settings->addWidget(progress_, 1);
    settings->addWidget(cancel_button_);

    auto* histogramRow = new QHBoxLayout;
    auto* histogramLabel = new QLabel(tr("&Histogram for trump:"), this);
    histogramLabel->setBuddy(histogramTrump_);
    histogramRow->addWidget(histogramLabel);
    histogramRow->addWidget(histogramTrump_);
    histogramRow->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(status_, 1);
    buttons->addWidget(copy);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(title_, 1);
    titleRow->addWidget(deal_);
    layout->addLayout(titleRow);
    layout->addWidget(hand_);
    layout->addLayout(settings);
    // The figures, the histogram and the odds scroll where the screen is too
    // short for them; the settings above and the buttons below stay in view.
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* content = new QWidget(scroll);
    auto* contentLayout = new QVBoxLayout(content);
    contentLayout->setContentsMargins(0, 0, 0, 0);
    contentLayout->addWidget(figures_, 3);
    contentLayout->addWidget(notesLabel_);
    contentLayout->addLayout(histogramRow);
    contentLayout->addWidget(chart_, 2);
    contentLayout->addWidget(odds_, 1);
    odds_->setMinimumHeight(120);
    scroll->setWidget(content);
    // The chance to make each bid, by the standard rules, on a tab of its own.
    auto* chancePage = new QWidget(this);
    auto* chanceLayout = new QVBoxLayout(chancePage);
    bestBid_ = new QLabel(chancePage);
    bestBid_->setObjectName(QStringLiteral("bestBid"));
    bestBid_->setWordWrap(true);
    bestBid_->setFont(title_->font());
    QStringList chanceColumns;
    for (std::size_t s = 0; s < 4; ++s) chanceColumns << SuitHeader(s);
    chanceTable_ = FigureTable(chancePage, chanceColumns, tr("Chance to make each bid, and the expected hand score"));
    chanceTable_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    chanceTable_->setObjectName(QStringLiteral("chance"));
    auto* chanceChart = new QChart;
    chanceChart->setTitle(tr("Chance to make the bid"));
    chanceChart->setMargins(QMargins(4, 4, 4, 4));
    chanceChart_ = new QChartView(chanceChart, chancePage);
    chanceChart_->setRenderHint(QPainter::Antialiasing);
    chanceChart_->setMinimumHeight(200);
    chanceChart_->setAccessibleName(tr("Chart of the chance to make each bid, a line per trump"));
    chanceLayout->addWidget(bestBid_);
    chanceLayout->addWidget(chanceTable_, 1);
    chanceLayout->addWidget(chanceChart_, 1);
    tabs_ = new QTabWidget(this);
    tabs_->addTab(scroll, tr("&Figures"));
    tabs_->addTab(chancePage, tr("Chance to &make"));
    tabs_->setAccessibleName(tr("Figures and chance to make"));
    layout->addWidget(tabs_, 1);
    layout->addLayout(buttons);

    connect(rules_, &QComboBox::activated, this, &AnalysisWindow::Restart);
    connect(deals_, &QComboBox::activated, this, &AnalysisWindow::Restart);
    connect(seed_, &QLineEdit::returnPressed, this, &AnalysisWindow::Restart);
    connect(run, &QPushButton::clicked, this, &AnalysisWindow::Restart);
    connect(cancel_button_, &QPushButton::clicked, this, &AnalysisWindow::Cancel);
    connect(histogramTrump_, &QComboBox::currentIndexChanged, this, &AnalysisWindow::ShowHistogram);
    connect(copy, &QPushButton::clicked, this, [this] { QApplication::clipboard()->setText(text()); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
}

MeldRules AnalysisWindow::MeldRulesChosen() const {
    return rules_->currentIndex() == 1 ? MeldRules::Standard : MeldRules::Designed;
}

const CardRec* AnalysisWindow::Hand() const {
    const SeatInfo* seat = SeatOfLetter(seat_);
    return &form_.Deck[static_cast<std::size_t>(seat != nullptr ? seat->first : 1)];
}

void AnalysisWindow::Follow() {
    if (!isVisible()) return;
    // The hand last chosen by mouse or by naming trump, South before any
    // choice; during play the deck still holds the hands as dealt.
    const std::string seat = SeatOfLetter(form_.CurSeat) != nullptr ? form_.CurSeat : std::string("S");
    std::array<std::int16_t, 48> codes{};
    for (std::size_t p = 1; p <= 48; ++p) codes[p - 1] = form_.Deck[p].Code;
    if (!stale_ && seat == seat_ && codes == dealCodes_) return;
    seat_ = seat;
    dealCodes_ = codes;
    stale_ = false;
    {
        const QSignalBlocker block(histogramTrump_);
        histogramTrump_->setCurrentIndex(LongestSuit(Hand()));
    }
    Restart();
}

void AnalysisWindow::Restart() {
    Stop();
    bool ok = false;
    const std::uint64_t seed = seed_->text().toULongLong(&ok);
    if (!ok) {
        status_->setText(tr("The seed is a whole number from 0 to 18446744073709551615."));
        return;
    }
    if (SeatOfLetter(seat_) == nullptr) seat_ = std::string(kSeats[0].letter);
    const CardRec* hand = Hand();
    const SeatInfo& seat = *SeatOfLetter(seat_);
    const MeldRules rules = MeldRulesChosen();
    own_ = OwnFiguresOf(hand, rules);
    const HandCounts counts = CountsOfHand(hand);
    request_ = SimulationRequest{counts,
                                 seed,
                                 kDealChoices[static_cast<std::size_t>(std::clamp(deals_->currentIndex(), 0, 3))],
                                 0,
                                 FindNearMelds(counts, rules),
                                 rules};
    notes_ = MeldNotes(counts, rules);
    QStringList notes;
    for (const std::string& note : notes_) notes << Q(note);
    notesLabel_->setText(notes.join(QLatin1Char('\n')));
    notesLabel_->setVisible(!notes.isEmpty());
    const std::string partner(PartnerOf(seat_));
    title_->setText(tr("%1's hand, with %2 as partner").arg(Q(seat.name), Q(SeatOfLetter(partner)->name)));
    if (dealCode_) deal_->setText(tr("Deal %1").arg(Q(dealCode_())));
    deal_->setAccessibleName(deal_->text());
    // The red suits in red, as on the cards.
    QString shown = Q(HandText(hand)).toHtmlEscaped();
    for (std::string_view red : {kSuitSymbols[1], kSuitSymbols[3]})
        shown.replace(Q(red), QStringLiteral("<span style=\"color:#c00000\">%1</span>").arg(Q(red)));
    hand_->setText(shown);
    hand_->setAccessibleName(tr("%1's cards: %2").arg(Q(seat.name), Q(HandText(hand))));

    shown_ = std::make_unique<SimulationTally>();
    shown_->nearMeldHits.resize(request_.nearMelds.size());
    ShowFigures();
    progress_->setValue(0);
    if (!IsWholeHand(counts)) {
        cancel_button_->setEnabled(false);
        status_->setText(tr("This hand is not twelve cards with at most two of each: there is nothing to analyse."));
        return;
    }
    cancel_button_->setEnabled(true);
    status_->setText(tr("Simulating\u2026"));
    chance_.reset();
    chanceTable_->setRowCount(0);
    chanceChart_->chart()->removeAllSeries();
    if (rules == MeldRules::Standard) {
        bestBid_->setText(tr("Playing out deals\u2026"));
        ChanceRequest chance;
        chance.hand = counts;
        chance.seed = seed;
        chanceDeals_ = chance.deals;
        chanceProgress_.store(0);
        chanceJob_.Start([this, chance](const std::atomic<bool>& cancel) {
            chance_ = std::make_unique<ChanceTally>(
                ChanceToMake(chance, &cancel, [this](std::uint64_t deals) { chanceProgress_.store(deals); }));
        });
    } else {
        bestBid_->setText(tr("The chance to make each bid is played out by the Standard rules: choose them above."));
    }

    simulation_.Start([this, request = request_](const std::atomic<bool>& cancel) {
        // A tally is copied out only once the window has taken the last one:
        // the window shows at most one per poll, and a copy is the size of
        // all the histograms. The final tally always goes out.
        SimulationTally result = Simulate(request, &cancel, [this](const SimulationTally& tally) {
            const std::lock_guard lock(latestMutex_);
            if (!latest_) latest_ = std::make_unique<SimulationTally>(tally);
        });
        {
            const std::lock_guard lock(latestMutex_);
            latest_ = std::make_unique<SimulationTally>(std::move(result));
        }
    });
    poll_->start();
}

void AnalysisWindow::Stop() {
    simulation_.Stop();
    chanceJob_.Stop();
    poll_->stop();
    const std::lock_guard lock(latestMutex_);
    latest_.reset();
}

void AnalysisWindow::Cancel() {
    if (!running() && !chanceRunning()) return;
    simulation_.CancelAndWait();
    chanceJob_.CancelAndWait();
    Poll();
}

void AnalysisWindow::PollChance() {
    if (!chanceJob_.Running()) return;
    if (!chanceJob_.Collect()) {
        bestBid_->setText(tr("Playing out deals: %1 of %2\u2026")
                              .arg(QLocale(QLocale::English).toString(static_cast<qulonglong>(chanceProgress_.load())),
                                   QLocale(QLocale::English).toString(static_cast<qulonglong>(chanceDeals_))));
        return;
    }
    cancel_button_->setEnabled(running());
    ShowChance();
}

void AnalysisWindow::ShowChance() {
    if (!chance_ || chance_->deals == 0) {
        bestBid_->setText(tr("The chance to make was cancelled."));
        return;
    }
    const RuleSet rules = RuleSet::Standard();
    const std::vector<ChanceRow> rows = ChanceRows(*chance_, rules);
    const BestBid best = BestBidOf(*chance_, rules);
    const QString deals = QLocale(QLocale::English).toString(static_cast<qulonglong>(chance_->deals));
    bestBid_->setText(
        best.bid > 0 ? tr("Best bid: %1 in %2, made %3 of the time (%4 deals played out)")
                           .arg(best.bid)
                           .arg(Q(kSuitNames[static_cast<std::size_t>(best.trump)]), Q(PercentText(best.chance)), deals)
                     : tr("Best bid: none; the standing bid is made less than half the time (%1 deals "
                          "played out)")
                           .arg(deals));
    bestBid_->setAccessibleName(bestBid_->text());
    chanceTable_->setRowCount(static_cast<int>(rows.size()));
    auto* chart = chanceChart_->chart();
    chart->removeAllSeries();
    for (const auto axis : chart->axes()) chart->removeAxis(axis);
    std::array<QLineSeries*, 4> lines{};
    for (std::size_t s = 0; s < 4; ++s) {
        lines[s] = new QLineSeries;
        lines[s]->setName(Q(kSuitNames[s]));
    }
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const ChanceRow& row = rows[static_cast<std::size_t>(r)];
        chanceTable_->setVerticalHeaderItem(r, new QTableWidgetItem(QString::number(row.bid)));
        for (std::size_t s = 0; s < 4; ++s) {
            const QString cell = QStringLiteral("%1  (%2%3)")
                                     .arg(Q(PercentText(row.chance[s])))
                                     .arg(row.expected[s] >= 0 ? QStringLiteral("+") : QString())
                                     .arg(std::lround(row.expected[s]));
            SetCell(chanceTable_, r, static_cast<int>(s), cell,
                    tr("Bid %1, %2: made %3 of the time, expected score %4")
                        .arg(row.bid)
                        .arg(Q(kSuitNames[s]), Q(PercentText(row.chance[s])))
                        .arg(std::lround(row.expected[s])));
            lines[s]->append(row.bid, 100 * row.chance[s]);
        }
    }
    auto* x = new QValueAxis;
    x->setTitleText(tr("Bid"));
    x->setLabelFormat(QStringLiteral("%d"));
    x->setRange(rows.front().bid, std::max(rows.back().bid, rows.front().bid + 10));
    auto* y = new QValueAxis;
    y->setRange(0, 100);
    y->setLabelFormat(QStringLiteral("%.0f%%"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QLineSeries* line : lines) {
        chart->addSeries(line);
        line->attachAxis(x);
        line->attachAxis(y);
    }
}

void AnalysisWindow::Poll() {
    PollChance();
    if (!simulation_.Running()) {
        if (!chanceRunning()) poll_->stop();
        return;
    }
    // Read before the tally: once the worker is done, its final tally is in.
    const bool done = simulation_.Finished();
    std::unique_ptr<SimulationTally> fresh;
    {
        const std::lock_guard lock(latestMutex_);
        fresh = std::move(latest_);
    }
    if (fresh) {
        shown_ = std::move(fresh);
        ShowFigures();
    }
    const double share =
        request_.deals == 0 ? 0 : static_cast<double>(dealsDone()) / static_cast<double>(request_.deals);
    progress_->setValue(static_cast<int>(1000 * share));
    if (!done) return;
    simulation_.Collect();
    if (!chanceRunning()) poll_->stop();
    cancel_button_->setEnabled(chanceRunning());
    const QString count = QLocale(QLocale::English).toString(static_cast<qulonglong>(dealsDone()));
    if (simulation_.Cancelled()) {
        status_->setText(tr("Cancelled after %1 deals.").arg(count));
    } else {
        status_->setText(tr("%1 deals simulated.").arg(count));
        emit finished();
    }
}

void AnalysisWindow::ShowFigures() {
    const std::vector<FigureRow> rows = FigureRows(own_, *shown_);
    figures_->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const FigureRow& row = rows[static_cast<std::size_t>(r)];
        if (figures_->verticalHeaderItem(r) == nullptr || figures_->verticalHeaderItem(r)->text() != Q(row.name))
            figures_->setVerticalHeaderItem(r, new QTableWidgetItem(Q(row.name)));
        for (std::size_t s = 0; s < 4; ++s)
            SetCell(figures_, r, static_cast<int>(s), Q(row.cells[s]),
                    QStringLiteral("%1, %2: %3").arg(Q(row.name), Q(kSuitNames[s]), Q(row.cells[s])));
    }
    // The figures table is exactly as tall as its rows; the room left over
    // goes to the odds below, which is the list that can grow long.
    figures_->resizeRowsToContents();
    const int height = figures_->horizontalHeader()->sizeHint().height() + figures_->verticalHeader()->length() +
                       2 * figures_->frameWidth();
    if (figures_->minimumHeight() != height) figures_->setFixedHeight(height);
    const std::vector<OddsRow> odds = OddsRows(request_.nearMelds, *shown_);
    odds_->setRowCount(static_cast<int>(odds.size()));
    for (int r = 0; r < static_cast<int>(odds.size()); ++r) {
        const OddsRow& row = odds[static_cast<std::size_t>(r)];
        SetCell(odds_, r, 0, Q(row.meld), Q(row.meld));
        SetCell(odds_, r, 1, Q(row.exact), tr("%1, exact chance: %2").arg(Q(row.meld), Q(row.exact)));
        SetCell(odds_, r, 2, Q(row.simulated), tr("%1, simulated: %2").arg(Q(row.meld), Q(row.simulated)));
        SetCell(odds_, r, 3, Q(row.error), tr("%1, simulation error: %2").arg(Q(row.meld), Q(row.error)));
    }
    if (odds.empty()) {
        odds_->setRowCount(1);
        SetCell(odds_, 0, 0, tr("No meld lacks just one or two cards."), tr("No meld lacks just one or two cards."));
    }
    ShowHistogram();
}

void AnalysisWindow::ShowHistogram() {
    if (!shown_) return;
    const auto suit = static_cast<std::size_t>(std::clamp(histogramTrump_->currentIndex(), 0, 3));
    const auto& histogram = shown_->trumps[suit].partner;
    const double deals = std::max<double>(1, static_cast<double>(shown_->deals));
    QList<qreal> shares(kHistogramBars, 0);
    for (std::size_t meld = 0; meld < histogram.size(); ++meld) {
        const auto bar = std::min<std::size_t>(meld / kHistogramStep, kHistogramBars - 1);
        shares[static_cast<qsizetype>(bar)] += 100.0 * static_cast<double>(histogram[meld]) / deals;
    }
    if (bars_->count() != kHistogramBars) {
        bars_->remove(0, bars_->count());
        bars_->append(shares);
    } else {
        for (int i = 0; i < kHistogramBars; ++i) bars_->replace(i, shares[i]);
    }
    const qreal top = *std::max_element(shares.begin(), shares.end());
    if (auto* axis = qobject_cast<QValueAxis*>(chart_->chart()->axes(Qt::Vertical).value(0))) {
        // Whole tens on the axis, so that its labels fall on round shares.
        const qreal ceiling = std::max<qreal>(10, 10 * std::ceil(top / 10));
        axis->setRange(0, ceiling);
        axis->setTickCount(static_cast<int>(ceiling / 10) + 1);
    }
    chart_->chart()->setTitle(tr("Partner's meld with %1 as trump").arg(Q(kSuitNames[suit])));
    chart_->setAccessibleDescription(
        tr("Partner's meld with %1 as trump; mean %2")
            .arg(Q(kSuitNames[suit]))
            .arg(shown_->deals == 0 ? 0.0 : static_cast<double>(shown_->trumps[suit].partnerSum) / deals, 0, 'f', 1));
}

QString AnalysisWindow::text() const {
    const SeatInfo* seat = SeatOfLetter(seat_);
    const SimulationTally empty;
    const SimulationTally& tally = shown_ ? *shown_ : empty;
    AnalysisHeader header{rules_->currentText().toStdString(),
                          std::string(seat != nullptr ? seat->name : "South"),
                          dealCode_ ? dealCode_() : "",
                          HandText(Hand()),
                          request_.seed,
                          request_.deals};
    QString text =
        Q(AnalysisText(header, FigureRows(own_, tally), OddsRows(request_.nearMelds, tally), notes_, tally.deals));
    if (chance_ && !chanceRunning() && chance_->deals > 0)
        text += tr("\nChance to make (Standard rules, %1 deals played out by rule players)\n")
                    .arg(QLocale(QLocale::English).toString(static_cast<qulonglong>(chance_->deals))) +
                Q(ChanceText(ChanceRows(*chance_, RuleSet::Standard()), BestBidOf(*chance_, RuleSet::Standard())));
    return text;
}

void AnalysisWindow::closeEvent(QCloseEvent* event) {
    Stop();
    stale_ = true;
    cancel_button_->setEnabled(false);
    event->accept();
}

}  // namespace vantrel
