#pragma once

#include "qt/practice_window.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>

#include "base/background_job.h"
#include "qt/card_painter.h"
#include "review/hand_review.h"
#include "rules/play_state.h"

class QChartView;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTimer;

namespace vantrel {

/// A small table for the review: all four hands face up as they stand at
/// the step, and the trick on the table in front of its players.
class ReviewTable : public QWidget {
    Q_OBJECT

public:
    explicit ReviewTable(QWidget* parent);
    /// Shows the hand after `cards` cards of `plays`.
    void Show(const ReviewRequest& request, std::size_t cards);
    [[nodiscard]] QSize sizeHint() const override { return {460, 380}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CardPainter painter_;
    std::optional<FormPlayState> state_;
    int seats_ = 4;
    std::vector<int> trick_;  // the trick in view: the one being played, or the one just finished
    int trickLeader_ = 0;
};

/// The "Hand Review" window: the hand trick by trick with each card's
/// player and the trick's winner; for the user's cards the label, the card
/// played and the best card with their expected card points; the par
/// through the hand on a chart; a small table that replays the hand step by
/// step (buttons, or the arrow keys, Home and End). The review is worked
/// out off the window's thread, with progress and cancel.
class ReviewWindow : public PracticeWindow {
    Q_OBJECT

public:
    /// `note` is said beside the summary, e.g. where the review stops short.
    /// Works the review out, or shows `kept`, a review of the same request
    /// kept in the history, at once.
    ReviewWindow(ReviewRequest request, const QString& title, QWidget* parent, QString note = {},
                 std::optional<HandReview> kept = std::nullopt);
    ~ReviewWindow() override;

    /// The cards shown played on the small table.
    [[nodiscard]] std::size_t step() const { return step_; }
    void SetStep(std::size_t cards);
    [[nodiscard]] bool running() const { return job_.Running(); }
    [[nodiscard]] bool complete() const { return review_.complete; }
    [[nodiscard]] const HandReview& review() const { return review_; }
    [[nodiscard]] const ReviewRequest& request() const { return request_; }
    /// The review as text, as "Copy" puts it on the clipboard.
    [[nodiscard]] QString text() const;
    void Cancel();

signals:
    void finished();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Start();
    // Shows the finished review's figures.
    void Done();
    void CopyReview();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void Poll();
    void ShowCards();
    void ShowReview();
    void ShowChart();

    ReviewRequest request_;
    QString note_;
    HandReview review_;
    BackgroundJob job_;
    std::mutex resultLock_;
    std::optional<HandReview> result_;
    std::atomic<int> done_{0};
    std::atomic<int> total_{1};
    std::size_t step_ = 0;

    ReviewTable* table_ = nullptr;
    QLabel* stepLabel_ = nullptr;
    QTableWidget* cards_ = nullptr;
    QChartView* chart_ = nullptr;
    QLabel* summary_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* copy_ = nullptr;
    QTimer* poll_ = nullptr;
};

}  // namespace vantrel
