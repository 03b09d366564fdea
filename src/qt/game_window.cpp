#include "qt/game_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
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
QString SeatText(int seat) {
    return seat >= 0 && seat < 4 ? Q(kSeats[static_cast<std::size_t>(seat)].name) : QString();
}
QString SuitText(int suit) {
    return suit >= 0 && suit < 4 ? Q(kSuitNames[static_cast<std::size_t>(suit)]) + QStringLiteral(" ") +
                                       Q(kSuitSymbols[static_cast<std::size_t>(suit)])
                                 : QStringLiteral("\u2014");
}
QString SideText(int side) { return side == 0 ? QObject::tr("South-North") : QObject::tr("East-West"); }
qint64 Now() { return QDateTime::currentMSecsSinceEpoch(); }

}  // namespace

// At most about 1000 by 700: on a 1280x800 screen the window fits with its
// frame, and beside the table where the screen has room.
GameWindow::GameWindow(PlayRecord& record, QWidget* parent)
    : PracticeWindow(parent, QSize(1000, 700)), record_(record) {
    setObjectName(QStringLiteral("GameWindow"));
    setWindowTitle(tr("Game"));
    game_ = std::make_unique<Game>(RuleSet::Standard(), 1);
    poll_ = new QTimer(this);
    poll_->setInterval(15);
    connect(poll_, &QTimer::timeout, this, &GameWindow::Poll);
    BuildWidgets();
    // Until a game is dealt there is nothing to do but start one.
    for (QWidget* control : std::initializer_list<QWidget*>{pass_, bidNext_, jump_, bidJump_, continue_, throwIn_,
                                                            passCards_, hint_, undo_, lookBackButton_})
        control->setEnabled(false);
}

GameWindow::~GameWindow() { StopWorker(); }

void GameWindow::BuildWidgets() {
    table_ = new GameTable(this);
    connect(table_, &GameTable::cardClicked, this, &GameWindow::UserCard);
    connect(table_, &GameTable::tableClicked, this, [this] {
        const Phase phase = game_->CurrentPhase();
        if (lookBack_) {
            lookBack_ = false;
            Refresh();
        } else if (phase == Phase::HandScored || (phase == Phase::Meld && !IsUser(game_->Declarer()))) {
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
    bidNext_ = button(tr("&Bid"), tr("Bid the next bid"), [this] { UserBid(game_->CurrentAuction().MinimumBid()); });
    jump_ = new QSpinBox(this);
    jump_->setRange(200, 2000);
    jump_->setSingleStep(10);
    jump_->setAccessibleName(tr("A jump bid"));
    bidJump_ = button(tr("&Jump"), tr("Bid the amount in the box"), [this] { UserBid(jump_->value()); });
    continue_ = button(tr("&Continue"), tr("Continue"), [this] { UserContinue(); });
    throwIn_ = button(tr("&Throw In"), tr("Throw the hand in: the declarers lose the bid"), [this] { UserThrowIn(); });
    passCards_ = button(tr("Pass C&ards"), tr("Pass the picked cards to partner"), [this] { UserPassCards(); });
    hint_ = button(tr("&Hint"), tr("Hint"), [this] { Hint(); });
    undo_ = button(tr("&Undo"), tr("Undo the last move of yours"), [this] { UserUndo(); });
    lookBackButton_ = button(tr("&Look Back"), tr("Show the last trick and the meld again"), [this] {
        lookBack_ = !lookBack_;
        Refresh();
    });
    auto* newGame = button(tr("&New Game\u2026"), tr("Start a new game"), [this] { AskNewGame(); });

    sheet_ = new QTableWidget(0, 15, this);
    sheet_->setHorizontalHeaderLabels({tr("Hand"), tr("Dealer"), tr("Declarer"), tr("Bid"), tr("Trump"), tr("Meld S-N"),
                                       tr("Meld E-W"), tr("Points S-N"), tr("Points E-W"), tr("Score S-N"),
                                       tr("Score E-W"), tr("Total S-N"), tr("Total E-W"), tr("Result"),
                                       tr("Deal code")});
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
    handLayout->addWidget(newGame);

    auto* sheetPage = new QWidget(this);
    auto* sheetLayout = new QVBoxLayout(sheetPage);
    sheetLayout->addWidget(sheet_, 1);
    auto* sheetButtons = new QHBoxLayout;
    sheetButtons->addWidget(copy);
    sheetButtons->addWidget(replay);
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
    pending_.reset();
    settings_ = settings;
    seed_ = seed;
    abandoned_ = false;
    game_ = std::make_unique<Game>(settings.rules, seed, 3);
    selected_ = 0;
    lookBack_ = false;
    message_.clear();
    recordedCards_ = 0;
    lastMoveAt_ = Now();
    tabs_->setCurrentIndex(0);
    poll_->start();
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
    if (!MayAbandon()) return false;
    NewGameDialog dialog(KeptSettings(), this);
    if (dialog.exec() != QDialog::Accepted) return false;
    const GameSettings chosen = dialog.Settings();
    QSettings stored;
    stored.beginGroup(QStringLiteral("game"));
    for (const auto& [key, value] : chosen.ToSettings()) stored.setValue(Q(key), Q(value));
    NewGame(chosen, NewSeed());
    return true;
}

bool GameWindow::InProgress() const {
    return !abandoned_ && game_->CurrentPhase() != Phase::GameOver &&
           (!game_->CurrentAuction().Calls().empty() || !game_->Sheet().empty());
}

bool GameWindow::MayAbandon() {
    if (!InProgress()) return true;
    abandoned_ = QMessageBox::question(this, tr("Game"), tr("Abandon this game?"), QMessageBox::Yes | QMessageBox::No,
                                       QMessageBox::No) == QMessageBox::Yes;
    return abandoned_;
}

void GameWindow::StopWorker() {
    worker_.Stop();
    const std::lock_guard lock(resultMutex_);
    result_.reset();
    hintResult_.reset();
}

void GameWindow::Changed() {
    ++generation_;
    if (game_->CurrentPhase() == Phase::Meld && meldShownAt_ == 0) meldShownAt_ = Now();
    if (game_->CurrentPhase() != Phase::Meld) meldShownAt_ = 0;
    FeedRecord(false);
    Refresh();
    Drive();
}

void GameWindow::Drive() {
    if (worker_.Running() || pending_) return;
    const Game& g = *game_;
    const int seat = g.ToAct();
    if (g.CurrentPhase() == Phase::Meld && !IsUser(g.Declarer())) {
        const ComputerMove move =
            ChooseMove(g, g.Declarer(), LevelOf(settings_.seats[static_cast<std::size_t>(g.Declarer())]), seed_);
        if (move.kind == ComputerMove::ThrowIn) {
            pending_ = move;
            workerSeat_ = g.Declarer();
        }
        return;
    }
    if (seat < 0) return;
    if (IsUser(seat)) {
        if (g.CurrentPhase() == Phase::Trump)
            QTimer::singleShot(0, this, [this, gen = generation_, seat] {
                if (gen != generation_) return;
                const int suit = AskTrump(seat);
                if (suit >= 0) UserTrump(suit);
            });
        return;
    }
    const Game copy = g;
    const Level level = LevelOf(settings_.seats[static_cast<std::size_t>(seat)]);
    const std::uint64_t seed = seed_ * 1000003 + generation_;
    workerGeneration_ = generation_;
    workerSeat_ = seat;
    worker_.Start([this, copy, seat, level, seed](const std::atomic<bool>& cancel) {
        ComputerMove move = ChooseMove(copy, seat, level, seed, &cancel);
        const std::lock_guard lock(resultMutex_);
        result_ = std::move(move);
    });
}

void GameWindow::Poll() {
    if (worker_.Collect()) {
        std::optional<ComputerMove> move;
        std::optional<QString> hint;
        {
            const std::lock_guard lock(resultMutex_);
            move = std::move(result_);
            hint = std::move(hintResult_);
            result_.reset();
            hintResult_.reset();
        }
        if (hint) {
            message_ = *hint;
            Refresh();
            // The keyboard goes to the card the hint names.
            for (GameCard* card : table_->Cards())
                if (card->isVisible() && card->seat() == game_->ToAct() && card->kind() == hintCard_) {
                    card->setFocus();
                    break;
                }
        }
        if (move && workerGeneration_ == generation_) pending_ = std::move(move);
        if (!pending_) Drive();
    }
    const int pace = settings_.PaceMilliseconds();
    if (pending_ && Now() - lastMoveAt_ >= pace) {
        const ComputerMove move = *pending_;
        pending_.reset();
        const bool trickEnds = game_->CurrentPhase() == Phase::Play && game_->Play().Trick().size() == 3;
        if (ApplyMove(*game_, workerSeat_, move).empty()) {
            // A finished trick stays in view a while before the next lead.
            lastMoveAt_ = Now() + (trickEnds ? 2 * pace : 0);
            if (move.kind == ComputerMove::Bid || move.kind == ComputerMove::Pass) message_.clear();
        }
        Changed();
        return;
    }
    if (game_->CurrentPhase() == Phase::Meld && !IsUser(game_->Declarer()) && !pending_ && meldShownAt_ > 0 &&
        Now() - meldShownAt_ >= std::max(1500, 6 * pace)) {
        game_->Continue();
        lastMoveAt_ = Now();
        Changed();
    }
}

int GameWindow::AskTrump(int seat) {
    QDialog dialog(this);
    dialog.setWindowTitle(tr("Name Trump"));
    auto* layout = new QVBoxLayout(&dialog);
    const int bid = game_->CurrentAuction().HighBid();
    layout->addWidget(new QLabel(tr("You won the bid at %1. Name trump:").arg(bid), &dialog));
    ChanceTally chance;
    if (settings_.hints) {
        ChanceRequest request;
        request.hand = game_->HandOf(seat);
        request.rules = settings_.rules;
        request.deals = 2000;
        request.seed = seed_;
        chance = ChanceToMake(request);
    }
    int chosen = -1;
    for (int suit = 0; suit < 4; ++suit) {
        QString text = SuitText(suit);
        if (settings_.hints)
            text += tr(" \u2014 makes %1 %2 of the time")
                        .arg(bid)
                        .arg(Q(std::to_string(static_cast<int>(std::lround(100 * chance.Chance(suit, bid)))) + "%"));
        auto* b = new QPushButton(text, &dialog);
        b->setAccessibleName(text);
        connect(b, &QPushButton::clicked, &dialog, [&dialog, &chosen, suit] {
            chosen = suit;
            dialog.accept();
        });
        layout->addWidget(b);
    }
    dialog.exec();
    return chosen;
}

void GameWindow::UserBid(int amount) {
    const int seat = game_->ToAct();
    if (!IsUser(seat) || game_->CurrentPhase() != Phase::Auction) return;
    const std::string said = game_->Bid(seat, amount);
    message_ = Q(said);
    lastMoveAt_ = Now();
    Changed();
}

void GameWindow::UserPass() {
    const int seat = game_->ToAct();
    if (!IsUser(seat) || game_->CurrentPhase() != Phase::Auction) return;
    game_->Pass(seat);
    message_.clear();
    lastMoveAt_ = Now();
    Changed();
}

void GameWindow::UserTrump(int suit) {
    const int seat = game_->ToAct();
    if (!IsUser(seat)) return;
    message_ = Q(game_->NameTrump(seat, suit));
    lastMoveAt_ = Now();
    Changed();
}

void GameWindow::UserCard(int seat, int kind) {
    const Phase phase = game_->CurrentPhase();
    if ((phase == Phase::PassToDeclarer || phase == Phase::PassBack) && seat == game_->ToAct() && IsUser(seat)) {
        // Picking cards to pass: a click picks a card or puts it back.
        const int picked = CountOf(selected_, kind);
        if (picked < CountOf(game_->HandOf(seat), kind) && CardCount(selected_) < game_->PassCount())
            selected_ += KindBit(kind);
        else if (picked > 0)
            selected_ -= static_cast<HandCounts>(picked) * KindBit(kind);
        Refresh();
        return;
    }
    if (phase != Phase::Play) return;
    if (seat != game_->ToAct()) {
        message_ = tr("It is %1's turn.").arg(SeatText(game_->ToAct()));
        Refresh();
        return;
    }
    const std::string said = game_->PlayCard(seat, kind);
    message_ = Q(said);
    if (said.empty()) lastMoveAt_ = Now() + (game_->Play().Trick().empty() ? settings_.PaceMilliseconds() : 0);
    lookBack_ = false;
    Changed();
}

void GameWindow::UserPassCards() {
    const int seat = game_->ToAct();
    if (!IsUser(seat)) return;
    const std::string said = game_->PassCards(seat, selected_);
    message_ = Q(said);
    if (said.empty()) selected_ = 0;
    Changed();
}

void GameWindow::UserThrowIn() {
    if (game_->CurrentPhase() != Phase::Meld || !IsUser(game_->Declarer())) return;
    message_ = Q(game_->ThrowIn(game_->Declarer()));
    Changed();
}

void GameWindow::UserContinue() {
    if (game_->CurrentPhase() == Phase::GameOver) {
        AskNewGame();
        return;
    }
    if (game_->CurrentPhase() != Phase::Meld && game_->CurrentPhase() != Phase::HandScored) return;
    message_ = Q(game_->Continue());
    lastMoveAt_ = Now();
    Changed();
}

void GameWindow::UserUndo() {
    StopWorker();
    pending_.reset();
    if (!game_->Undo(UserSeats())) {
        message_ = tr("Nothing of yours to take back in this hand.");
        Refresh();
        Drive();
        return;
    }
    message_ = tr("Taken back.");
    selected_ = 0;
    FeedRecord(true);
    Changed();
}

void GameWindow::Hint() {
    if (!settings_.hints || worker_.Running()) return;
    const int seat = game_->ToAct();
    if (!IsUser(seat)) return;
    if (game_->CurrentPhase() == Phase::Play) {
        const SeatView view = game_->ViewOf(seat);
        message_ = tr("Thinking\u2026");
        worker_.Start([this, view](const std::atomic<bool>& cancel) {
            const SearchChoice choice = SearchCard(view, BudgetOf(Level::Normal), 7, &cancel);
            const QString text = tr("Hint: play the %1; your side can expect about %2 more card points.")
                                     .arg(Q(KindText(choice.card)))
                                     .arg(std::lround(choice.expected));
            const std::lock_guard lock(resultMutex_);
            hintResult_ = text;
            hintCard_ = choice.card;
        });
        workerGeneration_ = ~std::uint64_t{0};
        Refresh();
        return;
    }
    if (game_->CurrentPhase() == Phase::Auction) {
        ChanceRequest request;
        request.hand = game_->HandOf(seat);
        request.rules = settings_.rules;
        request.deals = 2000;
        request.seed = seed_;
        const ChanceTally tally = ChanceToMake(request);
        const std::string text = ChanceText(ChanceRows(tally, settings_.rules), BestBidOf(tally, settings_.rules));
        // The table in columns, unwrapped.
        QMessageBox box(QMessageBox::Information, tr("Hint: the chance to make"),
                        QStringLiteral("<pre>%1</pre>").arg(Q(text).toHtmlEscaped()), QMessageBox::Ok, this);
        box.setTextFormat(Qt::RichText);
        box.exec();
    }
}

QString GameWindow::DealFromCode(const QString& code) {
    const std::string said = game_->DealFromCode(code.toStdString());
    if (said.empty()) Changed();
    return Q(said);
}

void GameWindow::ReplaySelectedLine() {
    const int row = sheet_->currentRow();
    if (row < 0) {
        message_ = tr("Choose a hand on the score sheet to play its deal again.");
        Refresh();
        return;
    }
    const std::string said = game_->ReplayLine(static_cast<std::size_t>(row));
    message_ = Q(said);
    if (said.empty()) tabs_->setCurrentIndex(0);
    Changed();
}

QString GameWindow::sheetText() const { return Q(game_->SheetText()); }

void GameWindow::FeedRecord(bool start) {
    const Game& g = *game_;
    const bool played =
        g.CurrentPhase() == Phase::Play ||
        ((g.CurrentPhase() == Phase::HandScored || g.CurrentPhase() == Phase::GameOver) && !g.CardsPlayed().empty());
    if (!played) {
        recordedCards_ = 0;
        return;
    }
    if (g.CardsPlayed().size() < recordedCards_) start = true;
    if (start || recordedCards_ == 0) {
        record_.Start(DeckOfHands(g.HandsInPlay()), g.Trump() + 1,
                      std::string(kSeats[static_cast<std::size_t>(g.Declarer())].letter), g.CurrentAuction().HighBid(),
                      g.DealCode(), PlayRecord::Source::Game);
        recordedCards_ = 0;
    }
    // The seats of the cards, replayed from the hands as the play began.
    PlayState replay(g.Rules(), g.HandsInPlay(), g.Trump(), g.Declarer());
    for (std::size_t i = 0; i < g.CardsPlayed().size(); ++i) {
        const int seat = replay.ToPlay();
        const int kind = g.CardsPlayed()[i];
        replay.Make(kind);
        if (i >= recordedCards_) record_.CardPlayed(seat, kind);
    }
    recordedCards_ = g.CardsPlayed().size();
    emit recordChanged();
}

QString GameWindow::status() const { return status_->text(); }

void GameWindow::Refresh() {
    const Game& g = *game_;
    const Phase phase = g.CurrentPhase();
    const int seat = g.ToAct();
    const bool userToAct = IsUser(seat);

    GameTable::Look look;
    look.userSeats = UserSeats();
    look.showAll = settings_.showAll;
    look.lookBack = lookBack_ && phase == Phase::Play;
    look.selected = selected_;
    for (const Auction::Call& call : g.CurrentAuction().Calls())
        look.lastCalls[static_cast<std::size_t>(call.seat)] = call.bid > 0 ? std::to_string(call.bid) : "pass";
    table_->Show(g, look);

    // The bidding, with each computer call's reason.
    bidding_->clear();
    bidding_->addItem(tr("%1 deals; standing bid %2").arg(SeatText(g.Dealer())).arg(g.Rules().standingBid));
    const auto& calls = g.CurrentAuction().Calls();
    for (std::size_t i = 0; i < calls.size(); ++i) {
        QString line = SeatText(calls[i].seat) + QStringLiteral(": ") +
                       (calls[i].bid > 0 ? QString::number(calls[i].bid) : tr("pass"));
        if (i < g.CallReasons().size() && !g.CallReasons()[i].empty())
            line += QStringLiteral(" \u2014 ") + Q(g.CallReasons()[i]);
        bidding_->addItem(line);
    }
    bidding_->scrollToBottom();

    // The score panel.
    QString panel =
        tr("<b>Hand %1</b>%2<br>").arg(g.Sheet().size() + 1).arg(g.Practice() ? tr(" (practice)") : QString());
    if (phase != Phase::Auction) {
        panel += tr("Bid: %1 by %2<br>Trump: %3<br>")
                     .arg(g.CurrentAuction().HighBid())
                     .arg(SeatText(g.Declarer()), SuitText(g.Trump()));
    }
    if (phase >= Phase::Meld) {
        const auto meld = g.SideMeld();
        panel += tr("Meld: S-N %1, E-W %2<br>").arg(meld[0]).arg(meld[1]);
        panel += tr("Card points: S-N %1, E-W %2<br>").arg(g.Play().Points()[0]).arg(g.Play().Points()[1]);
    }
    panel += tr("<b>Game</b> (to %1): S-N %2, E-W %3").arg(g.Rules().gameTarget).arg(g.Totals()[0]).arg(g.Totals()[1]);
    score_->setText(panel);

    // The controls that fit the moment.
    const bool userBids = userToAct && phase == Phase::Auction;
    pass_->setEnabled(userBids);
    bidNext_->setEnabled(userBids);
    jump_->setEnabled(userBids);
    bidJump_->setEnabled(userBids);
    if (phase == Phase::Auction) {
        bidNext_->setText(tr("&Bid %1").arg(g.CurrentAuction().MinimumBid()));
        jump_->setMinimum(g.CurrentAuction().MinimumBid());
    }
    continue_->setEnabled(phase == Phase::HandScored || phase == Phase::GameOver ||
                          (phase == Phase::Meld && pending_ == std::nullopt));
    continue_->setText(phase == Phase::Meld       ? tr("&Play")
                       : phase == Phase::GameOver ? tr("&New Game")
                                                  : tr("&Continue"));
    throwIn_->setEnabled(phase == Phase::Meld && IsUser(g.Declarer()));
    const bool userPasses = userToAct && (phase == Phase::PassToDeclarer || phase == Phase::PassBack);
    passCards_->setEnabled(userPasses && CardCount(selected_) == g.PassCount());
    hint_->setEnabled(settings_.hints && userToAct && (phase == Phase::Play || phase == Phase::Auction));
    undo_->setEnabled(phase != Phase::HandScored && phase != Phase::GameOver);
    lookBackButton_->setEnabled(phase == Phase::Play);

    // The status line: what to do next.
    QString text;
    const QString who = SeatText(seat);
    switch (phase) {
        case Phase::Auction:
            text = userToAct
                       ? tr("Your call, %1: bid %2 or more, or pass.").arg(who).arg(g.CurrentAuction().MinimumBid())
                       : tr("%1 is to call\u2026").arg(who);
            break;
        case Phase::Trump:
            text = userToAct
                       ? tr("You won the bid at %1: name trump.").arg(g.CurrentAuction().HighBid())
                       : tr("%1 won the bid at %2 and names trump\u2026").arg(who).arg(g.CurrentAuction().HighBid());
            break;
        case Phase::PassToDeclarer:
        case Phase::PassBack:
            text = userToAct ? tr("Pick %1 cards to pass to %2, then press Pass Cards (%3 picked).")
                                   .arg(g.PassCount())
                                   .arg(SeatText(PartnerSeat(seat)))
                                   .arg(CardCount(selected_))
                             : tr("%1 is passing cards\u2026").arg(who);
            break;
        case Phase::Meld:
            text = IsUser(g.Declarer())
                       ? tr("The meld is on the table. Press Play to begin, or Throw In to give up the bid.")
                       : tr("The meld is on the table. Click the table to begin the play.");
            break;
        case Phase::Play:
            text = userToAct ? tr("Your card, %1: the raised cards can be played.").arg(who)
                             : tr("%1 to play\u2026").arg(who);
            break;
        case Phase::HandScored: {
            const SheetLine& line = g.Sheet().back();
            text = tr("%1 for %2 at %3. Click the table or press Continue for the next deal.")
                       .arg(Q(line.result), SideText(SideOf(line.declarer)))
                       .arg(line.bid);
            break;
        }
        case Phase::GameOver:
            text = tr("%1 win the game, %2 to %3. Press New Game to play again.")
                       .arg(SideText(g.Winner()))
                       .arg(g.Totals()[static_cast<std::size_t>(g.Winner())])
                       .arg(g.Totals()[static_cast<std::size_t>(1 - g.Winner())]);
            break;
    }
    if (!message_.isEmpty()) text = message_ + QStringLiteral("  ") + text;
    status_->setText(text);
    ShowSheet();
    KeepCardFocus();
}

void GameWindow::KeepCardFocus() {
    // During play the keyboard stays on the cards: on a card that can be
    // played when it is the user's turn, else on any card of the user's.
    const Game& g = *game_;
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
    const auto& sheet = game_->Sheet();
    if (sheet_->rowCount() == static_cast<int>(sheet.size())) return;
    sheet_->setRowCount(static_cast<int>(sheet.size()));
    for (int r = 0; r < static_cast<int>(sheet.size()); ++r) {
        const SheetLine& l = sheet[static_cast<std::size_t>(r)];
        const QStringList cells{QString::number(r + 1) + (l.practice ? QStringLiteral(" *") : QString()),
                                SeatText(l.dealer),
                                SeatText(l.declarer),
                                QString::number(l.bid),
                                SuitText(l.trump),
                                QString::number(l.meld[0]),
                                QString::number(l.meld[1]),
                                QString::number(l.cardPoints[0]),
                                QString::number(l.cardPoints[1]),
                                QString::number(l.score[0]),
                                QString::number(l.score[1]),
                                QString::number(l.totals[0]),
                                QString::number(l.totals[1]),
                                Q(l.result),
                                Q(l.dealCode)};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setData(Qt::AccessibleTextRole,
                          sheet_->horizontalHeaderItem(c)->text() + QStringLiteral(": ") + cells[c]);
            sheet_->setItem(r, c, item);
        }
    }
    sheet_->resizeColumnsToContents();
}

void GameWindow::showEvent(QShowEvent* event) {
    PracticeWindow::showEvent(event);
    poll_->start();
    Drive();
}

void GameWindow::closeEvent(QCloseEvent* event) {
    if (!MayAbandon()) {
        event->ignore();
        return;
    }
    StopWorker();
    pending_.reset();
    poll_->stop();
    event->accept();
}

}  // namespace vantrel
