#pragma once

#include "qt/practice_window.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "analysis/hand_analysis.h"
#include "base/background_job.h"
#include "form/form1.h"
#include "players/chance_to_make.h"

class QBarSet;
class QChartView;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTableWidget;
class QTimer;

namespace vantrel {

/// The "Hand Analysis" window: the selected hand's own figures in every trump,
/// what partner and the opponents meld over simulated deals of the unseen
/// cards, and the odds that partner holds a card the hand's near melds lack.
/// The simulation runs on worker threads; the figures fill in as it goes.
class AnalysisWindow : public PracticeWindow {
    Q_OBJECT

public:
    /// `dealCode` gives the current deal's code, for the header.
    AnalysisWindow(const Form1& form, std::function<std::string()> dealCode, QWidget* parent);
    ~AnalysisWindow() override;

    /// Restarts the analysis when the selected hand or the deal has changed
    /// since it last started.
    void Follow();
    /// Starts the analysis afresh with the chosen seed and number of deals.
    void Restart();
    /// Stops the running simulation; the figures so far stay.
    void Cancel();

    [[nodiscard]] bool running() const { return simulation_.Running() && !simulation_.Finished(); }
    /// The chance to make is being played out (by the standard rules only).
    [[nodiscard]] bool chanceRunning() const { return chanceJob_.Running(); }
    [[nodiscard]] std::uint64_t dealsDone() const { return shown_ ? shown_->deals : 0; }
    [[nodiscard]] std::string seat() const { return seat_; }
    /// The whole analysis as plain text, as "Copy" puts it on the clipboard.
    [[nodiscard]] QString text() const;

signals:
    /// The simulation ran to its end (not when cancelled).
    void finished();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildWidgets();
    void Stop();
    void Poll();
    void ShowFigures();
    void ShowHistogram();
    void PollChance();
    void ShowChance();
    const CardRec* Hand() const;
    [[nodiscard]] MeldRules MeldRulesChosen() const;

    const Form1& form_;
    std::function<std::string()> dealCode_;

    // What the running analysis is of.
    std::string seat_;
    std::array<std::int16_t, 48> dealCodes_{};
    std::array<OwnFigures, 4> own_{};
    std::vector<std::string> notes_;
    SimulationRequest request_;
    bool stale_ = true;

    // The simulation's worker and what it hands over.
    BackgroundJob simulation_;
    std::mutex latestMutex_;
    std::unique_ptr<SimulationTally> latest_;
    std::unique_ptr<SimulationTally> shown_;
    QTimer* poll_ = nullptr;

    // The chance to make each bid, on a worker of its own. The worker writes
    // the tally before it finishes; the window reads it once collected.
    BackgroundJob chanceJob_;
    std::atomic<std::uint64_t> chanceProgress_{0};
    std::unique_ptr<ChanceTally> chance_;
    std::uint64_t chanceDeals_ = 0;

    QLabel* title_ = nullptr;
    QLabel* deal_ = nullptr;
    QLabel* hand_ = nullptr;
    QComboBox* rules_ = nullptr;
    QLabel* notesLabel_ = nullptr;
    QComboBox* deals_ = nullptr;
    QLineEdit* seed_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* cancel_button_ = nullptr;
    QTableWidget* figures_ = nullptr;
    QComboBox* histogramTrump_ = nullptr;
    QChartView* chart_ = nullptr;
    QBarSet* bars_ = nullptr;
    QTableWidget* odds_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QLabel* bestBid_ = nullptr;
    QTableWidget* chanceTable_ = nullptr;
    QChartView* chanceChart_ = nullptr;
    QLabel* status_ = nullptr;
};

}  // namespace vantrel
