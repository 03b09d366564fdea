#include "qt/main_window.h"
#include "form/play_record_start.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QFontDatabase>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QStyle>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <numeric>

#include "app/window_design.h"
#include "game/practice_help.h"
#include "practice/deal_code.h"
#include "qt/analysis_window.h"
#include "qt/app_icon.h"
#include "qt/card_image.h"
#include "qt/deal_code_dialog.h"
#include "qt/drills_window.h"
#include "qt/game_window.h"
#include "qt/help_window.h"
#include "qt/history_window.h"
#include "qt/list_box_view.h"
#include "qt/play_record_window.h"
#include "qt/screen_place.h"
#include "rules/seats.h"

namespace vantrel {

namespace {

QString ToQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

int Pixels(int twips) { return twips / kTwipsPerPixel; }

// "MS Sans Serif" where the system has it, else the nearest sans serif, at
// the design's 8.25 points: the window's plain font and the bold list font.
QFont DesignFont(bool bold) {
    QFont font;
    QStringList families;
    for (const char* family : {"MS Sans Serif", "Arial", "Liberation Sans", "Nimbus Sans", "DejaVu Sans"})
        if (QFontDatabase::hasFamily(QString::fromLatin1(family))) families.append(QString::fromLatin1(family));
    if (!families.isEmpty()) font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(kBoldFontPoints);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

// Narrows a check box's font until its caption fits the designed width, for
// systems whose sans serif is wider than the design's.
void FitCaption(QCheckBox* box) {
    const int indicator = box->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box) +
                          box->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, box) + 2;
    QFont font = box->font();
    for (int stretch = 100; stretch >= 70; stretch -= 5) {
        font.setStretch(stretch);
        if (indicator + QFontMetrics(font).horizontalAdvance(box->text()) <= box->width()) break;
    }
    box->setFont(font);
}

QColor ToQColor(OleColor color, const QPalette& palette) {
    if (color == kSystemWindowText) return palette.color(QPalette::WindowText);
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

QString CardName(const CardRec& card, std::string_view seatName) {
    static const char* const kRanks[] = {"Ace", "Ten", "King", "Queen", "Jack", "Nine"};
    const int rank = RankNumber(card.Rank);
    const int suit = SuitNumber(card.Suit);
    if (rank == 0 || suit == 0) return QStringLiteral("Card, %1").arg(ToQString(seatName));
    return QStringLiteral("%1 of %2, %3")
        .arg(QString::fromLatin1(kRanks[rank - 1]), ToQString(kSuitNames[static_cast<std::size_t>(suit - 1)]),
             ToQString(seatName));
}

// The window's own surface: mouse movement over it, and not over a control,
// is the background movement that re-arms hand selection.
class Surface : public QWidget {
public:
    Surface(QWidget* parent, std::function<void()> moved) : QWidget(parent), moved_(std::move(moved)) {
        setMouseTracking(true);
    }

protected:
    void mouseMoveEvent(QMouseEvent* event) override {
        event->accept();
        moved_();
    }

private:
    std::function<void()> moved_;
};

// A frame drawn as the design draws it: the caption stands on the border
// line, so that controls at the design's offsets sit inside the border.
class DesignFrame : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

    /// Where the border line runs, from the frame's top.
    [[nodiscard]] int BorderTop() const { return fontMetrics().height() / 2; }

protected:
    void paintEvent(QPaintEvent*) override {
        // Drawn here rather than by the style, which would set the border
        // below the caption.
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(palette().color(QPalette::Mid), 1));
        p.drawRoundedRect(QRectF(rect()).adjusted(0.5, BorderTop() + 0.5, -0.5, -0.5), 2, 2);
        const QString caption = QString(title()).remove(QLatin1Char('&'));
        const QRect text(6, 0, fontMetrics().horizontalAdvance(caption) + 4, fontMetrics().height());
        p.fillRect(text, palette().window());
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(text, Qt::AlignCenter, caption);
    }
};

}  // namespace

MainWindow::MainWindow(Clock clock, std::function<void()> endProgram)
    : endProgram_(endProgram ? std::move(endProgram) : [] { QCoreApplication::exit(0); }),
      form_(std::move(clock),
            WindowServices{
                [this] {
                    // A game in progress is abandoned only when the user says so.
                    if (gameWindow_ != nullptr && !gameWindow_->MayClose()) return;
                    endProgram_();
                },
                [this] { helpWindow_->ShowText(QString::fromStdString(form_.module1.HelpText), HelpTopic()); },
                [this] { ServiceWindow(); },
                [this](bool busy) { SetBusy(busy); },
            }) {
    setWindowTitle(ToQString(WindowCaption()));
    // The window has the design's fixed size: nothing to maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowIcon(AppIcon());
    setFont(DesignFont(false));
    surface_ = new Surface(this, [this] { Forward([this] { form_.Form_MouseMove(); }); });
    surface_->setFixedSize(Pixels(kClientWidth), Pixels(kClientHeight));
    setCentralWidget(surface_);
    helpWindow_ = new HelpWindow(this);
    BuildControls();
    BuildMenus();
    ConnectControls();
    SetTabOrder();
    ConnectCardKeys();
    qApp->installEventFilter(this);
    setFixedSize(Pixels(kClientWidth), Pixels(kClientHeight) + menuBar()->sizeHint().height());
    move(Pixels(kWindowLeft), Pixels(kWindowTop));
    sinceRepaint_.start();
    reportTiming_ = qEnvironmentVariableIsSet("VANTREL_TIMING");

    form_.Form_Load();
    Refresh();
}

MainWindow::~MainWindow() {
    // Closing the widgets moves the focus; the form must hear nothing of it.
    qApp->removeEventFilter(this);
    disconnect(focusWatch_);
    // The practice windows hold references to the form and the play record,
    // which are members and go before the child widgets would: they are
    // closed, their work stopped, and deleted first.
    if (gameWindow_ != nullptr) gameWindow_->hide();
    for (QWidget* window : std::initializer_list<QWidget*>{analysisWindow_, playRecordWindow_, gameWindow_}) {
        if (window == nullptr) continue;
        window->close();
        delete window;
    }
    analysisWindow_ = nullptr;
    playRecordWindow_ = nullptr;
    gameWindow_ = nullptr;
}

void MainWindow::BuildControls() {
    const auto& design = ControlsDesign();
    // Frames first, so that every container exists before its controls.
    for (int pass = 0; pass < 2; ++pass) {
        for (const ControlDesign& c : design) {
            if ((c.kind == ControlKind::Frame) != (pass == 0)) continue;
            QWidget* parent = c.container.empty() ? surface_ : widgets_.find(c.container)->second;
            QWidget* widget = nullptr;
            const QString caption = ToQString(c.caption);
            switch (c.kind) {
                case ControlKind::Label: {
                    auto* label = new QLabel(caption, parent);
                    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                    label->setWordWrap(true);
                    widget = label;
                    break;
                }
                case ControlKind::PushButton: {
                    auto* button = new QPushButton(caption, parent);
                    button->setAutoDefault(false);
                    widget = button;
                    break;
                }
                case ControlKind::TextBox:
                    widget = new QLineEdit(caption, parent);
                    break;
                case ControlKind::Frame:
                    widget = new DesignFrame(caption, parent);
                    break;
                case ControlKind::ListBox:
                    widget = new ListBoxView(parent);
                    break;
                case ControlKind::CheckBox:
                    widget = new QCheckBox(caption, parent);
                    break;
                case ControlKind::Image: {
                    auto* image = new CardImage(c.index, painter_, parent);
                    cards_.push_back(image);
                    widget = image;
                    break;
                }
            }
            widget->setGeometry(Pixels(c.left), Pixels(c.top), Pixels(c.width), Pixels(c.height));
            if (c.boldFont) widget->setFont(DesignFont(true));
            if (auto* box = qobject_cast<QCheckBox*>(widget)) FitCaption(box);
            if (!c.offered) widget->hide();
            if (c.kind != ControlKind::Image) {
                widget->setObjectName(ToQString(c.name));
                widget->setAccessibleName(caption.isEmpty() ? ToQString(c.name) : QString(caption).remove('&'));
                widgets_.emplace(std::string(c.name), widget);
            } else {
                widget->setObjectName(QStringLiteral("Image1_%1").arg(c.index));
            }
        }
    }
    // Slot 0 stands apart, under the information frame.
    cards_.front()->lower();
    stackingShown_.assign(cards_.size(), 0);

    labels_ = {{Widget<QLabel>("Label1"), &form_.Label1}, {Widget<QLabel>("lbl1"), &form_.lbl1},
               {Widget<QLabel>("lbl2"), &form_.lbl2},     {Widget<QLabel>("lbl3"), &form_.lbl3},
               {Widget<QLabel>("lbl4"), &form_.lbl4},     {Widget<QLabel>("Label2"), &form_.Label2},
               {Widget<QLabel>("Label3"), &form_.Label3}};
    textBoxes_ = {{Widget<QLineEdit>("Text1"), &form_.Text1},
                  {Widget<QLineEdit>("Text2"), &form_.Text2},
                  {Widget<QLineEdit>("txtRunToMeld"), &form_.txtRunToMeld},
                  {Widget<QLineEdit>("txtRunToTrump"), &form_.txtRunToTrump}};
    buttons_ = {{Widget<QPushButton>("cmdPlay"), &form_.cmdPlay},
                {Widget<QPushButton>("Shuffle"), &form_.Shuffle},
                {Widget<QPushButton>("btnEnd"), &form_.btnEnd},
                {Widget<QPushButton>("Deal"), &form_.Deal}};
    checkBoxes_ = {{Widget<QCheckBox>("chkAutorun"), &form_.chkAutorun},
                   {Widget<QCheckBox>("chkTrump"), &form_.chkTrump}};
    lists_ = {{Widget<ListBoxView>("List1"), &form_.List1}, {Widget<ListBoxView>("List2"), &form_.List2}};
    // Names a screen reader can say for the controls without a caption.
    Widget<ListBoxView>("List1")->setAccessibleName(tr("Information"));
    Widget<ListBoxView>("List2")->setAccessibleName(tr("Instructions"));
    Widget<QLineEdit>("txtRunToMeld")->setAccessibleName(tr("Run to Meld target"));
    Widget<QLineEdit>("txtRunToTrump")->setAccessibleName(tr("Run Trump target"));
}

void MainWindow::BuildMenus() {
    std::map<std::string_view, QMenu*> menus;
    for (const MenuItemDesign& item : MenuDesign()) {
        QMenu*& menu = menus[item.menuName];
        if (menu == nullptr) {
            menu = menuBar()->addMenu(ToQString(item.menuCaption));
            menu->setObjectName(ToQString(item.menuName));
        }
        QAction* action = menu->addAction(ToQString(item.caption));
        action->setObjectName(ToQString(item.name));
        action->setShortcut(QKeySequence(ToQString(item.shortcut)));
        action->setShortcutContext(Qt::ApplicationShortcut);
        actions_.emplace(std::string(item.name), action);
    }
    BuildPracticeMenu(menus.at("mnuHelp"));
    // Help on the practice windows, after the main window's own topics.
    QMenu* help = menus.at("mnuHelp");
    help->addSeparator();
    for (const PracticeHelp& topic : PracticeHelpTopics()) {
        const QString title = QString::fromUtf8(topic.title.data(), static_cast<qsizetype>(topic.title.size()));
        const QString text = QString::fromUtf8(topic.text.data(), static_cast<qsizetype>(topic.text.size()));
        connect(help->addAction(title), &QAction::triggered, this,
                [this, title, text] { helpWindow_->ShowText(text, title); });
    }
}

void MainWindow::BuildPracticeMenu(QMenu* before) {
    // The practice tools stand in a menu of their own between File and Help;
    // none of them changes what the window does until the player uses it.
    auto* practice = new QMenu(tr("&Practice"), this);
    practice->setObjectName(QStringLiteral("mnuPractice"));
    menuBar()->insertMenu(before->menuAction(), practice);
    auto add = [&](const char* name, const QString& caption, const QKeySequence& shortcut) {
        QAction* action = practice->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::ApplicationShortcut);
        actions_.emplace(name, action);
        return action;
    };
    // The Practice keys work from every window, but never on a deal the user
    // cannot see: while the Game window is active they act on the game's
    // hand (the code) or do nothing (the analysis and the replay of the
    // table's deal).
    connect(add("mnuAnalyseHand", tr("&Analyse Hand\u2026"), QKeySequence(Qt::Key_F5)), &QAction::triggered, this,
            [this] {
                if (!GameActive()) OpenAnalysis();
            });
    practice->addSeparator();
    connect(add("mnuCopyDealCode", tr("&Copy Deal Code"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)),
            &QAction::triggered, this, [this] {
                QApplication::clipboard()->setText(GameActive() ? QString::fromStdString(gameWindow_->game().DealCode())
                                                                : QString::fromStdString(DealCodeOf(form_.Deck)));
            });
    connect(add("mnuDealFromCode", tr("&Deal from Code\u2026"), QKeySequence(Qt::Key_F6)), &QAction::triggered, this,
            [this] {
                if (GameActive())
                    AskDealFromCode(gameWindow_,
                                    [this](const QString& code) { return gameWindow_->DealFromCode(code); });
                else
                    AskDealFromCode(this, [this](const QString& code) { return DealFromCode(code); });
            });
    connect(add("mnuReplayDeal", tr("&Replay Deal"), QKeySequence(Qt::Key_F7)), &QAction::triggered, this, [this] {
        if (!GameActive()) Forward([this] { form_.ReplayDeal(); });
    });
    practice->addSeparator();
    QAction* check = add("mnuCheckPlay", tr("Check &Play"), QKeySequence(Qt::SHIFT | Qt::Key_F8));
    check->setCheckable(true);
    connect(check, &QAction::toggled, this, [this](bool on) {
        playRecord_.checking = on;
        if (playRecordWindow_ != nullptr) playRecordWindow_->Refresh();
    });
    connect(add("mnuPlayRecord", tr("Play R&ecord\u2026"), QKeySequence(Qt::Key_F8)), &QAction::triggered, this,
            &MainWindow::OpenPlayRecord);
    practice->addSeparator();
    connect(add("mnuPlayGame", tr("Play a &Game\u2026"), QKeySequence(Qt::CTRL | Qt::Key_G)), &QAction::triggered, this,
            &MainWindow::OpenGame);
    connect(add("mnuGameHistory", tr("Game &History\u2026"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G)),
            &QAction::triggered, this, &MainWindow::OpenHistory);
    connect(add("mnuDrills", tr("Dr&ills\u2026"), QKeySequence(Qt::CTRL | Qt::Key_D)), &QAction::triggered, this,
            &MainWindow::OpenDrills);
}

void MainWindow::OpenDrills() {
    GameHistory* history = History(true);
    if (history == nullptr) return;
    if (drillsWindow_ != nullptr) {
        drillsWindow_->Reload();
        drillsWindow_->raise();
        drillsWindow_->activateWindow();
        return;
    }
    // The schedule counts whole days of the local calendar.
    drillsWindow_ = new DrillsWindow(
        *history, [] { return QDate(1970, 1, 1).daysTo(QDate::currentDate()); }, this);
    connect(drillsWindow_, &DrillsWindow::reviewRequested, this, [this](qint64 game, int hand) {
        OpenHistory();
        if (historyWindow_ != nullptr) historyWindow_->ReviewHand(game, hand);
    });
    drillsWindow_->PlaceBeside(*this);
    drillsWindow_->show();
}

GameHistory* MainWindow::History(bool askAgain) {
    // Asked for by the user, a history that could not be opened says why
    // again, each time, and offers again to set a damaged file aside.
    if (history_ || (historyTried_ && !askAgain)) return history_.get();
    historyTried_ = true;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(folder);
    const std::string path = QDir(folder).filePath(QStringLiteral("history.sqlite")).toStdString();
    std::string problem;
    bool damaged = false;
    history_ = GameHistory::Open(path, &problem, &damaged);
    if (history_) return history_.get();
    // A file that cannot be read is kept as it is unless the user agrees to
    // set it aside and start a new history.
    if (!damaged) {
        QMessageBox::warning(this, tr("Game History"), QString::fromStdString(problem));
        return nullptr;
    }
    QMessageBox box(QMessageBox::Warning, tr("Game History"), QString::fromStdString(problem), QMessageBox::NoButton,
                    this);
    QPushButton* aside = box.addButton(tr("&Set It Aside and Start Anew"), QMessageBox::AcceptRole);
    box.addButton(tr("&Go On Without a History"), QMessageBox::RejectRole);
    box.exec();
    if (box.clickedButton() != aside) return nullptr;
    const std::string moved = GameHistory::SetAside(
        path, QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")).toStdString());
    if (moved.empty()) {
        QMessageBox::warning(this, tr("Game History"),
                             tr("The file could not be set aside; the games are not being kept."));
        return nullptr;
    }
    history_ = GameHistory::Open(path, &problem);
    if (!history_)
        QMessageBox::warning(this, tr("Game History"), QString::fromStdString(problem));
    else
        QMessageBox::information(
            this, tr("Game History"),
            tr("The damaged file was kept as %1. A new history has begun.").arg(QString::fromStdString(moved)));
    return history_.get();
}

void MainWindow::OpenHistory() {
    GameHistory* history = History(true);
    if (history == nullptr) return;
    if (historyWindow_ == nullptr) {
        historyWindow_ = new HistoryWindow(*history, this);
        connect(historyWindow_, &HistoryWindow::resumeRequested, this, [this](qint64 id) {
            OpenGame();
            if (gameWindow_ == nullptr || !gameWindow_->isVisible()) return;
            if (gameWindow_->HistoryId() == id) return;
            if (!gameWindow_->MayClose()) return;
            const std::optional<GameSummary> kept = history_->Summary(id);
            QString problem;
            if (kept && !gameWindow_->Resume(*kept, history_->Moves(id), &problem))
                QMessageBox::warning(gameWindow_, tr("Game History"),
                                     tr("The game cannot be resumed: %1").arg(problem));
        });
        connect(historyWindow_, &HistoryWindow::replayRequested, this, [this](const QString& code) {
            OpenGame();
            if (gameWindow_ == nullptr) return;
            const QString problem = gameWindow_->DealFromCode(code);
            if (!problem.isEmpty()) QMessageBox::warning(gameWindow_, tr("Replay as Practice"), problem);
        });
        historyWindow_->PlaceBeside(*this);
    }
    historyWindow_->Reload();
    historyWindow_->show();
    historyWindow_->raise();
    historyWindow_->activateWindow();
}

bool MainWindow::GameActive() const { return gameWindow_ != nullptr && QApplication::activeWindow() == gameWindow_; }

void MainWindow::OpenGame() {
    const bool first = gameWindow_ == nullptr;
    if (first) {
        gameWindow_ = new GameWindow(playRecord_, this);
        connect(gameWindow_, &GameWindow::recordChanged, this, [this] {
            if (playRecordWindow_ != nullptr) playRecordWindow_->Refresh();
        });
    }
    if (!gameWindow_->isVisible()) {
        if (first && !gameWindow_->RestorePlace()) gameWindow_->PlaceBeside(*this);
        gameWindow_->SetHistory(History());
        gameWindow_->show();
        // A game left unfinished is offered first; declined, it is not
        // offered again.
        if (first || !gameWindow_->InProgress())
            if (GameHistory* history = History())
                if (const std::optional<GameSummary> unfinished = history->Unfinished();
                    unfinished && unfinished->id != gameWindow_->HistoryId()) {
                    const auto answer = QMessageBox::question(gameWindow_, tr("Resume the Game"),
                                                              QString::fromStdString(ResumeQuestion(*unfinished)),
                                                              QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
                    QString problem;
                    if (answer == QMessageBox::Yes &&
                        gameWindow_->Resume(*unfinished, history->Moves(unfinished->id), &problem)) {
                        gameWindow_->raise();
                        gameWindow_->activateWindow();
                        return;
                    }
                    if (answer == QMessageBox::Yes)
                        QMessageBox::warning(gameWindow_, tr("Game"),
                                             tr("The game cannot be resumed: %1").arg(problem));
                    history->Abandon(unfinished->id);
                }
        // A game not yet begun asks for its settings; cancelled, the window
        // waits for New Game with nothing dealt.
        if (first || !gameWindow_->InProgress()) gameWindow_->AskNewGame();
    }
    gameWindow_->raise();
    gameWindow_->activateWindow();
}

QString MainWindow::DealFromCode(const QString& code) {
    std::string problem;
    Forward([&] { problem = form_.DealFromCode(code.toStdString()); });
    return QString::fromStdString(problem);
}

void MainWindow::OpenPlayRecord() {
    if (playRecordWindow_ == nullptr) {
        playRecordWindow_ = new PlayRecordWindow(playRecord_, this);
        connect(this, &MainWindow::handled, playRecordWindow_, &PlayRecordWindow::Refresh);
        playRecordWindow_->PlaceBeside(*this);
    }
    playRecordWindow_->show();
    playRecordWindow_->Refresh();
    playRecordWindow_->raise();
    playRecordWindow_->activateWindow();
}

void MainWindow::OpenAnalysis() {
    const bool first = analysisWindow_ == nullptr;
    if (first) {
        analysisWindow_ = new AnalysisWindow(
            form_, [this] { return DealCodeOf(form_.Deck); }, this);
        connect(this, &MainWindow::handled, analysisWindow_, &AnalysisWindow::Follow);
    }
    if (!analysisWindow_->isVisible()) {
        if (first) analysisWindow_->PlaceBeside(*this);
        analysisWindow_->show();
    }
    analysisWindow_->raise();
    analysisWindow_->activateWindow();
    analysisWindow_->Follow();
}

void MainWindow::ConnectControls() {
    auto onClick = [this](const char* name, void (Form1::*handler)()) {
        connect(Widget<QPushButton>(name), &QPushButton::clicked, this,
                [this, handler] { Forward([this, handler] { (form_.*handler)(); }); });
    };
    onClick("cmdPlay", &Form1::cmdPlay_Click);
    onClick("Shuffle", &Form1::Shuffle_Click);
    onClick("btnEnd", &Form1::btnEnd_Click);
    onClick("Deal", &Form1::Deal_Click);

    for (auto& [widget, model] : checkBoxes_) {
        CheckBox* box = model;
        connect(widget, &QCheckBox::clicked, this,
                [this, box](bool checked) { Forward([box, checked] { box->SetValue(checked ? 1 : 0); }); });
    }
    for (auto& [widget, model] : textBoxes_) {
        TextBox* box = model;
        connect(widget, &QLineEdit::textEdited, this, [box](const QString& text) { box->Text = text.toStdString(); });
    }
    for (CardImage* image : cards_) {
        connect(image, &CardImage::clicked, this, [this](int i) {
            // The play record sees the card before the table takes it.
            if (form_.module1.PlayFlag != 0) playRecord_.CardClicked(i);
            Forward([this, i] { form_.Image1_Click(i); });
        });
        connect(image, &CardImage::doubleClicked, this,
                [this](int i) { Forward([this, i] { form_.Image1_DblClick(i); }); });
        connect(image, &CardImage::mouseMoved, this,
                [this](int i) { Forward([this, i] { form_.Image1_MouseMove(i); }); });
    }

    auto onMenu = [this](const char* name, void (Form1::*handler)()) {
        connect(actions_.at(name), &QAction::triggered, this,
                [this, handler] { Forward([this, handler] { (form_.*handler)(); }); });
    };
    onMenu("mnuExit", &Form1::mnuExit_Click);
    onMenu("mnuBid", &Form1::mnuBid_Click);
    onMenu("mnuHandEvaluation", &Form1::mnuHandEvaluation_Click);
    onMenu("mnuMeld", &Form1::mnuMeld_Click);
    onMenu("mnuOpening", &Form1::mnuOpening_Click);
}

void MainWindow::SetTabOrder() {
    std::vector<const ControlDesign*> order;
    for (const ControlDesign& c : ControlsDesign()) {
        const bool focusable = c.kind == ControlKind::PushButton || c.kind == ControlKind::TextBox ||
                               c.kind == ControlKind::ListBox || c.kind == ControlKind::CheckBox;
        if (c.tabIndex >= 0 && focusable) order.push_back(&c);
    }
    std::sort(order.begin(), order.end(), [](auto* a, auto* b) { return a->tabIndex < b->tabIndex; });
    for (const ControlDesign* c : order) control(c->name)->setFocusPolicy(Qt::StrongFocus);
    for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(control(order[i - 1]->name), control(order[i]->name));
}

void MainWindow::Forward(const std::function<void()>& handler) {
    QElapsedTimer timer;
    timer.start();
    const bool playing = form_.module1.PlayFlag != 0;
    handler();
    if (!playing && form_.module1.PlayFlag != 0) StartRecordOnForm(playRecord_, form_, DealCodeOf(form_.Deck));
    Refresh();
    emit handled();
    if (reportTiming_) {
        repaint();  // painted here, so that the time includes it
        std::fprintf(stderr, "handler-us %lld\n", static_cast<long long>(timer.nsecsElapsed() / 1000));
    }
}

void MainWindow::Refresh() {
    for (auto& [widget, model] : labels_) {
        const QString caption = QString::fromStdString(model->Caption);
        if (widget->text() != caption) widget->setText(caption);
        if (widget->font().bold() != model->FontBold) {
            QFont font = widget->font();
            font.setBold(model->FontBold);
            widget->setFont(font);
        }
        const QColor color = ToQColor(model->ForeColor, QApplication::palette(widget));
        if (widget->palette().color(QPalette::WindowText) != color) {
            QPalette palette = widget->palette();
            palette.setColor(QPalette::WindowText, color);
            widget->setPalette(palette);
        }
    }
    for (auto& [widget, model] : textBoxes_) {
        const QString text = QString::fromStdString(model->Text);
        if (widget->text() != text) widget->setText(text);
        if (widget->isVisibleTo(this) != model->Visible) widget->setVisible(model->Visible);
    }
    for (auto& [widget, model] : buttons_) {
        const QString caption = QString::fromStdString(model->Caption);
        if (widget->text() != caption) {
            widget->setText(caption);
            widget->setAccessibleName(caption);
        }
    }
    for (auto& [widget, model] : checkBoxes_) {
        const bool checked = model->Value() != 0;
        if (widget->isChecked() != checked) widget->setChecked(checked);
    }
    for (auto& [widget, model] : lists_) widget->Sync(*model);
    RefreshImages();
    KeepCardEntryVisible();
}

QString MainWindow::HelpTopic() const {
    const Module1& m = form_.module1;
    if (m.HelpText == m.BidText) return tr("Bid");
    if (m.HelpText == m.HandEvalText) return tr("Hand Evaluation");
    if (m.HelpText == m.MeldText) return tr("Meld");
    if (m.HelpText == m.OpeningText) return tr("Opening");
    return tr("Vantrel Help");
}

void MainWindow::ConnectCardKeys() {
    for (CardImage* image : cards_) {
        if (image->index() == 0) {
            image->setFocusPolicy(Qt::NoFocus);
            continue;
        }
        connect(image, &CardImage::focused, this, &MainWindow::CardFocused);
        connect(image, &CardImage::stepped, this, &MainWindow::StepFromCard);
    }
    SetCardEntry(1);
    // Leaving the cards is a move over the background, as with the mouse.
    focusWatch_ = connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (qobject_cast<CardImage*>(old) == nullptr || qobject_cast<CardImage*>(now) != nullptr) return;
        if (focusedSeat_ == nullptr) return;
        focusedSeat_ = nullptr;
        Forward([this] { form_.Form_MouseMove(); });
    });
}

void MainWindow::SetCardEntry(int index) {
    // The rows of cards take one place in the tab order, after the design's
    // controls: the card last focused, or another still on the table.
    card(cardEntry_)->setFocusPolicy(Qt::ClickFocus);
    cardEntry_ = index;
    card(index)->setFocusPolicy(Qt::StrongFocus);
    setTabOrder(control("chkTrump"), card(index));
}

void MainWindow::KeepCardEntryVisible() {
    if (form_.Image1[cardEntry_].Visible) return;
    const bool hadFocus = card(cardEntry_)->hasFocus();
    for (int index = 1; index <= kTablePositions; ++index) {
        if (!form_.Image1[index].Visible) continue;
        SetCardEntry(index);
        // The focus stays among the cards while a trick is taken off the table.
        if (hadFocus) card(index)->setFocus(Qt::OtherFocusReason);
        return;
    }
}

void MainWindow::CardFocused(int index) {
    const SeatInfo* seat = SeatOfIndex(index);
    if (index != cardEntry_) SetCardEntry(index);
    // Entered as the mouse enters it: coming from elsewhere or from another
    // hand, the way passes over the background first.
    if (seat != focusedSeat_) Forward([this] { form_.Form_MouseMove(); });
    focusedSeat_ = seat;
    Forward([this, index] { form_.Image1_MouseMove(index); });
}

void MainWindow::StepFromCard(int index, int across, int down) {
    const SeatInfo* seat = SeatOfIndex(index);
    if (seat == nullptr) return;
    auto shown = [this](int i) { return form_.Image1[i].Visible; };
    int target = 0;
    if (across != 0) {
        for (int i = index + across; i >= seat->first && i < seat->first + kCardsPerHand && target == 0; i += across)
            if (shown(i)) target = i;
    } else {
        // Down takes the next hand in table order (South, West, North, East), Up the one before.
        const int place = index - seat->first;
        for (int step = 1; step < 4 && target == 0; ++step) {
            const int hand = ((seat->first - 1) / kCardsPerHand + down * step + 4) % 4;
            const int first = kSeats[static_cast<std::size_t>(hand)].first;
            for (int d = 0; d < kCardsPerHand && target == 0; ++d)
                for (int i : {first + place - d, first + place + d})
                    if (i >= first && i < first + kCardsPerHand && shown(i)) {
                        target = i;
                        break;
                    }
        }
    }
    if (target != 0) card(target)->setFocus(Qt::TabFocusReason);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!placed_) {
        placed_ = true;
        FitOnScreen();
        // Once the window manager has framed the window, its frame is known;
        // a window manager may take a while to frame it.
        for (const int wait : {0, 100, 400}) QTimer::singleShot(wait, this, &MainWindow::FitOnScreen);
    }
}

void MainWindow::FitOnScreen() {
    const QScreen* screen = this->screen();
    if (screen == nullptr) return;
    const QRect available = screen->availableGeometry();
    const QRect frame = frameGeometry();
    const QPoint place = KeepWithin(available, frame.topLeft(), frame.size());
    if (place != frame.topLeft()) move(pos() + (place - frame.topLeft()));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        // A focused text box would take keys such as Ctrl+E for itself; the
        // menus' shortcuts win, whatever control has the focus.
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        for (const auto& [name, action] : actions_)
            if (action->shortcut() == pressed) return true;
    } else if (event->type() == QEvent::KeyPress) {
        // Enter presses a focused button, as Space does, here and in the
        // practice windows; dialogs keep Qt's own default-button keys.
        const auto* key = static_cast<QKeyEvent*>(event);
        auto* button = qobject_cast<QPushButton*>(watched);
        if (button != nullptr && qobject_cast<QDialog*>(button->window()) == nullptr &&
            key->modifiers() == Qt::NoModifier && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            button->click();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::RefreshImages() {
    bool restack = false;
    for (int index = 0; index < ImageArray::kCount; ++index) {
        const ImageControl& model = form_.Image1[index];
        CardImage* image = cards_[static_cast<std::size_t>(index)];
        const QRect geometry(Pixels(model.Left), Pixels(model.Top), Pixels(model.Width), Pixels(model.Height));
        if (image->geometry() != geometry) image->setGeometry(geometry);
        if (index > 0 && image->isVisibleTo(this) != model.Visible) image->setVisible(model.Visible);
        if (stackingShown_[static_cast<std::size_t>(index)] != model.Stacking) restack = true;
        const SeatInfo* seat = SeatOfIndex(index);
        const bool played = seat != nullptr && (!model.Visible || model.Top != seat->rowTop);
        const bool renamed = image->picture() != model.Picture || image->played() != played;
        image->setPicture(model.Picture);
        if (renamed && seat != nullptr && model.Picture != 0) {
            image->setPlayed(played);
            QString name = CardName(form_.Deck[static_cast<std::size_t>(index)], seat->name);
            if (played) name += tr(", played");
            image->setAccessibleName(name);
        }
    }
    if (restack) {
        std::vector<int> order(cards_.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(),
                         [this](int a, int b) { return form_.Image1[a].Stacking < form_.Image1[b].Stacking; });
        for (int index : order) {
            stackingShown_[static_cast<std::size_t>(index)] = form_.Image1[index].Stacking;
            if (form_.Image1[index].Stacking != 0) cards_[static_cast<std::size_t>(index)]->raise();
        }
    }
}

void MainWindow::ServiceWindow() {
    // A search deals some hundred thousand hands a second; painting the window
    // after every one of them would make it a hundred times slower for no
    // visible gain, so the repaint keeps to the screen's pace. Nothing here
    // processes events: no other handler can run during a search.
    if (sinceRepaint_.elapsed() < 40) return;
    Refresh();
    repaint();
    sinceRepaint_.restart();
}

void MainWindow::SetBusy(bool busy) {
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (gameWindow_ != nullptr && !gameWindow_->MayClose()) {
        event->ignore();
        return;
    }
    event->accept();
    form_.Form_Terminate();
}

QWidget* MainWindow::control(std::string_view name, int index) const {
    if (name == "Image1") return card(index);
    const auto it = widgets_.find(name);
    return it == widgets_.end() ? nullptr : it->second;
}

CardImage* MainWindow::card(int index) const {
    if (index < 0 || index >= static_cast<int>(cards_.size())) return nullptr;
    return cards_[static_cast<std::size_t>(index)];
}

QAction* MainWindow::action(std::string_view name) const {
    const auto it = actions_.find(name);
    return it == actions_.end() ? nullptr : it->second;
}

}  // namespace vantrel
