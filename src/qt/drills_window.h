#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "base/background_job.h"
#include "coach/drill.h"
#include "coach/drill_themes.h"
#include "game/game.h"
#include "history/game_history.h"
#include "qt/practice_window.h"

class QComboBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTimer;

namespace vantrel {

class GameTable;

/// Practice > Drills: the cards of the player's own hands that the review
/// found costly, asked again. Each drill shows the table as the seat saw it
/// (its own cards face up, the others' face down, the trick, the meld and the
/// bidding with its reasons) and asks "What do you play?", or in the
/// bidding "What do you call?" with a button a call; the answer is
/// graded by the review's own figures, kept, and the drill scheduled. Today's
/// drills come first: those due, then new ones.
class DrillsWindow : public PracticeWindow {
    Q_OBJECT

public:
    /// `today` gives the day (days since 1970-01-01) the schedule counts by.
    DrillsWindow(GameHistory& history, std::function<std::int64_t()> today, QWidget* parent);

    /// Reads today's drills again and shows the first.
    void Reload();
    /// Answers the drill shown with `kind`; false when there is none or the
    /// card cannot be played there.
    bool Answer(int kind);
    /// Answers a call or trump drill with `choice`: a bid (0 a pass) or a
    /// suit; false when there is none or it is not one of the choices.
    bool AnswerCall(int choice);
    /// The choices of the call or trump drill shown, as their buttons read.
    [[nodiscard]] QStringList choices() const;
    /// Goes on to the next of today's drills.
    void Next();
    /// Makes drills of the chosen theme on fresh deals, in the background;
    /// they are kept and asked once made.
    void MakeDrills();
    /// Stops the drills being made; none of them is kept.
    void CancelMaking();
    [[nodiscard]] bool Making() const { return job_.Running(); }
    /// How many drills Make Drills makes at a time.
    static constexpr int kDrillsMade = 20;

    [[nodiscard]] QString question() const;
    [[nodiscard]] QString grade() const;
    [[nodiscard]] QString skipped() const;
    [[nodiscard]] GameTable* table() const { return table_; }
    /// The drill shown, if any.
    [[nodiscard]] std::optional<KeptDrill> Shown() const { return shown_; }

signals:
    /// The user asked for the review of the drill's hand.
    void reviewRequested(qint64 game, int hand);

private:
    // Shows the next drill of the day that still replays; false when none is left.
    bool ShowNext();
    void ShowPosition(bool answered);
    void ShowChoices(bool answered);
    // An answer graded, kept and the drill scheduled: its next schedule; none,
    // with the grade saying why, where it is refused or cannot be kept.
    std::optional<DrillSchedule> KeepAnswer(const DrillGrade& graded, int choice);
    // The grade's lines after the answer: right or not, each choice's figure, when it comes back.
    void ShowGrade(const DrillGrade& graded, const QString& figures, int interval);

    GameHistory& history_;
    std::function<std::int64_t()> today_;
    std::vector<KeptDrill> queue_;  // today's drills still to come
    std::optional<KeptDrill> shown_;
    std::optional<Game> game_;  // the game as it stood at the drill's card
    bool answered_ = false;
    int done_ = 0;
    QStringList skipped_;

    GameTable* table_ = nullptr;
    QLabel* count_ = nullptr;
    QListWidget* bidding_ = nullptr;
    QLabel* question_ = nullptr;
    QWidget* choicesBox_ = nullptr;  // a button a call or suit
    std::vector<QPushButton*> choiceButtons_;
    QLabel* grade_ = nullptr;
    QLabel* skippedLabel_ = nullptr;
    QPushButton* next_ = nullptr;
    QPushButton* review_ = nullptr;
    QLabel* theme_ = nullptr;
    QComboBox* themes_ = nullptr;
    QPushButton* make_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QTimer* poll_ = nullptr;
    // Drills made in the background: the job writes them, the window reads
    // them once it has collected the job. The job goes first when the
    // window does, before what it writes to.
    std::atomic<int> found_{0};
    std::vector<ThemeDrill> made_;
    std::uint64_t madeSeed_ = 1;
    BackgroundJob job_;
};

}  // namespace vantrel
