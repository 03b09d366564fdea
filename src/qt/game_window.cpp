#include "qt/game_window.h"

#include "qt/review_window.h"

#include <bit>

#include <chrono>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "analysis/widow_analysis.h"
#include "game/game_texts.h"
#include "players/chance_to_make.h"
#include "qt/game_table.h"
#include "qt/new_game_dialog.h"
#include "rules/card_records.h"
#include "rules/card_text.h"
#include "rules/seats.h"

namespace vantrel {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }
QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
QString SuitText(int suit) { return Q(SuitWithSymbol(suit)); }
// The driver's clock: milliseconds of a steady clock.
std::int64_t Now() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

namespace {

// About 1000 by 700 where the screen is small, so that on 1280x800 the
// window fits beside the table with its frame; 1500 by 950 where the screen
// has the room (1920x1080), cut to fit.
QSize GameWindowSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const bool roomy =
        screen != nullptr && screen->availableGeometry().width() >= 1600 && screen->availableGeometry().height() >= 950;
    return roomy ? QSize(1500, 950) : QSize(1000, 700);
}

}  // namespace

GameWindow::GameWindow(PlayRecord& record, QWidget* parent)
    : PracticeWindow(parent, GameWindowSize()), record_(record) {
    setObjectName(QStringLiteral("GameWindow"));
    setWindowTitle(tr("Game"));
    driver_ = std::make_unique<GameDriver>(GameSettings{}, 1, Now);
    // The timer runs only while the driver has something due.
    due_ = new QTimer(this);
    due_->setSingleShot(true);
    due_->setObjectName(QStringLiteral("due"));
    connect(due_, &QTimer::timeout, this, [this] {
        const std::uint64_t before = driver_->Position();
        driver_->Advance();
        if (driver_->Position() != before)
            Changed();
        else
            Schedule();
    });
    BuildWidgets();
    // Until a game is dealt there is nothing to do but start one.
    status_->setText(tr("No game yet: press New Game (Ctrl+N) to deal one."));
    for (QWidget* control : std::initializer_list<QWidget*>{pass_, bidNext_, jump_, bidJump_, continue_, throwIn_,
                                                            passCards_, hint_, undo_, lookBackButton_, review_})
        control->setEnabled(false);
}

GameWindow::~GameWindow() {
    StopWorker();
    // The window's place for the next run, when the program ends with it open.
    if (isVisible()) QSettings().setValue(QStringLiteral("windows/game"), saveGeometry());
}

void GameWindow::BuildWidgets() {
    table_ = new GameTable(this);
    connect(table_, &GameTable::cardClicked, this, &GameWindow::UserCard);
    connect(table_, &GameTable::tableClicked, this, [this] {
        const Phase phase = game().CurrentPhase();
        if (lookBack_) {
            lookBack_ = false;
            Refresh();
        } else if (phase == Phase::HandScored ||
                   ((phase == Phase::Meld || phase == Phase::Widow) && !IsUser(game().Declarer()))) {
            UserContinue();
        }
    });
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    status_->setWordWrap(true);
    status_->setAccessibleName(tr("What to do next"));
    QFont bold = status_->font();
    bold.setBold(true);
    status_->setFont(bold);

    bidding_ = new QListWidget(this);
    bidding_->setAccessibleName(tr("The bidding, with each computer call's reason"));
    bidding_->setWordWrap(true);
    score_ = new QLabel(this);
    score_->setTextFormat(Qt::RichText);
    score_->setAccessibleName(tr("The hand's score and the game's totals"));
    score_->setWordWrap(true);

    auto button = [this](const QString& text, const QString& name, auto slot) {
        auto* b = new QPushButton(text, this);
        b->setAccessibleName(name);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    pass_ = button(tr("&Pass"), tr("Pass"), [this] { UserPass(); });
    bidNext_ = button(tr("&Bid"), tr("Bid the next bid"), [this] { UserBid(game().CurrentAuction().MinimumBid()); });
    jump_ = new QSpinBox(this);
    jump_->setRange(200, 2000);
    jump_->setSingleStep(10);
    jump_->setAccessibleName(tr("A jump bid"));
    bidJump_ = button(tr("&Jump"), tr("Bid the amount in the box"), [this] { UserBid(jump_->value()); });
    continue_ = button(tr("&Continue"), tr("Continue"), [this] { UserContinue(); });
    throwIn_ = button(tr("&Throw In"), tr("Throw the hand in: the declarers lose the bid"), [this] { UserThrowIn(); });
    passCards_ = button(tr("Pass C&ards"), tr("Pass the picked cards to partner"), [this] { UserPassCards(); });
    // Alt+H is the "This hand" tab's.
    hint_ = button(tr("H&int"), tr("Hint"), [this] { Hint(); });
    undo_ = button(tr("&Undo"), tr("Undo the last move of yours"), [this] { UserUndo(); });
    lookBackButton_ = button(tr("&Look Back"), tr("Show the last trick beside the one being played"), [this] {
        lookBack_ = !lookBack_;
        Refresh();
    });
    review_ = button(tr("&Review this hand"), tr("Review the hand just scored, card by card"),
                     [this] { ReviewLine(static_cast<int>(game().Sheet().size()) - 1); });
    auto* newGame = button(tr("&New Game\u2026"), tr("Start a new game"), [this] { AskNewGame(); });

    // The result and the totals first, so that they are in view at 1280x800;
    // each side's figures in one cell, South-North's first, as the header says.
    sheet_ = new QTableWidget(0, 10, this);
    sheet_->setHorizontalHeaderLabels({tr("Hand"), tr("Result"), tr("Totals"), tr("Bid"), tr("Declarer"), tr("Trump"),
                                       tr("Meld"), tr("Card points"), tr("Score"), tr("Dealer, deal code")});
    sheet_->horizontalHeaderItem(2)->setToolTip(tr("South-North / East-West"));
    sheet_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sheet_->setSelectionBehavior(QAbstractItemView::SelectRows);
    sheet_->setSelectionMode(QAbstractItemView::SingleSelection);
    sheet_->setAccessibleName(tr("Score sheet"));
    sheet_->setObjectName(QStringLiteral("sheet"));
    sheet_->verticalHeader()->hide();
    auto* copy =
        button(tr("C&opy"), tr("Copy the score sheet"), [this] { QApplication::clipboard()->setText(sheetText()); });
    auto* replay = button(tr("&Replay this deal"), tr("Play the chosen hand's deal again, as practice"),
                          [this] { ReplaySelectedLine(); });
    auto* reviewLine =
        button(tr("Re&view"), tr("Review the chosen hand, card by card"), [this] { ReviewSelectedLine(); });

    auto* handPage = new QWidget(this);
    auto* handLayout = new QVBoxLayout(handPage);
    handLayout->addWidget(new QLabel(tr("Bidding"), handPage));
    handLayout->addWidget(bidding_, 2);
    handLayout->addWidget(score_);
    auto* bids = new QHBoxLayout;
    bids->addWidget(pass_);
    bids->addWidget(bidNext_);
    bids->addWidget(jump_);
    bids->addWidget(bidJump_);
    handLayout->addLayout(bids);
    auto* actions = new QHBoxLayout;
    actions->addWidget(continue_);
    actions->addWidget(throwIn_);
    actions->addWidget(passCards_);
    handLayout->addLayout(actions);
    auto* aids = new QHBoxLayout;
    aids->addWidget(hint_);
    aids->addWidget(undo_);
    aids->addWidget(lookBackButton_);
    handLayout->addLayout(aids);
    handLayout->addWidget(review_);
    handLayout->addWidget(newGame);

    auto* sheetPage = new QWidget(this);
    auto* sheetLayout = new QVBoxLayout(sheetPage);
    sheetLayout->addWidget(sheet_, 1);
    auto* sheetButtons = new QHBoxLayout;
    sheetButtons->addWidget(copy);
    sheetButtons->addWidget(replay);
    sheetButtons->addWidget(reviewLine);
    sheetLayout->addLayout(sheetButtons);

    tabs_ = new QTabWidget(this);
    tabs_->addTab(handPage, tr("This &hand"));
    tabs_->addTab(sheetPage, tr("&Score sheet"));
    tabs_->setMinimumWidth(300);
    tabs_->setMaximumWidth(380);

    auto* top = new QHBoxLayout;
    top->addWidget(table_, 1);
    top->addWidget(tabs_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(status_);

    // The Practice keys (F5, F6, F7, Ctrl+Shift+C) are the main window's: it
    // routes them to the game while this window is active.
    auto shortcut = [this](const QKeySequence& keys, auto slot) {
        auto* action = new QAction(this);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_I), [this] { Hint(); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), [this] { UserUndo(); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_R), [this] {
        if (review_->isEnabled()) ReviewLine(static_cast<int>(game().Sheet().size()) - 1);
    });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_N), [this] { AskNewGame(); });
    shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
             [this] { QApplication::clipboard()->setText(sheetText()); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_L), [this] {
        lookBack_ = !lookBack_;
        Refresh();
    });
}

void GameWindow::NewGame(const GameSettings& settings, std::uint64_t seed) {
    StopWorker();
    closeAgreed_ = false;
    started_ = true;
    // The game given up for this one is not offered for resuming.
    if (history_ != nullptr && historyId_ && game().CurrentPhase() != Phase::GameOver) history_->Abandon(*historyId_);
    driver_ = std::make_unique<GameDriver>(settings, seed, Now);
    historyId_.reset();
    if (history_ != nullptr) {
        historyId_ =
            history_->StartGame(settings, seed, QDateTime::currentDateTime().toString(Qt::ISODate).toStdString());
        if (!historyId_)
            driver_->SetMessage("The game history could not be written (" + history_->Problem() +
                                "); this game is not being kept.");
    }
    lookBack_ = false;
    recordedCards_ = 0;
    tabs_->setCurrentIndex(0);
    Changed();
    // The keyboard starts on the user's cards.
    QTimer::singleShot(0, this, [this] {
        for (GameCard* card : table_->Cards())
            if (card->isVisible()) {
                card->setFocus();
                return;
            }
    });
}

GameSettings GameWindow::KeptSettings() {
    QSettings stored;
    stored.beginGroup(QStringLiteral("game"));
    std::vector<std::pair<std::string, std::string>> read;
    for (const QString& key : stored.allKeys())
        read.emplace_back(key.toStdString(), stored.value(key).toString().toStdString());
    return GameSettings::FromSettings(read);
}

std::uint64_t GameWindow::NewSeed() {
    bool ok = false;
    const std::uint64_t fixed = qEnvironmentVariable("VANTREL_GAME_SEED").toULongLong(&ok);
    return ok ? fixed : static_cast<std::uint64_t>(QDateTime::currentMSecsSinceEpoch());
}

bool GameWindow::AskNewGame() {
    // Cancel changes nothing: the game on the table is given up only once
    // the new one's settings are chosen, and only when the user says so.
    NewGameDialog dialog(KeptSettings(), this);
    if (dialog.exec() != QDialog::Accepted) return false;
    if (InProgress() && QMessageBox::question(this, tr("Game"), tr("Abandon this game?"),
                                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return false;
    const GameSettings chosen = dialog.Settings();
    QSettings stored;
    stored.beginGroup(QStringLiteral("game"));
    for (const auto& [key, value] : chosen.ToSettings()) stored.setValue(Q(key), Q(value));
    NewGame(chosen, NewSeed());
    return true;
}

bool GameWindow::InProgress() const {
    return started_ && game().CurrentPhase() != Phase::GameOver &&
           (!game().CurrentAuction().Calls().empty() || !game().Sheet().empty());
}

bool GameWindow::MayClose() {
    if (!InProgress() || closeAgreed_) return true;
    // A kept game loses nothing by closing: it is offered again next time.
    const bool kept = history_ != nullptr && historyId_;
    closeAgreed_ = QMessageBox::question(this, tr("Game"),
                                         kept ? tr("Close the game? It is kept, to be resumed.")
                                              : tr("Close the game? It is not being kept, and will be lost."),
                                         QMessageBox::Yes | QMessageBox::No,
                                         kept ? QMessageBox::Yes : QMessageBox::No) == QMessageBox::Yes;
    return closeAgreed_;
}

void GameWindow::StopWorker() {
    worker_.Stop();
    if (workerId_ != 0 && !workerHint_) driver_->Abandon();
    workerId_ = 0;
    const std::lock_guard lock(resultMutex_);
    result_.reset();
    hintResult_.reset();
}

bool GameWindow::Resume(const GameSummary& kept, const std::vector<GameMove>& moves, QString* problem) {
    std::string refused;
    std::optional<GameDriver> restored = GameDriver::Restore(kept.settings, kept.seed, Now, moves, &refused);
    if (!restored) {
        if (problem != nullptr) *problem = QString::fromStdString(refused);
        return false;
    }
    StopWorker();
    closeAgreed_ = false;
    started_ = true;
    driver_ = std::make_unique<GameDriver>(std::move(*restored));
    historyId_ = kept.id;
    lookBack_ = false;
    recordedCards_ = 0;
    tabs_->setCurrentIndex(0);
    Changed();
    return true;
}

void GameWindow::KeepInHistory() {
    if (history_ == nullptr || !historyId_) return;
    if (!history_->Record(*historyId_, driver_->game(), driver_->Log())) {
        driver_->SetMessage("The game history could not be written (" + history_->Problem() +
                            "); the rest of this game is not being kept.");
        historyId_.reset();
    }
}

void GameWindow::Changed() {
    // A decision or hint under way for an earlier position is not wanted.
    if (worker_.Running() && workerId_ != driver_->Position()) StopWorker();
    KeepInHistory();
    FeedRecord(false);
    Refresh();
    Drive();
}

void GameWindow::Drive() {
    if (!isVisible() || !started_) return;
    if (!worker_.Running())
        if (std::optional<DecisionRequest> request = driver_->TakeRequest()) {
            workerId_ = request->id;
            workerHint_ = false;
            worker_.Start([this, job = ++jobs_, request = std::move(*request)](const std::atomic<bool>& cancel) {
                ComputerMove move = ChooseMove(request.position, request.seat, request.level, request.seed, &cancel);
                {
                    const std::lock_guard lock(resultMutex_);
                    result_ = std::move(move);
                }
                QMetaObject::invokeMethod(
                    this, [this, job] { Collect(job); }, Qt::QueuedConnection);
            });
        }
    if (driver_->UserNamesTrump() && !askingTrump_)
        QTimer::singleShot(0, this, [this, position = driver_->Position()] {
            if (position != driver_->Position() || !driver_->UserNamesTrump()) return;
            askingTrump_ = true;
            const int suit = AskTrump(game().ToAct());
            askingTrump_ = false;
            if (suit >= 0) UserTrump(suit);
        });
    Schedule();
}

void GameWindow::Schedule() {
    const std::optional<std::int64_t> due = driver_->NextDue();
    if (!due || !isVisible()) {
        due_->stop();
        return;
    }
    due_->start(static_cast<int>(std::clamp<std::int64_t>(*due - Now(), 0, 60000)));
}

void GameWindow::Collect(std::uint64_t job) {
    // The job posts its answer as it returns: it is joined at once. A post
    // from a job stopped since is passed over.
    if (job != jobs_ || !worker_.Running()) return;
    worker_.Join();
    std::optional<ComputerMove> move;
    std::optional<SearchChoice> hint;
    {
        const std::lock_guard lock(resultMutex_);
        move = std::move(result_);
        hint = hintResult_;
        result_.reset();
        hintResult_.reset();
    }
    const std::uint64_t id = std::exchange(workerId_, 0);
    if (hint && driver_->DeliverHint(id, *hint)) {
        Refresh();
        // The keyboard goes to the card the hint names.
        for (GameCard* card : table_->Cards())
            if (card->isVisible() && card->seat() == game().ToAct() && card->kind() == hint->card) {
                card->setFocus();
                break;
            }
    }
    if (move) driver_->Deliver(id, std::move(*move));
    Drive();
}

int GameWindow::AskTrump(int seat) {
    QDialog dialog(this);
    dialog.setWindowTitle(tr("Name Trump"));
    auto* layout = new QVBoxLayout(&dialog);
    const int bid = game().CurrentAuction().HighBid();
    layout->addWidget(new QLabel(tr("You won the bid at %1. Name trump:").arg(bid), &dialog));
    ChanceTally chance;
    if (settings().hints) chance = ChanceOfSeat(game(), seat, 2000, driver_->Seed());
    const RuleSet& rules = settings().rules;
    int chosen = -1;
    // With hints, the suit with the best expected score is the default and
    // has the focus, and each suit says what it makes and scores on average:
    // suits that all make the bid are still told apart.
    int best = 0;
    if (settings().hints)
        for (int suit = 1; suit < 4; ++suit)
            if (ExpectedOfBid(rules, chance, suit, bid) > ExpectedOfBid(rules, chance, best, bid)) best = suit;
    QPushButton* bestButton = nullptr;
    for (int suit = 0; suit < 4; ++suit) {
        QString text = SuitText(suit);
        if (settings().hints) {
            const long expected = std::lround(ExpectedOfBid(rules, chance, suit, bid));
            text += tr(" \u2014 makes %1 %2 of the time, %3 on average")
                        .arg(bid)
                        .arg(Q(std::to_string(static_cast<int>(std::lround(100 * chance.Chance(suit, bid)))) + "%"))
                        .arg((expected > 0 ? QStringLiteral("+") : QString()) + QString::number(expected));
        }
        auto* b = new QPushButton(text, &dialog);
        b->setAccessibleName(text);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, &dialog, [&dialog, &chosen, suit] {
            chosen = suit;
            dialog.accept();
        });
        layout->addWidget(b);
        if (suit == best) bestButton = b;
    }
    bestButton->setDefault(true);
    bestButton->setFocus();
    dialog.exec();
    return chosen;
}

void GameWindow::Input(const std::function<void(GameDriver&)>& input) {
    const std::uint64_t before = driver_->Position();
    input(*driver_);
    if (driver_->Position() != before) {
        lookBack_ = false;
        Changed();
    } else {
        Refresh();
    }
}

void GameWindow::UserBid(int amount) {
    Input([amount](GameDriver& d) { d.Bid(amount); });
}

void GameWindow::UserPass() {
    Input([](GameDriver& d) { d.Pass(); });
}

void GameWindow::UserTrump(int suit) {
    Input([suit](GameDriver& d) { d.NameTrump(suit); });
}

void GameWindow::UserCard(int seat, int kind) {
    Input([seat, kind](GameDriver& d) { d.Card(seat, kind); });
}

void GameWindow::UserPassCards() {
    Input([](GameDriver& d) { d.PassCards(); });
}

void GameWindow::UserThrowIn() {
    Input([](GameDriver& d) { d.ThrowIn(); });
}

void GameWindow::UserContinue() {
    if (game().CurrentPhase() == Phase::GameOver) {
        AskNewGame();
        return;
    }
    Input([](GameDriver& d) { d.Continue(); });
}

void GameWindow::UserUndo() {
    if (!started_) return;
    const std::uint64_t before = driver_->Position();
    driver_->Undo();
    if (driver_->Position() == before) {
        Refresh();
        return;
    }
    lookBack_ = false;
    FeedRecord(true);
    Changed();
}

void GameWindow::Hint() {
    if (!started_ || !settings().hints || worker_.Running()) return;
    const int seat = game().ToAct();
    if (!IsUser(seat)) return;
    if (std::optional<HintRequest> request = driver_->AskHint()) {
        workerId_ = request->id;
        workerHint_ = true;
        worker_.Start([this, job = ++jobs_, hint = std::move(*request)](const std::atomic<bool>& cancel) {
            const SearchChoice choice = HintChoice(hint, &cancel);
            {
                const std::lock_guard lock(resultMutex_);
                hintResult_ = choice;
            }
            QMetaObject::invokeMethod(
                this, [this, job] { Collect(job); }, Qt::QueuedConnection);
        });
        Refresh();
        return;
    }
    if (game().CurrentPhase() == Phase::Auction) {
        const ChanceTally tally = ChanceOfSeat(game(), seat, 2000, driver_->Seed());
        // The best bid among those the seat can still make.
        std::string text = ChanceHint(settings().rules, tally, game().CurrentAuction().MinimumBid());
        // Where three play, what the widow may bring the hand's meld.
        if (game().Seats() == 3) text += "\n" + WidowText(AnalyseWidow(settings().rules, game().HandOf(seat)));
        // The table in columns, unwrapped.
        QMessageBox box(QMessageBox::Information, tr("Hint: the chance to make"),
                        QStringLiteral("<pre>%1</pre>").arg(Q(text).toHtmlEscaped()), QMessageBox::Ok, this);
        box.setTextFormat(Qt::RichText);
        box.exec();
    }
}

QString GameWindow::DealFromCode(const QString& code) {
    const std::string said = driver_->DealFromCode(code.toStdString());
    if (said.empty()) Changed();
    return Q(said);
}

void GameWindow::ReplaySelectedLine() {
    const int row = sheet_->currentRow();
    if (row < 0) {
        driver_->SetMessage("Choose a hand on the score sheet to play its deal again.");
        Refresh();
        return;
    }
    Input([row](GameDriver& d) { d.ReplayLine(static_cast<std::size_t>(row)); });
    if (driver_->Message().empty()) tabs_->setCurrentIndex(0);
}

ReviewWindow* GameWindow::ReviewLine(int row) {
    const std::vector<SheetLine>& sheet = game().Sheet();
    if (row < 0 || static_cast<std::size_t>(row) >= sheet.size()) return nullptr;
    const SheetLine& line = sheet[static_cast<std::size_t>(row)];
    if (std::string why = WhyNotReviewed(game().Rules(), line); !why.empty()) {
        driver_->SetMessage(std::move(why));
        Refresh();
        return nullptr;
    }
    std::array<bool, 4> users{};
    for (int seat = 0; seat < 4; ++seat) users[static_cast<std::size_t>(seat)] = IsUser(seat);
    ReviewRequest request = RequestOf(game().Rules(), line, users);
    request.seed = static_cast<std::uint64_t>(row) + 1;
    std::optional<HandReview> kept;
    if (history_ != nullptr && historyId_) kept = history_->KeptReview(*historyId_, row);
    auto* window = new ReviewWindow(std::move(request), tr("hand %1").arg(row + 1), this, {}, std::move(kept));
    if (history_ != nullptr && historyId_) {
        // The review's figures go into the history with the hand.
        const int userSeat = std::countr_zero(UserSeats() | 16u) & 3;
        connect(window, &ReviewWindow::finished, this, [this, window, row, userSeat, id = *historyId_] {
            if (!window->complete() || history_ == nullptr) return;
            const ReviewFigures figures = FiguresOf(window->request(), window->review(), userSeat);
            history_->RecordReview(id, row, figures.par, figures.lost, figures.bestBid, &window->review());
        });
    }
    window->PlaceBeside(*this);
    window->show();
    return window;
}

void GameWindow::ReviewSelectedLine() {
    const int row = sheet_->currentRow();
    if (row < 0) {
        driver_->SetMessage("Choose a hand on the score sheet to review it.");
        Refresh();
        return;
    }
    ReviewLine(row);
}

QString GameWindow::sheetText() const { return Q(game().SheetText()); }

void GameWindow::FeedRecord(bool start) {
    const Game& g = game();
    const bool played =
        g.CurrentPhase() == Phase::Play ||
        ((g.CurrentPhase() == Phase::HandScored || g.CurrentPhase() == Phase::GameOver) && !g.CardsPlayed().empty());
    // The play record holds a deal of the 48-card deck.
    if (!played || g.Rules().form != GameForm{}) {
        recordedCards_ = 0;
        return;
    }
    if (g.CardsPlayed().size() < recordedCards_) start = true;
    if (start || recordedCards_ == 0) {
        record_.Start(DeckOfHands(PackedCounts(g.HandsInPlay())), SuitAt(g.Trump()), SeatAt(g.Declarer()),
                      g.CurrentAuction().HighBid(), g.DealCode(), PlayRecord::Source::Game);
        recordedCards_ = 0;
    }
    // The seats of the cards, replayed from the hands as the play began.
    FormPlayState replay(g.Rules(), g.HandsInPlay(), g.Trump(), g.Declarer());
    for (std::size_t i = 0; i < g.CardsPlayed().size(); ++i) {
        const int seat = replay.ToPlay();
        const int kind = g.CardsPlayed()[i];
        replay.Make(kind);
        if (i >= recordedCards_) record_.CardPlayed(SeatAt(seat), kind);
    }
    recordedCards_ = g.CardsPlayed().size();
    emit recordChanged();
}

QString GameWindow::status() const { return status_->text(); }

QString GameWindow::SeatName(int seat) const { return seat >= 0 ? Q(game().NameOf(seat)) : QString(); }

void GameWindow::Refresh() {
    if (!started_) return;
    const Game& g = game();
    const Phase phase = g.CurrentPhase();
    const int seat = g.ToAct();
    const bool userToAct = IsUser(seat);

    GameTable::Look look;
    look.userSeats = UserSeats();
    look.showAll = settings().showAll;
    look.lookBack = lookBack_ && phase == Phase::Play;
    look.selected = driver_->Selected();
    for (const Auction::Call& call : g.CurrentAuction().Calls())
        look.lastCalls[static_cast<std::size_t>(call.seat)] = call.bid > 0 ? std::to_string(call.bid) : "pass";
    table_->Show(g, look);

    // The bidding, with each computer call's reason.
    bidding_->clear();
    bidding_->addItem(
        g.Rules().dealerStuck
            ? tr("%1 deals; standing bid %2").arg(SeatName(g.Dealer())).arg(g.Rules().standingBid)
            : tr("%1 deals; the first bid at least %2").arg(SeatName(g.Dealer())).arg(g.Rules().standingBid));
    const auto& calls = g.CurrentAuction().Calls();
    for (std::size_t i = 0; i < calls.size(); ++i) {
        QString line = SeatName(calls[i].seat) + QStringLiteral(": ") +
                       (calls[i].bid > 0 ? QString::number(calls[i].bid) : tr("pass"));
        if (i < g.CallReasons().size() && !g.CallReasons()[i].empty())
            line += QStringLiteral(" \u2014 ") + Q(g.CallReasons()[i]);
        bidding_->addItem(line);
    }
    bidding_->scrollToBottom();

    // The score panel.
    QString panel;
    for (const PanelLine& line : ScorePanel(g)) {
        if (!panel.isEmpty()) panel += QStringLiteral("<br>");
        if (!line.lead.empty()) panel += QStringLiteral("<b>%1</b>").arg(Q(line.lead).toHtmlEscaped());
        panel += Q(line.text).toHtmlEscaped();
    }
    score_->setText(panel);

    // The controls that fit the moment.
    const bool userBids = userToAct && phase == Phase::Auction;
    pass_->setEnabled(userBids);
    bidNext_->setEnabled(userBids);
    jump_->setEnabled(userBids);
    bidJump_->setEnabled(userBids);
    {
        const int next = g.CurrentAuction().MinimumBid();
        bidNext_->setText(tr("&Bid %1").arg(next));
        // The jump starts from the next bid at each call, not from a figure of
        // an earlier one; a game resumed past its auction shows its own figure.
        const auto call = std::make_pair(g.HandNumber(), g.CurrentAuction().Calls().size());
        if (call != jumpCall_) {
            jumpCall_ = call;
            // The form's own steps: tens in the 48-card game, ones in the 80-card one.
            jump_->setSingleStep(std::max(1, g.Rules().bidStep));
            jump_->setMinimum(next);
            jump_->setValue(next);
        }
    }
    continue_->setEnabled(phase == Phase::HandScored || phase == Phase::GameOver ||
                          (phase == Phase::Meld && !driver_->MovePending()) ||
                          (phase == Phase::Widow && IsUser(g.Declarer())));
    continue_->setText(phase == Phase::Meld       ? tr("&Play")
                       : phase == Phase::Widow    ? tr("&Take Widow")
                       : phase == Phase::GameOver ? tr("&New Game")
                                                  : tr("&Continue"));
    // Where three play, the bidder concedes and lays away.
    const bool three = g.Seats() == 3;
    throwIn_->setText(three ? tr("&Concede") : tr("&Throw In"));
    throwIn_->setAccessibleName(three ? tr("Concede: the bidder loses the bid")
                                      : tr("Throw the hand in: the declarers lose the bid"));
    throwIn_->setEnabled(phase == Phase::Meld && IsUser(g.Declarer()));
    passCards_->setText(three ? tr("Lay A&way") : tr("Pass C&ards"));
    passCards_->setAccessibleName(three ? tr("Lay the picked cards away") : tr("Pass the picked cards to partner"));
    const bool userPasses =
        userToAct && (phase == Phase::PassToDeclarer || phase == Phase::PassBack || phase == Phase::LayAway);
    passCards_->setEnabled(userPasses && CardCount(driver_->Selected()) == g.PassCount());
    hint_->setEnabled(settings().hints && userToAct && (phase == Phase::Play || phase == Phase::Auction));
    undo_->setEnabled(phase != Phase::HandScored && phase != Phase::GameOver);
    lookBackButton_->setEnabled(phase == Phase::Play);
    review_->setEnabled((phase == Phase::HandScored || phase == Phase::GameOver) && !g.Sheet().empty() &&
                        WhyNotReviewed(g.Rules(), g.Sheet().back()).empty());

    // The status line: what to do next.
    QString text = Q(StatusLine(g, UserSeats(), CardCount(driver_->Selected())));
    if (!driver_->Message().empty()) text = Q(driver_->Message()) + QStringLiteral("  ") + text;
    status_->setText(text);
    ShowSheet();
    KeepCardFocus();
}

void GameWindow::KeepCardFocus() {
    // During play the keyboard stays on the cards: on a card that can be
    // played when it is the user's turn, else on any card of the user's.
    const Game& g = game();
    if (g.CurrentPhase() != Phase::Play || !isActiveWindow()) return;
    auto* focused = qobject_cast<GameCard*>(focusWidget());
    const bool userTurn = IsUser(g.ToAct());
    auto playable = [&](GameCard* card) {
        return card->isVisible() && card->seat() == g.ToAct() && (g.Play().Legal() & KindFlag(card->kind())) != 0;
    };
    if (focused != nullptr && focused->isVisible() && (!userTurn || playable(focused))) return;
    for (GameCard* card : table_->Cards())
        if (userTurn ? playable(card) : card->isVisible()) {
            card->setFocus();
            return;
        }
}

void GameWindow::ShowSheet() {
    const auto& sheet = game().Sheet();
    const bool three = game().Seats() == 3;
    sheet_->horizontalHeaderItem(2)->setToolTip(three ? tr("South / West / East") : tr("South-North / East-West"));
    sheet_->horizontalHeaderItem(4)->setText(three ? tr("Bidder") : tr("Declarer"));
    if (sheet_->rowCount() == static_cast<int>(sheet.size())) return;
    sheet_->setRowCount(static_cast<int>(sheet.size()));
    for (int r = 0; r < static_cast<int>(sheet.size()); ++r) {
        const SheetLine& l = sheet[static_cast<std::size_t>(r)];
        auto sides = [three](const std::array<int, 3>& v) {
            return three ? QStringLiteral("%1 / %2 / %3").arg(v[0]).arg(v[1]).arg(v[2])
                         : QStringLiteral("%1 / %2").arg(v[0]).arg(v[1]);
        };
        const QStringList cells{QString::number(r + 1) + (l.practice ? QStringLiteral(" *") : QString()),
                                Q(l.result),
                                sides(l.totals),
                                QString::number(l.bid),
                                SeatName(l.declarer),
                                SuitText(l.trump),
                                sides(l.meld),
                                sides(l.cardPoints),
                                sides(l.score),
                                SeatName(l.dealer) + QStringLiteral(", ") + Q(l.dealCode)};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            // A screen reader hears which side each figure is.
            const QString part0 = cells[c].section(QStringLiteral(" / "), 0, 0);
            const QString part1 = cells[c].section(QStringLiteral(" / "), 1, 1);
            const QString spoken =
                c != 2 && (c < 6 || c > 8) ? cells[c]
                : three
                    ? tr("South %1, West %2, East %3").arg(part0, part1, cells[c].section(QStringLiteral(" / "), 2, 2))
                    : tr("South-North %1, East-West %2").arg(part0, part1);
            item->setData(Qt::AccessibleTextRole,
                          sheet_->horizontalHeaderItem(c)->text() + QStringLiteral(": ") + spoken);
            sheet_->setItem(r, c, item);
        }
    }
    sheet_->resizeColumnsToContents();
}

void GameWindow::showEvent(QShowEvent* event) {
    PracticeWindow::showEvent(event);
    closeAgreed_ = false;
    Drive();
}

bool GameWindow::RestorePlace() {
    // Where the last run left the window, if that still stands whole on a screen.
    const QByteArray kept = QSettings().value(QStringLiteral("windows/game")).toByteArray();
    if (kept.isEmpty() || !restoreGeometry(kept)) return false;
    const QScreen* on = screen();
    if (on != nullptr && on->availableGeometry().contains(frameGeometry())) return true;
    return false;
}

void GameWindow::closeEvent(QCloseEvent* event) {
    if (!MayClose()) {
        event->ignore();
        return;
    }
    QSettings().setValue(QStringLiteral("windows/game"), saveGeometry());
    StopWorker();
    due_->stop();
    event->accept();
}

}  // namespace vantrel
