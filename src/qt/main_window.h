#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "form/form1.h"
#include "practice/play_record.h"
#include "qt/card_painter.h"
#include "qt/drills_window.h"
#include "rules/seats.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace vantrel {

class AnalysisWindow;
class CardImage;
class HelpWindow;
class PlayRecordWindow;
class GameHistory;
class GameWindow;
class HistoryWindow;
class ListBoxView;

/// The window of the program. Its widgets are built from the window design;
/// each event is forwarded to the form's handler, after which the widgets are
/// brought up to the form's control models.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    /// `endProgram` ends the process; by default it leaves the event loop
    /// with exit status 0.
    explicit MainWindow(Clock clock = SystemClockNanoseconds, std::function<void()> endProgram = {});
    ~MainWindow() override;

    Form1& form() { return form_; }

    /// Brings every widget up to its control model.
    void Refresh();

    /// The widget of a designed control (and index, for Image1), or nullptr.
    [[nodiscard]] QWidget* control(std::string_view name, int index = -1) const;
    [[nodiscard]] CardImage* card(int index) const;
    [[nodiscard]] QAction* action(std::string_view name) const;
    [[nodiscard]] HelpWindow* helpWindow() const { return helpWindow_; }
    /// The hand analysis window, once it has been opened.
    [[nodiscard]] AnalysisWindow* analysisWindow() const { return analysisWindow_; }
    /// Opens the hand analysis window beside this one (Practice > Analyse Hand).
    void OpenAnalysis();
    /// Opens the play record window (Practice > Play Record).
    void OpenPlayRecord();
    [[nodiscard]] PlayRecordWindow* playRecordWindow() const { return playRecordWindow_; }
    /// Opens the game window (Practice > Play a Game), asking for a new game's settings.
    void OpenGame();
    [[nodiscard]] GameWindow* gameWindow() const { return gameWindow_; }
    /// Opens the game history (Practice > Game History).
    void OpenHistory();
    /// Opens today's drills (Practice > Drills).
    void OpenDrills();
    [[nodiscard]] DrillsWindow* drillsWindow() const { return drillsWindow_; }
    [[nodiscard]] HistoryWindow* historyWindow() const { return historyWindow_; }
    /// The game history, opened the first time it is wanted: null when it
    /// cannot be used, the user told why (and offered to set a damaged file
    /// aside) the first time, and again each time `askAgain` is set.
    GameHistory* History(bool askAgain = false);
    /// The Game window is the active window: the Practice keys act on its hand.
    [[nodiscard]] bool GameActive() const;
    [[nodiscard]] PlayRecord& playRecord() { return playRecord_; }
    /// Lays the deal of a code (Practice > Deal from Code); returns why a
    /// code is refused, or an empty text.
    QString DealFromCode(const QString& code);

signals:
    /// A handler has run and the widgets show its outcome.
    void handled();

public:
    /// The area that stands for the window's own surface.
    [[nodiscard]] QWidget* surface() const { return surface_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    template <class W>
    W* Widget(std::string_view name) const {
        return static_cast<W*>(control(name));
    }
    void BuildControls();
    void BuildMenus();
    void BuildPracticeMenu(QMenu* before);
    void ConnectControls();
    void SetTabOrder();
    /// Runs a handler, then refreshes the widgets.
    void Forward(const std::function<void()>& handler);
    void RefreshImages();
    void ServiceWindow();
    void SetBusy(bool busy);
    /// Moves the window just enough to stand within the screen's available
    /// area, its top-left corner kept on screen when it cannot fit at all.
    void FitOnScreen();
    // The cards from the keyboard.
    void ConnectCardKeys();
    void CardFocused(int index);
    void StepFromCard(int index, int across, int down);
    void SetCardEntry(int index);
    void KeepCardEntryVisible();
    QString HelpTopic() const;

    std::function<void()> endProgram_;
    Form1 form_;
    CardPainter painter_;
    QWidget* surface_ = nullptr;
    HelpWindow* helpWindow_ = nullptr;
    AnalysisWindow* analysisWindow_ = nullptr;
    PlayRecordWindow* playRecordWindow_ = nullptr;
    GameWindow* gameWindow_ = nullptr;
    HistoryWindow* historyWindow_ = nullptr;
    QPointer<DrillsWindow> drillsWindow_;  // deleted when closed
    std::unique_ptr<GameHistory> history_;
    bool historyTried_ = false;
    PlayRecord playRecord_;
    std::map<std::string, QWidget*, std::less<>> widgets_;
    std::map<std::string, QAction*, std::less<>> actions_;
    std::vector<CardImage*> cards_;
    std::vector<std::pair<QLabel*, const Label*>> labels_;
    std::vector<std::pair<QLineEdit*, TextBox*>> textBoxes_;
    std::vector<std::pair<QPushButton*, const CommandButton*>> buttons_;
    std::vector<std::pair<QCheckBox*, CheckBox*>> checkBoxes_;
    std::vector<std::pair<ListBoxView*, const ListBox*>> lists_;
    std::vector<std::uint64_t> stackingShown_;
    int cardEntry_ = 1;                      // the card that holds the rows' place in the tab order
    const SeatInfo* focusedSeat_ = nullptr;  // the hand of the focused card, if a card has the focus
    bool placed_ = false;
    QMetaObject::Connection focusWatch_;
    QElapsedTimer sinceRepaint_;
    bool reportTiming_ = false;  // VANTREL_TIMING: print each handler's time with its repaint
};

}  // namespace vantrel
