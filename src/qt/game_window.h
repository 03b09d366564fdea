#pragma once

#include "qt/practice_window.h"

#include <array>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "base/background_job.h"
#include "game/game.h"
#include "game/game_driver.h"
#include "game/game_settings.h"
#include "history/game_history.h"
#include "practice/play_record.h"

class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;
class QTimer;

namespace vantrel {

class GameTable;

/// The "Game" window: a game against the computer on a green table, with the
/// bidding and its reasons, the hand's score and the game's totals, a score
/// sheet, hints, undo and a status line that always says what to do next.
/// The computer's decisions run off the GUI thread; the window only shows the
/// game and sends it moves.
class GameWindow : public PracticeWindow {
    Q_OBJECT

public:
    /// `record` is the play record the game's hands are fed to.
    GameWindow(PlayRecord& record, QWidget* parent);
    ~GameWindow() override;

    /// Starts a new game with these settings and seed.
    void NewGame(const GameSettings& settings, std::uint64_t seed);
    /// Where the games are kept as they are played; none to keep nothing.
    void SetHistory(GameHistory* history) { history_ = history; }
    /// Takes up a kept game where it was left; false (and nothing changed)
    /// when its moves do not make a game.
    bool Resume(const GameSummary& game, const std::vector<GameMove>& moves, QString* problem = nullptr);
    /// The kept game being played, if it is kept.
    [[nodiscard]] std::optional<std::int64_t> HistoryId() const { return historyId_; }
    /// Asks for the settings (the "New Game" dialog), keeps them and deals.
    bool AskNewGame();
    /// The settings kept from the last "New Game" (QSettings, group "game").
    static GameSettings KeptSettings();
    /// A new game's seed: VANTREL_GAME_SEED where set (for tests), else the clock.
    static std::uint64_t NewSeed();
    /// Puts the window where the last run left it; false when nothing was
    /// kept or that place no longer stands on the screen.
    bool RestorePlace();
    /// A game is under way: a call made or a hand scored, and not over.
    [[nodiscard]] bool InProgress() const;
    /// Where a game is in progress, asks whether to close it (it stays in the
    /// history, to be resumed); true when the user may go on.
    bool MayClose();

    [[nodiscard]] const Game& game() const { return driver_->game(); }
    [[nodiscard]] const GameSettings& settings() const { return driver_->settings(); }
    [[nodiscard]] GameTable* table() const { return table_; }
    [[nodiscard]] QString status() const;

    // The user's moves, as the controls make them.
    void UserBid(int amount);
    void UserPass();
    void UserTrump(int suit);
    void UserCard(int seat, int kind);
    void UserPassCards();
    void UserThrowIn();
    void UserContinue();
    void UserUndo();
    void Hint();
    QString DealFromCode(const QString& code);
    void ReplaySelectedLine();
    /// Opens the Hand Review of a hand of the sheet (by row), or of the
    /// hand just scored; the window is returned, or null when the hand has
    /// no cards to review.
    class ReviewWindow* ReviewLine(int row);
    void ReviewSelectedLine();
    [[nodiscard]] QString sheetText() const;

signals:
    /// The game's hand was fed to the play record.
    void recordChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildWidgets();
    // After the game changed: the record, the widgets and what comes next.
    void Changed();
    void Refresh();
    // Starts the decision the driver wants, asks the user for trump, and sets
    // the timer for what is due next.
    void Drive();
    void Schedule();
    // The worker's answer, posted to this thread when it is done.
    void Collect(std::uint64_t job);
    void StopWorker();
    void Input(const std::function<void(GameDriver&)>& input);
    void FeedRecord(bool start);
    void KeepInHistory();
    void ShowSheet();
    void KeepCardFocus();
    [[nodiscard]] bool IsUser(int seat) const { return driver_->IsUser(seat); }
    [[nodiscard]] unsigned UserSeats() const { return settings().UserSeats(); }
    [[nodiscard]] QString SeatName(int seat) const;
    int AskTrump(int seat);

    PlayRecord& record_;
    std::unique_ptr<GameDriver> driver_;
    GameHistory* history_ = nullptr;
    std::optional<std::int64_t> historyId_;
    bool lookBack_ = false;
    bool started_ = false;      // a game was dealt or resumed: until then the window only offers New Game
    bool closeAgreed_ = false;  // the user agreed to close the game while it is shown
    bool askingTrump_ = false;
    std::size_t recordedCards_ = 0;
    std::pair<int, std::size_t> jumpCall_{-1, 0};  // the hand and call the jump box was set for

    // The computer's decision or the user's hint, worked out off this thread
    // for the position `workerId_`.
    BackgroundJob worker_;
    std::mutex resultMutex_;
    std::optional<ComputerMove> result_;
    std::optional<SearchChoice> hintResult_;
    std::uint64_t workerId_ = 0;
    std::uint64_t jobs_ = 0;  // counts the jobs started, so that a stale post is known
    bool workerHint_ = false;
    QTimer* due_ = nullptr;

    GameTable* table_ = nullptr;
    QLabel* status_ = nullptr;
    QListWidget* bidding_ = nullptr;
    QLabel* score_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QTableWidget* sheet_ = nullptr;
    QPushButton* pass_ = nullptr;
    QPushButton* bidNext_ = nullptr;
    QSpinBox* jump_ = nullptr;
    QPushButton* bidJump_ = nullptr;
    QPushButton* continue_ = nullptr;
    QPushButton* throwIn_ = nullptr;
    QPushButton* passCards_ = nullptr;
    QPushButton* hint_ = nullptr;
    QPushButton* undo_ = nullptr;
    QPushButton* lookBackButton_ = nullptr;
    QPushButton* review_ = nullptr;
};

}  // namespace vantrel
