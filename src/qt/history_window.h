#pragma once

#include "qt/practice_window.h"

#include <cstdint>
#include <vector>

#include "history/game_history.h"

class QCheckBox;
class QChartView;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace vantrel {

class ReviewWindow;

/// The "Game History" window: the games kept, as a table to sort and
/// filter by date, rules and result; the chosen game's score sheet, whose
/// hands can be reviewed or dealt again as practice; and the user's
/// statistics over the same games, with charts. "Export" writes the history
/// as CSV or JSON lines, "Import" reads JSON lines back.
class HistoryWindow : public PracticeWindow {
    Q_OBJECT

public:
    HistoryWindow(GameHistory& history, QWidget* parent);

    /// Reads the games and the statistics again, for the filter as set.
    void Reload();
    [[nodiscard]] HistoryFilter Filter() const;
    [[nodiscard]] QTableWidget* gamesTable() const { return games_; }
    [[nodiscard]] QTableWidget* handsTable() const { return hands_; }
    [[nodiscard]] QTabWidget* tabs() const { return tabs_; }
    /// The game in the chosen row, if any.
    [[nodiscard]] std::optional<std::int64_t> ChosenGame() const;
    /// Opens the review of a hand of a kept game; null when it has no cards.
    ReviewWindow* ReviewHand(std::int64_t game, int hand);
    /// The formats of Export.
    enum class Format { Csv, JsonLines };
    /// Writes the history to `path` in `format`, adding the format's
    /// extension where the name has none; the line that says what was
    /// written where, or none with `problem` saying why.
    std::optional<QString> Export(QString path, Format format, QString* problem = nullptr);
    /// Reads JSON lines from `path`; the report as the window shows it.
    QString Import(const QString& path);

signals:
    /// The user asked to go on with an unfinished game.
    void resumeRequested(qint64 game);
    /// The user asked to deal a kept hand again as practice in the Game window.
    void replayRequested(QString dealCode);

private:
    void ShowGames();
    void ShowHands();
    void ShowStatistics();
    void ShowProgress();

    GameHistory& history_;
    std::vector<GameSummary> shown_;
    QCheckBox* fromOn_ = nullptr;
    QDateEdit* from_ = nullptr;
    QCheckBox* toOn_ = nullptr;
    QDateEdit* to_ = nullptr;
    QComboBox* deck_ = nullptr;
    QComboBox* rules_ = nullptr;
    QComboBox* result_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QTableWidget* games_ = nullptr;
    QTableWidget* hands_ = nullptr;
    QPushButton* resume_ = nullptr;
    QPushButton* replay_ = nullptr;
    QPushButton* review_ = nullptr;
    QTableWidget* figures_ = nullptr;
    QChartView* months_ = nullptr;
    QChartView* bids_ = nullptr;
    QTableWidget* progress_ = nullptr;
    QChartView* lost_ = nullptr;
    QChartView* answeredBest_ = nullptr;
    QLabel* note_ = nullptr;
};

}  // namespace vantrel
