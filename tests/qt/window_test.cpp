// The window driven through its real widgets, on the offscreen platform.
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QTableWidget>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

#include "app/seats.h"
#include "app/window_design.h"
#include "analysis/hand_analysis.h"
#include "qt/analysis_window.h"
#include "qt/card_image.h"
#include "qt/play_record_window.h"
#include "practice/deal_code.h"
#include "qt/help_window.h"
#include "qt/list_box_view.h"
#include "qt/main_window.h"

using namespace vantrel;

namespace {

constexpr QRgb kBlue = qRgb(0, 0, 255);

Clock Fixed() {
    return [] { return std::uint64_t{4242}; };
}

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<MainWindow> window_;
    int ends_ = 0;

    MainWindow& w() { return *window_; }
    QWindow* handle() { return w().windowHandle(); }

    // A point in the visible strip of a card, in window coordinates.
    QPoint CardPoint(int index) {
        CardImage* card = w().card(index);
        return card->mapTo(&w(), QPoint(10, card->height() / 2));
    }
    void MoveTo(QPoint point) { QTest::mouseMove(handle(), point); }
    void MoveOverBackground() { MoveTo(w().surface()->mapTo(&w(), QPoint(700, 320))); }
    void ClickCard(int index) { QTest::mouseClick(handle(), Qt::LeftButton, {}, CardPoint(index)); }
    void DoubleClickCard(int index) { QTest::mouseDClick(handle(), Qt::LeftButton, {}, CardPoint(index)); }
    void Press(const char* button) { QTest::mouseClick(w().control(button), Qt::LeftButton); }

    QLabel* HandLabel(const char* name) { return qobject_cast<QLabel*>(w().control(name)); }
    static bool Highlighted(QLabel* label) {
        return label->font().bold() && label->palette().color(QPalette::WindowText).rgb() == kBlue;
    }
    static bool Normal(QLabel* label) {
        return !label->font().bold() && label->palette().color(QPalette::WindowText).rgb() != kBlue;
    }
    QStringList ListLines(const char* name) {
        auto* list = qobject_cast<ListBoxView*>(w().control(name));
        QStringList lines;
        for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
        return lines;
    }

private slots:
    void init() {
        ends_ = 0;
        window_ = std::make_unique<MainWindow>(Fixed(), [this] { ++ends_; });
        w().show();
        QVERIFY(QTest::qWaitForWindowExposed(&w()));
        w().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w()));
    }
    void cleanup() { window_.reset(); }

    void controlsStandAtTheirDesignPlaces() {
        QCOMPARE(w().surface()->size(), QSize(960, 550));
        QVERIFY(w().windowTitle().startsWith(QStringLiteral("Vantrel ")));
        QVERIFY(w().windowTitle().endsWith(QString::fromUtf8(kCaptionNotice.data(), kCaptionNotice.size())));
        for (const ControlDesign& c : ControlsDesign()) {
            QWidget* widget = w().control(c.name, c.index);
            QVERIFY2(widget != nullptr, c.name.data());
            const QWidget* container = c.container.empty() ? w().surface() : w().control(c.container);
            QCOMPARE(widget->parentWidget(), container);
            if (c.kind == ControlKind::Image) {
                QCOMPARE(widget->x(), c.left / 15);
                if (c.index > 0) {
                    QCOMPARE(widget->y(), SeatOfIndex(c.index)->rowTop / 15);
                    QCOMPARE(widget->size(), QSize(71, 96));
                }
                continue;
            }
            QCOMPARE(widget->geometry(), QRect(c.left / 15, c.top / 15, c.width / 15, c.height / 15));
            if (auto* button = qobject_cast<QAbstractButton*>(widget))
                QCOMPARE(button->text(), QString::fromUtf8(c.caption.data(), c.caption.size()));
            if (c.boldFont) QVERIFY(widget->font().bold());
        }
        QVERIFY(!w().control("Deal")->isVisible());
        QVERIFY(!w().control("Text1")->isVisible());
        QVERIFY(!w().control("Text2")->isVisible());
        for (const MenuItemDesign& item : MenuDesign()) {
            QAction* action = w().action(item.name);
            QVERIFY(action != nullptr);
            QCOMPARE(action->text(), QString::fromUtf8(item.caption.data(), item.caption.size()));
            QCOMPARE(action->shortcut(), QKeySequence(QString::fromUtf8(item.shortcut.data(), item.shortcut.size())));
        }
        QStringList menus;
        for (QAction* menu : w().menuBar()->actions()) menus << menu->text();
        QCOMPARE(menus, (QStringList{"&File", "&Practice", "&Help"}));
    }

    void tabOrderFollowsTheDesign() {
        const QStringList expected{"btnEnd",       "Shuffle", "List1",         "List2",   "chkAutorun",
                                   "txtRunToMeld", "cmdPlay", "txtRunToTrump", "chkTrump"};
        QWidget* start = w().control("btnEnd");
        start->setFocus();
        QStringList seen{start->objectName()};
        for (int i = 0; i < 40 && seen.size() < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            seen << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(seen, expected);
    }

    void everyControlHasAnAccessibleName() {
        for (const ControlDesign& c : ControlsDesign()) {
            QWidget* widget = w().control(c.name, c.index);
            if (c.kind == ControlKind::Image && c.index == 0) continue;
            QVERIFY2(!widget->accessibleName().isEmpty(), c.name.data());
        }
        QCOMPARE(w().control("txtRunToMeld")->accessibleName(), QStringLiteral("Run to Meld target"));
        const QString first = w().card(1)->accessibleName();
        const CardRec& card = w().form().Deck[1];
        QVERIFY2(first.endsWith(QStringLiteral(", South")), qPrintable(first));
        QVERIFY(first.startsWith(card.Rank == " A" ? QStringLiteral("Ace of ") : QString()));
        QVERIFY(!first.contains(QStringLiteral("played")));
    }

    void buttonsAndBoxesWorkFromTheKeyboard() {
        QWidget* play = w().control("cmdPlay");
        play->setFocus();
        QTest::keyClick(play, Qt::Key_Space);
        QCOMPARE(w().form().module1.PlayFlag, std::int16_t{-1});
        QWidget* shuffle = w().control("Shuffle");
        shuffle->setFocus();
        QTest::keyClick(shuffle, Qt::Key_Space);
        QCOMPARE(w().form().module1.PlayFlag, std::int16_t{0});
        auto* meld = qobject_cast<QCheckBox*>(w().control("chkAutorun"));
        meld->setFocus();
        QTest::keyClick(meld, Qt::Key_Space);
        QCOMPARE(w().form().chkAutorun.Value(), 1);
        auto* trumpBox = qobject_cast<QLineEdit*>(w().control("txtRunToTrump"));
        trumpBox->setFocus();
        QTest::keyClicks(trumpBox, QStringLiteral("12"));
        QCOMPARE(w().form().txtRunToTrump.Text, std::string("12"));
    }

    void startUpListsAShuffledDeal() {
        const QStringList lines = ListLines("List1");
        QVERIFY(lines.size() > 10);
        QCOMPARE(lines.last(), QStringLiteral("Number of Hands Dealt: 1"));
        QCOMPARE(ListLines("List2").size(), 4);
        for (int index = 1; index <= 48; ++index)
            QCOMPARE(w().card(index)->picture(),
                     static_cast<int>(w().form().Deck[static_cast<std::size_t>(index)].Pic));
        QVERIFY(w().card(1)->accessibleName().endsWith(QStringLiteral(", South")));
    }

    void movingOverHandsSelectsThem() {
        MoveOverBackground();
        MoveTo(CardPoint(3));
        QVERIFY(Highlighted(HandLabel("lbl1")));
        QVERIFY(Normal(HandLabel("lbl3")));
        QCOMPARE(w().form().CurSeat, std::string("S"));
        QVERIFY(ListLines("List1").contains(QStringLiteral("South")));
        const int count = ListLines("List1").size();
        MoveTo(CardPoint(5));
        QCOMPARE(ListLines("List1").size(), count);  // once per visit
        MoveOverBackground();
        QVERIFY(Normal(HandLabel("lbl1")));
        MoveTo(CardPoint(27));
        QVERIFY(Highlighted(HandLabel("lbl3")));
        QVERIFY(Normal(HandLabel("lbl1")));
        QCOMPARE(ListLines("List1").mid(count), QStringList() << ""
                                                              << "North" << ListLines("List1").mid(count + 2));
        // Moving over a frame is not moving over the window's own surface.
        QWidget* frame = w().control("Frame2");
        MoveTo(frame->mapTo(&w(), QPoint(frame->width() - 30, frame->height() - 20)));
        QVERIFY(Highlighted(HandLabel("lbl3")));
    }

    void doubleClickNamesTrumpAndFreezesSelection() {
        MoveOverBackground();
        DoubleClickCard(15);
        QVERIFY(w().form().TrumpDeclared);
        QCOMPARE(w().form().CurSeat, std::string("W"));
        QVERIFY(Highlighted(HandLabel("lbl2")));
        const QStringList lines = ListLines("List1");
        QVERIFY(lines.contains(QStringLiteral("******* Trump Declared *******")));
        QVERIFY(lines.last().startsWith(QStringLiteral("Bid Value = ")));
        MoveOverBackground();
        MoveTo(CardPoint(40));
        QCOMPARE(ListLines("List1"), lines);
        QVERIFY(Normal(HandLabel("lbl4")));
        DoubleClickCard(40);  // the second double-click empties the list first
        QVERIFY(!w().form().TrumpDeclared);
        QCOMPARE(ListLines("List1").at(1), QStringLiteral("******* Trump Declared *******"));
        MoveOverBackground();
        MoveTo(CardPoint(26));
        QCOMPARE(w().form().CurSeat, std::string("N"));
    }

    void clicksPlayCardsAndHideCompletedTricks() {
        DoubleClickCard(2);
        Press("cmdPlay");
        QCOMPARE(qobject_cast<QPushButton*>(w().control("cmdPlay"))->text(), QStringLiteral("Stop Play"));
        QVERIFY(HandLabel("lbl1")->font().bold());
        const QStringList before = ListLines("List1");
        const int top = w().card(1)->y();
        ClickCard(1);
        QCOMPARE(w().card(1)->y(), top - 20);
        QVERIFY(w().card(1)->accessibleName().endsWith(QStringLiteral(", played")));
        // A double-click plays its card once, through the first click, and
        // leaves the reports alone.
        DoubleClickCard(13);
        QCOMPARE(w().card(13)->y(), 144 - 20);
        QCOMPARE(w().form().module1.TrickCount, std::int16_t{2});
        QCOMPARE(ListLines("List1"), before);
        ClickCard(25);
        ClickCard(37);
        for (int index : {1, 13, 25, 37}) QVERIFY(!w().card(index)->isVisible());
        QVERIFY(ListLines("List1").join('\n').contains(QStringLiteral("Trick Winner: ")));
        const std::string winner = ListLines("List1").at(before.size() + 1).mid(21, 1).toStdString();
        QVERIFY(Highlighted(HandLabel(winner == "S"   ? "lbl1"
                                      : winner == "W" ? "lbl2"
                                      : winner == "N" ? "lbl3"
                                                      : "lbl4")));
        Press("cmdPlay");  // stop: a new deal with every card back
        for (int index = 1; index <= 48; ++index) QVERIFY(w().card(index)->isVisible());
        QCOMPARE(ListLines("List1").last(), QStringLiteral("Number of Hands Dealt: 1"));
    }

    void searchBoxesExcludeEachOther() {
        auto* meld = qobject_cast<QCheckBox*>(w().control("chkAutorun"));
        auto* trump = qobject_cast<QCheckBox*>(w().control("chkTrump"));
        QTest::mouseClick(meld, Qt::LeftButton);
        QVERIFY(meld->isChecked());
        QTest::mouseClick(trump, Qt::LeftButton);
        QVERIFY(trump->isChecked());
        QVERIFY(!meld->isChecked());
        QCOMPARE(w().form().chkAutorun.Value(), 0);
        trump->setFocus();
        QTest::keyClick(trump, Qt::Key_Space);
        QVERIFY(!trump->isChecked());
        QCOMPARE(w().form().chkTrump.Value(), 0);
    }

    void typedTargetsAreCheckedOnShuffle() {
        auto* box = qobject_cast<QLineEdit*>(w().control("txtRunToMeld"));
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("250"));
        QCOMPARE(w().form().txtRunToMeld.Text, std::string("250"));
        Press("Shuffle");
        QCOMPARE(box->text(), QStringLiteral("100"));
    }

    void helpItemsShowTheirTexts() {
        struct Item {
            const char* action;
            Qt::Key key;
            const char* start;
        };
        const Item items[] = {{"mnuBid", Qt::Key_B, "Determine if you can give a meld bid."},
                              {"mnuHandEvaluation", Qt::Key_H, "First you evaluate"},
                              {"mnuMeld", Qt::Key_M, "Meld consists of combinations"},
                              {"mnuOpening", Qt::Key_O, "After evaluation of your hand"}};
        const QStringList list1 = ListLines("List1");
        for (const Item& item : items) {
            w().activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&w()));
            QTest::keyClick(&w(), item.key, Qt::ControlModifier);
            HelpWindow* help = w().helpWindow();
            QTRY_VERIFY(help->isVisible());
            QVERIFY2(help->text().startsWith(QString::fromLatin1(item.start)), item.action);
            QTest::keyClick(help, Qt::Key_Escape);
            QTRY_VERIFY(!help->isVisible());
        }
        w().action("mnuBid")->trigger();
        QCOMPARE(w().helpWindow()->text().count('\n'), 4);  // four lines, each ended by a line break
        QCOMPARE(ListLines("List1"), list1);
    }

    void quitExitAndClosingEndTheProgram() {
        Press("btnEnd");
        QCOMPARE(ends_, 1);
        w().action("mnuExit")->trigger();
        QCOMPARE(ends_, 2);
        QTest::keyClick(&w(), Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(ends_, 3);
        w().close();
        QCOMPARE(ends_, 4);
    }

    void analysisFollowsTheHandAndStopsWhenClosed() {
        QTest::keyClick(&w(), Qt::Key_F5);
        AnalysisWindow* analysis = w().analysisWindow();
        QVERIFY(analysis != nullptr && analysis->isVisible());
        QCOMPARE(analysis->seat(), std::string("S"));
        auto* deals = analysis->findChild<QComboBox*>();
        auto restartWith = [&](int choice) {
            deals->setCurrentIndex(choice);
            analysis->Restart();
        };
        QSignalSpy finished(analysis, &AnalysisWindow::finished);
        restartWith(0);
        QVERIFY(finished.wait(10000));
        QCOMPARE(analysis->dealsDone(), 10000u);
        const auto own = OwnFiguresOf(&w().form().Deck[1]);
        auto* figures = analysis->findChild<QTableWidget*>(QStringLiteral("figures"));
        for (int suit = 0; suit < 4; ++suit)
            QCOMPARE(figures->item(2, suit)->text(), QString::number(own[static_cast<std::size_t>(suit)].bidValue));
        QVERIFY(figures->item(3, 0)->data(Qt::AccessibleTextRole).toString().startsWith("Partner, mean, Clubs: "));
        QVERIFY(analysis->text().startsWith("Hand Analysis: South\n"));

        // Another hand restarts it; Cancel and closing stop it.
        MoveOverBackground();
        MoveTo(CardPoint(14));
        QCOMPARE(analysis->seat(), std::string("W"));
        restartWith(3);
        QVERIFY(analysis->running());
        analysis->Cancel();
        QVERIFY(!analysis->running());
        QVERIFY(analysis->dealsDone() < 10000000u);
        restartWith(3);
        analysis->close();
        QVERIFY(!analysis->running());
        QCOMPARE(finished.count(), 1);
    }

    void dealCodesReplayAndTheRecordFollowsPlay() {
        w().action("mnuCopyDealCode")->trigger();
        const QString code = QApplication::clipboard()->text();
        QCOMPARE(code, QString::fromStdString(DealCodeOf(w().form().Deck)));
        const QStringList dealt = ListLines("List1");
        Press("Shuffle");
        QCOMPARE(w().DealFromCode("nonsense"),
                 QStringLiteral("A deal code has 17 characters besides dashes and blanks; this one has 8."));
        QVERIFY(ListLines("List1") != dealt);
        QCOMPARE(w().DealFromCode(code), QString());
        QCOMPARE(ListLines("List1"), dealt);
        QVERIFY(w().card(1)->isVisible());

        w().action("mnuCheckPlay")->trigger();
        w().action("mnuPlayRecord")->trigger();
        PlayRecordWindow* record = w().playRecordWindow();
        QVERIFY(record != nullptr && record->isVisible());
        DoubleClickCard(2);
        Press("cmdPlay");
        for (int index : {1, 13}) ClickCard(index);
        QVERIFY(record->text().contains("Play checker: on"));
        QVERIFY(record->findChild<QLabel*>()->text().startsWith("Trick 1:  "));
        for (int index : {25, 37}) ClickCard(index);
        QVERIFY(record->text().contains("Trick 1, led by South: "));
        QCOMPARE(record->findChild<QLabel*>()->text(), QStringLiteral("Trick 2:"));
        w().action("mnuReplayDeal")->trigger();
        QCOMPARE(ListLines("List1"), dealt);
        QVERIFY(record->text().contains("Trick 1, led by South: "));  // readable until the next play
    }

    void cardFacesArePaintedAtTheScreensScale() {
        CardPainter painter;
        for (qreal ratio : {1.0, 1.5, 2.0}) {
            const QPixmap face = painter.Face(207, ratio);
            QCOMPARE(face.devicePixelRatio(), ratio);
            QCOMPARE(face.size(), QSize(qCeil(71 * ratio), qCeil(96 * ratio)));
            const QImage image = face.toImage();
            // The index stands in the left 24 pixels: a red rank and heart.
            int red = 0;
            for (int y = 0; y < static_cast<int>(34 * ratio); ++y)
                for (int x = 0; x < static_cast<int>(24 * ratio); ++x) {
                    const QColor c = image.pixelColor(x, y);
                    red += c.red() > 150 && c.green() < 90 && c.blue() < 90;
                }
            QVERIFY(red > 20 * ratio * ratio);
        }
        // Every face differs from every other.
        QSet<QByteArray> faces;
        for (int picture = 201; picture <= 224; ++picture) {
            const QImage image = painter.Face(picture, 1.0).toImage();
            faces.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()));
        }
        QCOMPARE(faces.size(), 24);
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
