// The game window on the offscreen platform: one hand from the deal to the
// score sheet, the user's moves sent by the test, the computers thinking off
// the GUI thread, the play record fed the hand.
#include <sqlite3.h>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTableWidget>
#include <QtTest>

#include <unistd.h>
#include <bit>

#include "qt/drills_window.h"
#include "qt/game_table.h"
#include "qt/game_window.h"
#include "qt/history_window.h"
#include "qt/new_game_dialog.h"
#include "qt/review_window.h"

using namespace vantrel;

namespace {

// A card is played by a click on the part of it in view: the first the rules allow.
void ClickLegalCard(GameWindow& window) {
    for (GameCard* card : window.table()->Cards())
        if (card->isVisible() && (window.game().Play().Legal() & KindFlag(card->kind())) != 0) {
            QTest::mouseClick(card, Qt::LeftButton, {}, QPoint(card->width() / 10, card->height() / 2));
            return;
        }
}

// A history in a folder of its own, emptied first.
std::unique_ptr<GameHistory> FreshHistory(const QString& folder, std::string& problem) {
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    return GameHistory::Open(QDir(folder).filePath(QStringLiteral("history.sqlite")).toStdString(), &problem);
}

}  // namespace

class GameWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void aHandFromTheDealToTheScoreSheet() {
        PlayRecord record;
        GameWindow window(record, nullptr);
        GameSettings settings;
        settings.seats = {SeatPlayer::You, SeatPlayer::Easy, SeatPlayer::Easy, SeatPlayer::Easy};
        settings.pace = Pace::Fast;
        window.show();
        window.NewGame(settings, 4);
        QVERIFY(window.status().contains("Your call, South: bid 200 or more, or pass."));
        // Waiting for the user, the window runs no timer.
        auto* due = window.findChild<QTimer*>(QStringLiteral("due"));
        QVERIFY(due != nullptr && !due->isActive());
        bool refusedOnce = false;
        QElapsedTimer clock;
        clock.start();
        while (window.game().Sheet().empty() && clock.elapsed() < 60000) {
            const Game& game = window.game();
            if (game.ToAct() == 0 && game.CurrentPhase() == Phase::Auction) window.UserPass();
            if (game.ToAct() == 0 && game.CurrentPhase() == Phase::Play) {
                const KindMask legal = game.Play().Legal();
                const KindMask illegal = HeldKinds(game.HandOf(0)) & ~legal;
                if (!refusedOnce && illegal != 0) {
                    // A card against the rules is refused, and the status says why.
                    const Game before = game;
                    window.UserCard(0, std::countr_zero(illegal));
                    QVERIFY(window.game() == before);
                    QVERIFY2(window.status().startsWith(QStringLiteral("You ")), qPrintable(window.status()));
                    refusedOnce = true;
                }
                // The cards that can be played are named so for a screen reader.
                for (GameCard* card : window.table()->Cards())
                    if (card->isVisible())
                        QCOMPARE(card->accessibleName().endsWith(QStringLiteral(", can be played")),
                                 (legal & KindFlag(card->kind())) != 0);
                window.UserCard(0, std::countr_zero(legal));
            }
            QTest::qWait(20);
        }
        QCOMPARE(window.game().Sheet().size(), std::size_t{1});
        QVERIFY(window.status().contains(QStringLiteral("Click the table or press Continue for the next deal.")));
        QVERIFY(window.sheetText().startsWith(QStringLiteral("Hand  Dealer")));
        // The play record followed the hand, trick by trick.
        if (window.game().Sheet().front().result != "Thrown in") {
            QCOMPARE(record.tricks().size(), std::size_t{12});
            // ... against the auction's bid, with no word of the main window's table.
            const std::string text = record.Text();
            QVERIFY(text.find("the table gave it") == std::string::npos);
            QVERIFY(text.find(" against the bid " + std::to_string(window.game().Sheet().front().bid) + ": ") !=
                    std::string::npos);
        }
        // The hand's review, from its last four tricks to keep the test short:
        // every card listed, the small table stepped by the keys, and a
        // review cancelled at once stops unfinished.
        const SheetLine& line = window.game().Sheet().front();
        if (!line.record.plays.empty()) {
            ReviewRequest request = RequestOf(window.game().Rules(), line, {true, false, false, false});
            request.firstTrick = 8;
            request.worlds = 10;
            ReviewWindow review(request, QStringLiteral("test"), nullptr);
            review.show();
            QSignalSpy done(&review, &ReviewWindow::finished);
            // The hand is listed and can be stepped through at once; its
            // figures follow.
            auto* cards = review.findChild<QTableWidget*>(QStringLiteral("cards"));
            QCOMPARE(cards->rowCount(), 16);
            QVERIFY(!review.complete() && cards->item(0, 3)->text().isEmpty());
            cards->setCurrentCell(5, 0);
            QCOMPARE(review.step(), std::size_t{38});
            QVERIFY(done.wait(60000));
            QVERIFY(review.complete());
            QCOMPARE(cards->rowCount(), 16);
            QCOMPARE(cards->item(15, 3)->text().toInt(), review.review().cards.back().parAfter);
            QCOMPARE(cards->currentRow(), 5);
            QVERIFY(review.text().startsWith(QStringLiteral("Hand review: ")));
            QTest::keyClick(&review, Qt::Key_End);
            QCOMPARE(review.step(), std::size_t{48});
            QTest::keyClick(&review, Qt::Key_Left);
            QCOMPARE(review.step(), std::size_t{47});
            QTest::keyClick(&review, Qt::Key_Home);
            QTest::keyClick(&review, Qt::Key_Right);
            QCOMPARE(review.step(), std::size_t{1});
            request.firstTrick = 0;
            ReviewWindow stopped(request, QStringLiteral("test"), nullptr);
            stopped.Cancel();
            QVERIFY(!stopped.complete() && !stopped.running());
            QVERIFY(stopped.text().isEmpty());
        }
        // Undo never reaches into a scored hand.
        window.UserUndo();
        QCOMPARE(window.game().Sheet().size(), std::size_t{1});
        window.UserContinue();
        QCOMPARE(window.game().Dealer(), 0);
    }

    void theHistoryKeepsTheGameResumesItAndShowsItsStatistics() {
        const QString folder = QDir::temp().filePath(QStringLiteral("vantrel-history-window-%1").arg(getpid()));
        std::string problem;
        std::unique_ptr<GameHistory> history = FreshHistory(folder, problem);
        QVERIFY2(history, problem.c_str());
        PlayRecord record;
        GameSettings settings;
        settings.seats = {SeatPlayer::You, SeatPlayer::Easy, SeatPlayer::Easy, SeatPlayer::Easy};
        settings.pace = Pace::Fast;
        auto window = std::make_unique<GameWindow>(record, nullptr);
        window->SetHistory(history.get());
        window->show();
        window->NewGame(settings, 9);
        // The user passes and plays its first legal card until the first
        // hand is scored and two cards of the second are down.
        QElapsedTimer clock;
        clock.start();
        while ((window->game().Sheet().empty() || window->game().CardsPlayed().size() < 2) && clock.elapsed() < 60000) {
            const Game& game = window->game();
            if (game.CurrentPhase() == Phase::HandScored) window->UserContinue();
            if (game.ToAct() == 0 && game.CurrentPhase() == Phase::Auction) window->UserPass();
            if (game.ToAct() == 0 && game.CurrentPhase() == Phase::Play)
                window->UserCard(0, std::countr_zero(game.Play().Legal()));
            QTest::qWait(10);
        }
        QVERIFY(!window->game().Sheet().empty());
        const Game played = window->game();
        const std::int64_t id = window->HistoryId().value();
        window.reset();  // the window closed in mid-hand, as by a crash

        const std::optional<GameSummary> unfinished = history->Unfinished();
        QVERIFY(unfinished && unfinished->id == id);
        QCOMPARE(QString::fromStdString(ResumeQuestion(*unfinished)).left(19), QStringLiteral("Resume the game of "));
        GameWindow resumed(record, nullptr);
        resumed.SetHistory(history.get());
        resumed.show();
        QVERIFY(resumed.Resume(*unfinished, history->Moves(id)));
        QVERIFY(resumed.game() == played);

        // The history window lists the game, its sheet and the figures.
        HistoryWindow historyWindow(*history, nullptr);
        historyWindow.show();
        QCOMPARE(historyWindow.gamesTable()->rowCount(), 1);
        QCOMPARE(historyWindow.gamesTable()->item(0, 6)->text(), QStringLiteral("unfinished"));
        historyWindow.gamesTable()->selectRow(0);
        QCOMPARE(historyWindow.handsTable()->rowCount(), static_cast<int>(played.Sheet().size()));
        auto* figures = historyWindow.findChild<QTableWidget*>(QStringLiteral("figures"));
        QVERIFY(figures != nullptr);
        QCOMPARE(figures->item(1, 0)->text(), QStringLiteral("Hands played"));
        QCOMPARE(figures->item(1, 1)->text(), QString::number(played.Sheet().size()));
        // Filtered to games won, none is left.
        historyWindow.findChild<QComboBox*>(QStringLiteral("result"))->setCurrentIndex(1);
        QCOMPARE(historyWindow.gamesTable()->rowCount(), 0);
        historyWindow.findChild<QComboBox*>(QStringLiteral("result"))->setCurrentIndex(0);
        // Exported and read back, nothing is added twice.
        // The chosen type decides the format and adds its extension to a bare name.
        const QString lines = QDir(folder).filePath(QStringLiteral("games.jsonl"));
        QCOMPARE(historyWindow.Export(QDir(folder).filePath(QStringLiteral("games")), HistoryWindow::Format::JsonLines),
                 QStringLiteral("1 game written as JSON lines to %1.").arg(lines));
        QCOMPARE(historyWindow.Export(QDir(folder).filePath(QStringLiteral("hands")), HistoryWindow::Format::Csv),
                 QStringLiteral("The hands of 1 game written as CSV to %1.")
                     .arg(QDir(folder).filePath(QStringLiteral("hands.csv"))));
        QFile written(lines);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.readLine().startsWith("{\"moves\""));
        QCOMPARE(historyWindow.Import(lines), QStringLiteral("Games added: 0. Already kept: 1."));
        // A hand of the game reviewed from the history, its figures kept.
        if (!played.Sheet().front().record.plays.empty()) {
            ReviewWindow* review = historyWindow.ReviewHand(id, 0);
            QVERIFY(review != nullptr);
            review->Cancel();
        }
        QDir(folder).removeRecursively();
    }

    void aDrillOfTheUsersOwnHandIsAnsweredByTheKeyboard() {
        const QString folder = QDir::temp().filePath(QStringLiteral("vantrel-drills-window-%1").arg(getpid()));
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        const std::string path = QDir(folder).filePath(QStringLiteral("history.sqlite")).toStdString();
        std::string problem;
        std::unique_ptr<GameHistory> history = GameHistory::Open(path, &problem);
        QVERIFY2(history, problem.c_str());
        // A hand of South's, the user's, played out and kept as the driver keeps it.
        GameSettings settings;
        settings.seats = {SeatPlayer::You, SeatPlayer::Easy, SeatPlayer::Easy, SeatPlayer::Easy};
        const std::int64_t id = history->StartGame(settings, 9, "2026-12-02T19:30:00").value();
        Game game(settings.rules, 9, 3);
        std::vector<GameMove> moves;
        while (game.Sheet().empty() || game.Sheet().back().record.plays.empty()) {
            const int seat = game.ToAct();
            const GameMove move = seat < 0 ? GameMove::Of(GameMove::Kind::Continue)
                                           : MoveOf(seat, ChooseMove(game, seat, Level::Easy, 3));
            QCOMPARE(QString::fromStdString(Apply(game, move)), QString());
            moves.push_back(move);
        }
        QVERIFY2(history->Record(id, game, moves), history->Problem().c_str());
        const int hand = static_cast<int>(game.Sheet().size()) - 1;
        ReviewRequest request = RequestOf(settings.rules, game.Sheet().back(), {true, false, false, false});
        request.worlds = 10;
        request.parNodes = 1'000'000;
        HandReview review = ReviewHand(request);
        QVERIFY(review.complete);
        // The first choice South had is a drill, whatever its label.
        for (ReviewedCard& card : review.cards)
            if (card.reviewed && !card.forced) {
                card.label = std::max(card.label, CardLabel::Mistake);
                break;
            }
        // And South's first call, whatever it cost.
        QVERIFY(!review.calls.empty());
        review.calls.front().cost = std::max(review.calls.front().cost, kCostlyCall);
        review.calls.front().conventional = false;
        QVERIFY(history->RecordReview(id, hand, 100, 5, std::nullopt, &review));
        const std::vector<KeptDrill> kept = history->Drills();
        const auto firstCall = std::find_if(
            kept.begin(), kept.end(), [](const KeptDrill& drill) { return drill.question == DrillQuestion::Call; });
        QVERIFY(firstCall != kept.begin() && firstCall != kept.end());

        DrillsWindow window(
            *history, [] { return std::int64_t{20'000}; }, nullptr);
        window.resize(1180, 700);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.question(), QStringLiteral("South to play. What do you play?"));
        const KeptDrill drill = window.Shown().value();
        QCOMPARE(drill.id, kept.front().id);
        const QString shots = QString::fromLocal8Bit(qgetenv("VANTREL_SHOTS"));
        if (!shots.isEmpty()) window.grab().save(shots + QStringLiteral("/drill-asked.png"));
        // The best card, reached by the arrow keys and played by Enter.
        std::vector<GameCard*> cards;
        for (GameCard* card : window.table()->Cards())
            if (card->isVisible()) cards.push_back(card);
        QVERIFY(!cards.empty());
        QCOMPARE(window.focusWidget(), static_cast<QWidget*>(cards.front()));  // the keys start on the hand
        cards.front()->setFocus();
        for (std::size_t step = 0; step < cards.size() && QApplication::focusWidget() != nullptr; ++step) {
            auto* focused = qobject_cast<GameCard*>(QApplication::focusWidget());
            QVERIFY(focused != nullptr && !focused->accessibleName().isEmpty());
            if (focused->kind() == drill.best) break;
            QTest::keyClick(focused, Qt::Key_Right);
        }
        auto* best = qobject_cast<GameCard*>(QApplication::focusWidget());
        QVERIFY(best != nullptr && best->kind() == drill.best);
        QTest::keyClick(best, Qt::Key_Return);
        QVERIFY2(window.grade().startsWith(QStringLiteral("Right. Best: ")), qPrintable(window.grade()));
        QVERIFY(window.grade().contains(QStringLiteral("It comes back tomorrow.")));
        QVERIFY(window.grade().contains(QStringLiteral("Par for South-North with every hand seen: ")));
        QCOMPARE(history->Drills().front().schedule, (DrillSchedule{20'001, 1, 1, 1}));
        QTest::qWait(50);  // the grade's lines laid out
        QVERIFY(window.findChild<QLabel*>(QString(), Qt::FindDirectChildrenOnly) != nullptr);
        if (!shots.isEmpty()) window.grab().save(shots + QStringLiteral("/drill-graded.png"));

        // The call, asked at the bidding as South heard it: the keys start on
        // the first call, Tab reaches the best, Space answers.
        for (std::size_t next = 0; next < kept.size() && window.Shown() && window.Shown()->id != firstCall->id; ++next)
            window.Next();
        const KeptDrill call = window.Shown().value();
        QCOMPARE(call.id, firstCall->id);
        QCOMPARE(window.question(), QStringLiteral("South to call. What do you call?"));
        QVERIFY2(window.grade().startsWith(QStringLiteral("At the table the call was ")), qPrintable(window.grade()));
        QStringList expected;
        for (const CallFigure& figure : call.figures)
            expected << QString::fromStdString(ChoiceText(DrillQuestion::Call, figure));
        QCOMPARE(window.choices(), expected);
        QCOMPARE(window.choices().front(), QStringLiteral("Pass"));
        QTest::qWait(50);  // the choices laid out
        if (!shots.isEmpty()) window.grab().save(shots + QStringLiteral("/drill-call.png"));
        QVERIFY2(!window.Answer(cards.front()->kind()), "a card does not answer a call");
        auto* choice = qobject_cast<QPushButton*>(QApplication::focusWidget());
        QVERIFY(choice != nullptr && choice->text() == QStringLiteral("Pass"));
        const QString bestText = QString::fromStdString(CallText(call.best));
        for (int tab = 0; tab < 5 && choice != nullptr && choice->text() != bestText; ++tab) {
            QTest::keyClick(choice, Qt::Key_Tab);
            choice = qobject_cast<QPushButton*>(QApplication::focusWidget());
        }
        QVERIFY(choice != nullptr && choice->text() == bestText);
        QVERIFY(choice->accessibleName().startsWith(QStringLiteral("Call: ")));
        QTest::keyClick(choice, Qt::Key_Space);
        QVERIFY2(window.grade().startsWith(QStringLiteral("Right. Best: ") + bestText), qPrintable(window.grade()));
        QVERIFY(window.grade().contains(QStringLiteral("Expected margin over the other side, each choice: ")));
        QCOMPARE(history->Drills()[static_cast<std::size_t>(firstCall - kept.begin())].schedule,
                 (DrillSchedule{20'001, 1, 1, 1}));
        QTest::qWait(50);
        if (!shots.isEmpty()) window.grab().save(shots + QStringLiteral("/drill-call-graded.png"));

        // Drills of a theme made in the background, with progress: kept and
        // taken into the day's drills; cancelled, none is kept.
        auto* make = window.findChild<QPushButton*>();
        for (QPushButton* button : window.findChildren<QPushButton*>())
            if (button->accessibleName() == QStringLiteral("Make drills of the chosen theme")) make = button;
        QVERIFY(make != nullptr && make->isEnabled());
        window.MakeDrills();
        window.CancelMaking();
        QTRY_VERIFY_WITH_TIMEOUT(!window.Making(), 10000);
        QCOMPARE(history->Drills().size(), kept.size());
        QTest::mouseClick(make, Qt::LeftButton);
        QVERIFY(window.Making() && !make->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!window.Making(), 60000);
        QCOMPARE(history->Drills().size(), kept.size() + DrillsWindow::kDrillsMade);
        QVERIFY(make->isEnabled());

        // The history's progress counts the answer, under its filter.
        {
            HistoryWindow progress(*history, nullptr);
            auto* figures = progress.findChild<QTableWidget*>(QStringLiteral("progress"));
            QVERIFY(figures != nullptr);
            QCOMPARE(figures->item(0, 1)->text(), QString::number(kept.size()));
            QCOMPARE(figures->item(2, 1)->text(), QStringLiteral("2 (100%)"));  // the card and the call
            QCOMPARE(figures->item(4, 1)->text(), QStringLiteral("1"));
            // A row a theme, the player's own hands first.
            QCOMPARE(figures->rowCount(), 7);
            QCOMPARE(figures->item(5, 0)->text(), QStringLiteral("Your own hands"));
            QVERIFY2(figures->item(5, 1)->text().startsWith(
                         QStringLiteral("%1 drills, 2 answered, best 2 (100%)").arg(kept.size())),
                     qPrintable(figures->item(5, 1)->text()));
            QCOMPARE(figures->item(6, 0)->text(), QStringLiteral("The opening lead as declarer"));
            progress.findChild<QComboBox*>(QStringLiteral("result"))->setCurrentIndex(1);  // games won: none
            QCOMPARE(figures->item(1, 1)->text(), QStringLiteral("0"));
        }

        // A game whose moves no longer replay: its drills are skipped with
        // a line saying why, and kept as they are.
        history.reset();
        sqlite3* db = nullptr;
        sqlite3_open(path.c_str(), &db);
        QCOMPARE(sqlite3_exec(db, "UPDATE moves SET value = 99 WHERE kind = 'play'", nullptr, nullptr, nullptr),
                 SQLITE_OK);
        sqlite3_close(db);
        history = GameHistory::Open(path, &problem);
        QVERIFY2(history, problem.c_str());
        DrillsWindow damaged(
            *history, [] { return std::int64_t{20'001}; }, nullptr);
        // The drills made on fresh deals go on.
        // The call's bidding still replays; the card's play does not.
        QVERIFY(damaged.Shown() && damaged.Shown()->question == DrillQuestion::Call);
        damaged.Next();
        QVERIFY(damaged.Shown() && damaged.Shown()->generated);
        QCOMPARE(damaged.question(), QStringLiteral("%1 to play. What do you play?")
                                         .arg(QString::fromStdString(SeatName(damaged.Shown()->seat))));
        QVERIFY2(damaged.skipped().contains(QStringLiteral("skipped: The game's moves no longer replay: move ")),
                 qPrintable(damaged.skipped()));
        QCOMPARE(history->Drills().size(), kept.size() + DrillsWindow::kDrillsMade);
        QDir(folder).removeRecursively();
    }

    void theNewGameDialogSaysHowThePlayRulesCombine() {
        NewGameDialog dialog(GameSettings{}, nullptr);
        auto* line = dialog.findChild<QLabel*>(QStringLiteral("playRulesLine"));
        QVERIFY(line != nullptr);
        QVERIFY(line->text().contains(QStringLiteral("follow it and beat its best card")));
        QCheckBox* follow = nullptr;
        for (QCheckBox* box : dialog.findChildren<QCheckBox*>())
            if (box->text() == QStringLiteral("Follow the suit led")) follow = box;
        QVERIFY(follow != nullptr);
        follow->setChecked(false);
        QVERIFY2(line->text().contains(QStringLiteral("play any card, but one of that suit must beat its best card")),
                 qPrintable(line->text()));
        QVERIFY(!dialog.Settings().rules.play.followSuit);
    }

    void aThreeHandedGameIsPlayedReviewedKeptAndResumedInTheWindow() {
        // The form brings its own rules and seats: East in the third row, no
        // North, the user in South alone, no cards passed between partners.
        NewGameDialog dialog(GameSettings{}, nullptr);
        auto* form = dialog.findChild<QComboBox*>(QStringLiteral("form"));
        QVERIFY(form != nullptr);
        form->setCurrentIndex(2);
        GameSettings settings = dialog.Settings();
        QVERIFY(settings.rules == RuleSet::ThreeHanded());
        QCOMPARE(settings.UserSeats(), 1u);
        QStringList seatNames;
        for (QComboBox* combo : dialog.findChildren<QComboBox*>())
            if (combo->accessibleName().startsWith(QStringLiteral("Who plays")) && combo->isVisibleTo(&dialog))
                seatNames << combo->accessibleName();
        QCOMPARE(seatNames, (QStringList{"Who plays South", "Who plays West", "Who plays East"}));
        int threeHandedRules = 0;
        for (QCheckBox* box : dialog.findChildren<QCheckBox*>())
            threeHandedRules +=
                box->text().startsWith(QStringLiteral("Only the bidder melds")) && box->isVisibleTo(&dialog);
        QCOMPARE(threeHandedRules, 1);

        const QString folder = QDir::temp().filePath(QStringLiteral("vantrel-history-three-%1").arg(getpid()));
        std::string problem;
        std::unique_ptr<GameHistory> history = FreshHistory(folder, problem);
        QVERIFY2(history, problem.c_str());
        settings.seats = {SeatPlayer::You, SeatPlayer::Easy, SeatPlayer::Easy, SeatPlayer::Normal};
        settings.pace = Pace::Fast;
        PlayRecord record;
        GameWindow window(record, nullptr);
        window.SetHistory(history.get());
        window.resize(1280, 800);
        window.show();
        window.NewGame(settings, 3);
        QVERIFY2(window.status().contains(QStringLiteral("bid 300 or more")), qPrintable(window.status()));
        // The user passes; a computer takes the widow, lays away and plays
        // alone against South and the other computer, South following.
        bool widowSeen = false;
        bool hinted = false;
        QElapsedTimer clock;
        clock.start();
        while ((window.game().Sheet().empty() || window.game().Sheet().back().record.plays.empty()) &&
               clock.elapsed() < 90000) {
            const Game& game = window.game();
            widowSeen = widowSeen || (game.CurrentPhase() == Phase::Widow && CardCount(game.Widow()) == 3);
            if (game.ToAct() == 0 && game.CurrentPhase() == Phase::Auction) window.UserPass();
            if (game.CurrentPhase() == Phase::HandScored) window.UserContinue();
            if (game.ToAct() == 0 && game.CurrentPhase() == Phase::Play) {
                if (!hinted) {
                    // The hint weighs South's cards over worlds of the widow and the two hands unseen.
                    window.Hint();
                    QTRY_VERIFY_WITH_TIMEOUT(window.status().startsWith(QStringLiteral("Hint: play the ")), 30000);
                    hinted = true;
                }
                ClickLegalCard(window);
            }
            QTest::qWait(5);
        }
        QVERIFY(widowSeen && hinted);
        const std::vector<SheetLine>& sheet = window.game().Sheet();
        QVERIFY(!sheet.empty() && !sheet.back().record.plays.empty());
        QVERIFY2(window.status().contains(QStringLiteral(" for ")), qPrintable(window.status()));
        auto* table = window.findChild<QTableWidget*>(QStringLiteral("sheet"));
        QCOMPARE(table->item(table->rowCount() - 1, 2)->text(), QStringLiteral("%1 / %2 / %3")
                                                                    .arg(sheet.back().totals[0])
                                                                    .arg(sheet.back().totals[1])
                                                                    .arg(sheet.back().totals[2]));

        // Reviewed: forty-five cards, the par the bidder's.
        ReviewWindow* review = window.ReviewLine(static_cast<int>(sheet.size()) - 1);
        QVERIFY(review != nullptr);
        QSignalSpy done(review, &ReviewWindow::finished);
        QVERIFY(done.wait(90000));
        QVERIFY(review->complete());
        auto* cards = review->findChild<QTableWidget*>(QStringLiteral("cards"));
        QCOMPARE(cards->rowCount(), 45);
        QCOMPARE(cards->horizontalHeaderItem(3)->text(), QStringLiteral("Par, the bidder"));
        if (const QByteArray shots = qgetenv("VANTREL_SHOTS"); !shots.isEmpty()) {
            window.grab().save(QString::fromUtf8(shots) + QStringLiteral("/game-three-handed-scored.png"));
            review->grab().save(QString::fromUtf8(shots) + QStringLiteral("/review-three-handed.png"));
        }
        // A card of South's kept as a drill, whatever it cost, is asked on
        // the three-handed table and graded with the bidder's par.
        HandReview weighed = review->review();
        review->close();
        for (ReviewedCard& card : weighed.cards)
            if (card.reviewed && !card.forced) {
                card.label = std::max(card.label, CardLabel::Mistake);
                break;
            }
        QVERIFY(history->RecordReview(*window.HistoryId(), static_cast<int>(sheet.size()) - 1, 0, 0, std::nullopt,
                                      &weighed));
        DrillsWindow drills(
            *history, [] { return std::int64_t{20'000}; }, nullptr);
        drills.resize(1180, 700);
        drills.show();
        QVERIFY(QTest::qWaitForWindowExposed(&drills));
        QCOMPARE(drills.question(), QStringLiteral("South to play. What do you play?"));
        if (const QByteArray shots = qgetenv("VANTREL_SHOTS"); !shots.isEmpty())
            drills.grab().save(QString::fromUtf8(shots) + QStringLiteral("/drill-three-handed.png"));
        const KeptDrill drill = drills.Shown().value();
        GameCard* answer = nullptr;
        for (GameCard* card : drills.table()->Cards())
            if (card->isVisible() && card->kind() == drill.best) answer = card;
        QVERIFY(answer != nullptr);
        QTest::keyClick(answer, Qt::Key_Return);
        QVERIFY2(drills.grade().contains(QStringLiteral("Par for the bidder with every hand seen: ")),
                 qPrintable(drills.grade()));
        drills.close();

        // Kept, and resumed equal by a new window.
        const std::optional<std::int64_t> id = window.HistoryId();
        QVERIFY(id);
        const std::optional<GameSummary> summary = history->Summary(*id);
        QVERIFY(summary && summary->totals == window.game().Totals());
        GameWindow resumed(record, nullptr);
        resumed.SetHistory(history.get());
        QVERIFY(resumed.Resume(*summary, history->Moves(*id)));
        QVERIFY(resumed.game() == window.game());
        QDir(folder).removeRecursively();
    }

    void theDoubleDeckFormIsChosenFirstAndItsHandLiesInTwentyClickableCards() {
        // The form brings its own variants; its variants are then the user's.
        NewGameDialog dialog(GameSettings{}, nullptr);
        auto* form = dialog.findChild<QComboBox*>(QStringLiteral("form"));
        QVERIFY(form != nullptr);
        form->setCurrentIndex(1);
        QVERIFY(dialog.Settings().rules == RuleSet::DoubleDeck());
        for (QCheckBox* box : dialog.findChildren<QCheckBox*>())
            if (box->text() == QStringLiteral("Follow the suit led")) box->setChecked(false);
        GameSettings settings = dialog.Settings();
        QVERIFY(settings.rules.form == RuleSet::DoubleDeck().form && !settings.rules.play.followSuit);
        form->setCurrentIndex(0);
        QVERIFY(dialog.Settings().rules == RuleSet::Standard());

        settings.rules = RuleSet::DoubleDeck();
        settings.seats = {SeatPlayer::You, SeatPlayer::Easy, SeatPlayer::Easy, SeatPlayer::Easy};
        settings.pace = Pace::Fast;
        PlayRecord record;
        GameWindow window(record, nullptr);
        window.resize(1280, 800);
        window.show();
        window.NewGame(settings, 4);
        QVERIFY2(window.status().contains("Your call, South: bid 51 or more, or pass."), qPrintable(window.status()));
        // A jump is offered from the next bid in the form's own steps.
        int jumps = 0;
        for (QSpinBox* jump : window.findChildren<QSpinBox*>())
            if (jump->accessibleName() == QStringLiteral("A jump bid")) {
                QVERIFY(jump->value() == 51 && jump->singleStep() == 1 && jump->minimum() == 51);
                ++jumps;
            }
        QCOMPARE(jumps, 1);
        QElapsedTimer clock;
        clock.start();
        bool looked = false;
        while (window.game().CardsPlayed().size() < 8 && clock.elapsed() < 60000) {
            const Game& game = window.game();
            if (game.ToAct() == 0 && game.CurrentPhase() == Phase::Auction) window.UserPass();
            if (game.ToAct() == 0 && game.CurrentPhase() == Phase::Play) {
                if (!looked) {
                    // Twenty cards on the table, each showing its corner and named.
                    std::vector<GameCard*> cards;
                    for (GameCard* card : window.table()->Cards())
                        if (card->isVisible()) cards.push_back(card);
                    QCOMPARE(static_cast<int>(cards.size()), 20 - static_cast<int>(game.CardsPlayed().size() / 4));
                    for (std::size_t i = 0; i + 1 < cards.size(); ++i) {
                        const int shown = cards[i + 1]->x() - cards[i]->x();
                        QVERIFY2(shown >= cards[i]->width() / 5, qPrintable(QString::number(shown)));
                        QVERIFY(!cards[i]->accessibleName().isEmpty());
                    }
                    QVERIFY(cards.back()->geometry().right() < window.table()->width());
                    QVERIFY(cards.front()->x() >= 0);
                    looked = true;
                }
                ClickLegalCard(window);
            }
            QTest::qWait(5);
        }
        QVERIFY(looked);
        QVERIFY(window.game().CardsPlayed().size() >= 8);

        // A whole 80-card hand between computers, reviewed in the window: its
        // eighty cards listed, the pars before the solver's reach marked as
        // estimated, the chart's axes the form's.
        Game game(RuleSet::DoubleDeck(), 5);
        while (game.Sheet().empty() || game.Sheet().back().record.plays.empty()) {
            if (game.ToAct() < 0) {
                game.Continue();
                continue;
            }
            QCOMPARE(
                QString::fromStdString(ApplyMove(game, game.ToAct(), ChooseMove(game, game.ToAct(), Level::Easy, 5))),
                QString());
        }
        QCOMPARE(QString::fromStdString(WhyNotReviewed(game.Rules(), game.Sheet().back())), QString());
        ReviewRequest request = RequestOf(game.Rules(), game.Sheet().back(), {true, false, false, false});
        request.worlds = 10;
        request.parNodes = 2'000'000;
        ReviewWindow review(request, QStringLiteral("test"), nullptr);
        review.resize(1180, 700);
        review.show();
        QSignalSpy done(&review, &ReviewWindow::finished);
        QVERIFY(done.wait(60000));
        QVERIFY(review.complete());
        auto* cards = review.findChild<QTableWidget*>(QStringLiteral("cards"));
        QCOMPARE(cards->rowCount(), 80);
        QVERIFY2(cards->item(0, 3)->text().startsWith(QStringLiteral("\u2248")), qPrintable(cards->item(0, 3)->text()));
        QCOMPARE(cards->item(79, 3)->text().toInt(), review.review().points[0]);
        QTest::keyClick(&review, Qt::Key_End);
        QCOMPARE(review.step(), std::size_t{80});
        if (const QByteArray folder = qgetenv("VANTREL_SHOTS"); !folder.isEmpty()) {
            cards->setCurrentCell(30, 0);
            review.grab().save(QString::fromUtf8(folder) + QStringLiteral("/review-double-deck.png"));
        }
    }
};

QTEST_MAIN(GameWindowTest)
#include "game_window_test.moc"
