#pragma once

#include "qt/practice_window.h"

#include <array>
#include <memory>
#include <mutex>
#include <optional>

#include "base/background_job.h"
#include "game/game.h"
#include "game/game_settings.h"
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
    /// Asks for the settings (the "New Game" dialog), keeps them and deals.
    bool AskNewGame();
    /// The settings kept from the last "New Game" (QSettings, group "game").
    static GameSettings KeptSettings();
    /// A new game's seed: VANTREL_GAME_SEED where set (for tests), else the clock.
    static std::uint64_t NewSeed();
    /// A game is under way: a call made or a hand scored, and not over.
    [[nodiscard]] bool InProgress() const;
    /// Where a game is in progress, asks "Abandon this game?"; true when the
    /// user may go on.
    bool MayAbandon();

    [[nodiscard]] const Game& game() const { return *game_; }
    [[nodiscard]] const GameSettings& settings() const { return settings_; }
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
    [[nodiscard]] QString sheetText() const;

signals:
    /// The game's hand was fed to the play record.
    void recordChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildWidgets();
    void Changed();
    void Refresh();
    void Drive();
    void Poll();
    void StopWorker();
    void FeedRecord(bool start);
    void ShowSheet();
    void KeepCardFocus();
    [[nodiscard]] bool IsUser(int seat) const { return seat >= 0 && ((settings_.UserSeats() >> seat) & 1u) != 0; }
    [[nodiscard]] unsigned UserSeats() const { return settings_.UserSeats(); }
    int AskTrump(int seat);

    PlayRecord& record_;
    std::unique_ptr<Game> game_;
    GameSettings settings_;
    std::uint64_t seed_ = 1;
    std::uint64_t generation_ = 0;  // counts every change, so that a late decision is dropped
    HandCounts selected_ = 0;       // cards picked to pass
    bool lookBack_ = false;
    bool abandoned_ = false;  // the user agreed to abandon the game
    QString message_;         // the last refusal or hint, shown with the status
    std::size_t recordedCards_ = 0;

    // The computer's worker, and the move it found, applied at the pace.
    BackgroundJob worker_;
    std::mutex resultMutex_;
    std::optional<ComputerMove> result_;
    std::optional<QString> hintResult_;
    int hintCard_ = -1;
    std::uint64_t workerGeneration_ = 0;
    int workerSeat_ = -1;
    std::optional<ComputerMove> pending_;
    qint64 lastMoveAt_ = 0;
    qint64 meldShownAt_ = 0;
    QTimer* poll_ = nullptr;

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
};

}  // namespace vantrel
