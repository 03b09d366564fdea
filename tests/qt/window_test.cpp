// The window driven through its real widgets, on the offscreen platform.
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>

#include <memory>

#include "analysis/hand_analysis.h"
#include "app/window_design.h"
#include "practice/deal_code.h"
#include "qt/analysis_window.h"
#include "qt/app_icon.h"
#include "qt/card_image.h"
#include "qt/help_window.h"
#include "qt/list_box_view.h"
#include "qt/main_window.h"
#include "qt/play_record_window.h"
#include "qt/practice_window.h"
#include "rules/seats.h"

using namespace vantrel;

class WindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<MainWindow> window_;
    int ends_ = 0;

    MainWindow& w() { return *window_; }
    QWindow* handle() { return w().windowHandle(); }
    Form1& form() { return w().form(); }

    // A point in the visible strip of a card, in window coordinates.
    QPoint CardPoint(int index) {
        CardImage* card = w().card(index);
        return card->mapTo(&w(), QPoint(10, card->height() / 2));
    }
    QPoint Background() { return w().surface()->mapTo(&w(), QPoint(700, 320)); }
    void MoveTo(QPoint point) { QTest::mouseMove(handle(), point); }
    void ClickCard(int index) { QTest::mouseClick(handle(), Qt::LeftButton, {}, CardPoint(index)); }
    void DoubleClickCard(int index) { QTest::mouseDClick(handle(), Qt::LeftButton, {}, CardPoint(index)); }
    void Press(const char* button) { QTest::mouseClick(w().control(button), Qt::LeftButton); }
    template <class W = QWidget>
    W* Control(const char* name) {
        return qobject_cast<W*>(w().control(name));
    }

    // The hand label of a seat letter, and whether it has the highlighted look.
    QLabel* HandLabel(const std::string& seat) {
        const char* names[] = {"lbl1", "lbl2", "lbl3", "lbl4"};
        return Control<QLabel>(names[SeatOfLetter(seat)->first / 12]);
    }
    static bool Highlighted(QLabel* label) {
        return label->font().bold() && label->palette().color(QPalette::WindowText).rgb() == qRgb(0, 0, 255);
    }
    QStringList ListLines(const char* name) {
        auto* list = Control<ListBoxView>(name);
        QStringList lines;
        for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
        return lines;
    }

private slots:
    void init() {
        ends_ = 0;
        window_ = std::make_unique<MainWindow>([] { return std::uint64_t{4242}; }, [this] { ++ends_; });
        w().show();
        QVERIFY(QTest::qWaitForWindowExposed(&w()));
        w().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w()));
    }
    void cleanup() { window_.reset(); }

    void controlsStandAsDesignedAndCanBeNamed() {
        QCOMPARE(w().surface()->size(), QSize(960, 550));
        QVERIFY(w().windowTitle().startsWith(QStringLiteral("Vantrel ")));
        QVERIFY(w().windowTitle().endsWith(QString::fromUtf8(kCaptionNotice.data(), kCaptionNotice.size())));
        QVERIFY(!w().windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        for (const ControlDesign& c : ControlsDesign()) {
            QWidget* widget = w().control(c.name, c.index);
            QVERIFY2(widget != nullptr, c.name.data());
            QCOMPARE(widget->parentWidget(), c.container.empty() ? w().surface() : w().control(c.container));
            if (c.kind != ControlKind::Image || c.index > 0)
                QVERIFY2(!widget->accessibleName().isEmpty(), c.name.data());
            QCOMPARE(widget->isVisibleTo(&w()), c.offered && c.name != "Text1" && c.name != "Text2");
            if (c.kind == ControlKind::Image) {
                QCOMPARE(widget->x(), c.left / 15);
                if (c.index > 0)
                    QCOMPARE(widget->geometry(), QRect(c.left / 15, SeatOfIndex(c.index)->rowTop / 15, 71, 96));
                continue;
            }
            QCOMPARE(widget->geometry(), QRect(c.left / 15, c.top / 15, c.width / 15, c.height / 15));
            if (auto* button = qobject_cast<QAbstractButton*>(widget))
                QCOMPARE(button->text(), QString::fromUtf8(c.caption.data(), c.caption.size()));
            if (c.boldFont) QVERIFY(widget->font().bold());
        }
        // A frame's border runs through its caption, above the controls inside it.
        for (const char* name : {"Frame2", "Frame3"}) {
            QWidget* frame = Control(name);
            const QImage image = frame->grab().toImage();
            const QColor background = image.pixelColor(image.width() / 2, 0);
            int border = 0;
            while (border < image.height() && image.pixelColor(image.width() / 2, border) == background) ++border;
            int top = frame->height();
            for (QWidget* child : frame->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
                if (child->isVisible()) top = std::min(top, child->y());
            QVERIFY2(border + 2 <= top,
                     qPrintable(QStringLiteral("%1: border at %2, controls from %3").arg(name).arg(border).arg(top)));
        }
        QStringList menus;
        QList<QKeySequence> shortcuts;
        for (QAction* menu : w().menuBar()->actions()) {
            menus << menu->text();
            for (QAction* item : menu->menu()->actions())
                if (!item->shortcut().isEmpty()) shortcuts << item->shortcut();
        }
        QCOMPARE(menus, (QStringList{"&File", "&Practice", "&Help"}));
        for (const MenuItemDesign& item : MenuDesign())
            QCOMPARE(w().action(item.name)->shortcut(),
                     QKeySequence(QString::fromUtf8(item.shortcut.data(), item.shortcut.size())));
        QCOMPARE(QSet<QKeySequence>(shortcuts.begin(), shortcuts.end()).size(), shortcuts.size());

        // The tab order follows the design, and the rows of cards come last.
        const QStringList expected{"btnEnd",       "Shuffle", "List1",         "List2",    "chkAutorun",
                                   "txtRunToMeld", "cmdPlay", "txtRunToTrump", "chkTrump", "Image1_1"};
        Control("btnEnd")->setFocus();
        QStringList seen{"btnEnd"};
        while (seen.size() < expected.size()) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            seen << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(seen, expected);
        QVERIFY(w().card(1)->accessibleName().endsWith(QStringLiteral(", South")));

        // The offscreen screen is smaller than the window: it moves just
        // enough, its top-left corner kept on screen.
        QTest::qWait(50);
        const QRect available = w().screen()->availableGeometry();
        const QRect frame = w().frameGeometry();
        QCOMPARE(frame.topLeft(),
                 QPoint(std::max(available.left(), std::min(kWindowLeft / 15, available.right() + 1 - frame.width())),
                        std::max(available.top(), std::min(kWindowTop / 15, available.bottom() + 1 - frame.height()))));
    }

    void keysReachTheControlsFromAnywhere() {
        auto* play = Control<QPushButton>("cmdPlay");
        play->setFocus();
        QTest::keyClick(play, Qt::Key_Return);  // Enter presses a button, as Space does
        QCOMPARE(form().module1.PlayFlag, std::int16_t{-1});
        QTest::keyClick(play, Qt::Key_Space);
        QCOMPARE(form().module1.PlayFlag, std::int16_t{0});
        auto* meld = Control<QCheckBox>("chkAutorun");
        auto* trump = Control<QCheckBox>("chkTrump");
        meld->setFocus();
        QTest::keyClick(meld, Qt::Key_Space);
        QTest::mouseClick(trump, Qt::LeftButton);
        QVERIFY(trump->isChecked() && !meld->isChecked());
        QCOMPARE(form().chkAutorun.Value() + 2 * form().chkTrump.Value(), 2);
        QTest::mouseClick(trump, Qt::LeftButton);
        auto* box = Control<QLineEdit>("txtRunToMeld");
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("250"));
        QCOMPARE(form().txtRunToMeld.Text, std::string("250"));
        Press("Shuffle");
        QCOMPARE(box->text(), QStringLiteral("100"));
        // A menu shortcut wins over a focused text box's own keys.
        box->setFocus();
        QTest::keyClick(box, Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(ends_, 1);
        Press("btnEnd");
        w().action("mnuExit")->trigger();
        w().close();
        QCOMPARE(ends_, 4);
    }

    void theMouseSelectsNamesAndPlays() {
        MoveTo(Background());
        MoveTo(CardPoint(3));
        QVERIFY(Highlighted(HandLabel("S")) && !Highlighted(HandLabel("N")));
        const int count = ListLines("List1").size();
        MoveTo(CardPoint(5));
        QCOMPARE(ListLines("List1").size(), count);  // once per visit
        // Moving over a frame is not moving over the window's own surface.
        QWidget* frame = Control("Frame2");
        MoveTo(frame->mapTo(&w(), QPoint(frame->width() - 30, frame->height() - 20)));
        QVERIFY(Highlighted(HandLabel("S")));
        MoveTo(Background());
        MoveTo(CardPoint(27));
        QVERIFY(Highlighted(HandLabel("N")) && !Highlighted(HandLabel("S")));
        QCOMPARE(ListLines("List1").mid(count, 2), (QStringList{"", "North"}));

        DoubleClickCard(15);
        QCOMPARE(form().CurSeat, std::string("W"));
        const QStringList named = ListLines("List1");
        QVERIFY(named.last().startsWith(QStringLiteral("Bid Value = ")));
        MoveTo(Background());
        MoveTo(CardPoint(40));
        QCOMPARE(ListLines("List1"), named);  // named trump freezes the selection

        Press("cmdPlay");
        QVERIFY(HandLabel("W")->font().bold());
        const QStringList before = ListLines("List1");
        // A press released away from the card is no click.
        QTest::mousePress(handle(), Qt::LeftButton, {}, CardPoint(1));
        QTest::mouseRelease(handle(), Qt::LeftButton, {}, CardPoint(1) + QPoint(300, 0));
        QCOMPARE(form().module1.TrickCount, std::int16_t{0});
        ClickCard(1);
        QCOMPARE(w().card(1)->y(), 264 - 20);
        QVERIFY(w().card(1)->accessibleName().endsWith(QStringLiteral(", played")));
        // A double-click plays its card once, through the first click.
        DoubleClickCard(13);
        QCOMPARE(form().module1.TrickCount, std::int16_t{2});
        QCOMPARE(ListLines("List1"), before);
        ClickCard(25);
        ClickCard(37);
        for (int index : {1, 13, 25, 37}) QVERIFY(!w().card(index)->isVisible());
        QVERIFY(Highlighted(HandLabel(ListLines("List1").at(before.size() + 1).mid(21, 1).toStdString())));
        Press("cmdPlay");  // stop: a new deal with every card back
        for (int index = 1; index <= 48; ++index) QVERIFY(w().card(index)->isVisible());
    }

    void listsKeepTheUsersPlace() {
        auto* list = Control<ListBoxView>("List1");
        list->setCurrentRow(2);
        list->verticalScrollBar()->setValue(0);
        auto* instructions = Control<ListBoxView>("List2");
        QTest::mouseClick(instructions->viewport(), Qt::LeftButton, {},
                          instructions->visualItemRect(instructions->item(1)).center());
        MoveTo(Background());
        w().action("mnuBid")->trigger();
        Control<QCheckBox>("chkAutorun")->click();
        QCOMPARE(list->currentRow(), 2);
        QCOMPARE(list->verticalScrollBar()->value(), 0);
        QCOMPARE(instructions->currentRow(), 1);
        Press("Shuffle");  // a handler that changes the list shows its last line
        QCOMPARE(list->currentRow(), list->count() - 1);
    }

    void cardsFromTheKeyboard() {
        Control("chkTrump")->setFocus();
        const int count = ListLines("List1").size();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w().card(1));
        QVERIFY(Highlighted(HandLabel("S")));
        QCOMPARE(ListLines("List1").mid(count, 2), (QStringList{"", "South"}));
        // The focused card wears a frame.
        const QImage shot = w().card(1)->grab().toImage();
        QCOMPARE(shot.pixelColor(2, 40), QColor(0, 90, 220));
        QTest::keyClick(w().card(1), Qt::Key_Right);
        QCOMPARE(QApplication::focusWidget(), w().card(2));
        const int listed = ListLines("List1").size();
        QTest::keyClick(w().card(2), Qt::Key_Down);  // the next hand: West, entered afresh
        QCOMPARE(QApplication::focusWidget(), w().card(14));
        QVERIFY(Highlighted(HandLabel("W")) && !Highlighted(HandLabel("S")));
        QCOMPARE(ListLines("List1").mid(listed, 2), (QStringList{"", "West"}));
        QTest::keyClick(w().card(14), Qt::Key_Return, Qt::ShiftModifier);  // names trump
        QCOMPARE(form().module1.TrumpSuit, form().Deck[14].Suit.str());
        QVERIFY(ListLines("List1").last().startsWith(QStringLiteral("Bid Value = ")));
        Press("cmdPlay");
        w().card(14)->setFocus();
        QTest::keyClick(w().card(14), Qt::Key_Enter);
        QCOMPARE(form().module1.TrickCount, std::int16_t{1});
        // Leaving the cards is a move over the background.
        form().module1.PlayFlag = 0;
        Control("btnEnd")->setFocus();
        QVERIFY(!HandLabel("W")->font().bold());
    }

    void helpWindowsNameTheirTopic() {
        const QStringList list1 = ListLines("List1");
        const std::pair<Qt::Key, const char*> items[] = {
            {Qt::Key_B, "Bid"}, {Qt::Key_H, "Hand Evaluation"}, {Qt::Key_M, "Meld"}, {Qt::Key_O, "Opening"}};
        for (const auto& [key, topic] : items) {
            w().activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&w()));
            QTest::keyClick(&w(), key, Qt::ControlModifier);
            HelpWindow* help = w().helpWindow();
            QTRY_VERIFY(help->isVisible());
            QCOMPARE(help->windowTitle(), QString::fromLatin1(topic));
            QCOMPARE(help->text(), QString::fromStdString(form().module1.HelpText).replace("\r\n", "\n"));
            QTest::keyClick(help, Qt::Key_Escape);
            QTRY_VERIFY(!help->isVisible());
        }
        QCOMPARE(ListLines("List1"), list1);
    }

    void analysisFollowsTheHandAndStopsWhenClosed() {
        QTest::keyClick(&w(), Qt::Key_F5);
        AnalysisWindow* analysis = w().analysisWindow();
        QVERIFY(analysis != nullptr && analysis->isVisible());
        QCOMPARE(analysis->seat(), std::string("S"));
        auto* deals = analysis->findChild<QComboBox*>(QStringLiteral("deals"));
        auto restartWith = [&](int choice) {
            deals->setCurrentIndex(choice);
            analysis->Restart();
        };
        QSignalSpy finished(analysis, &AnalysisWindow::finished);
        restartWith(0);
        QVERIFY(finished.wait(10000));
        QCOMPARE(analysis->dealsDone(), 10000u);
        const auto own = OwnFiguresOf(&form().Deck[1]);
        auto* figures = analysis->findChild<QTableWidget*>(QStringLiteral("figures"));
        for (int suit = 0; suit < 4; ++suit)
            QCOMPARE(figures->item(2, suit)->text(), QString::number(own[static_cast<std::size_t>(suit)].bidValue));
        QVERIFY(figures->item(3, 0)->data(Qt::AccessibleTextRole).toString().startsWith("Partner, mean, Clubs: "));
        QVERIFY(analysis->text().startsWith("Hand Analysis: South\nRules: As designed\nDeal code: " +
                                            QString::fromStdString(DealCodeOf(form().Deck))));
        // By the standard rules the own meld is the standard meld, and the copy says so.
        analysis->findChild<QComboBox*>(QStringLiteral("rules"))->setCurrentIndex(1);
        restartWith(0);
        const auto standard = OwnFiguresOf(&form().Deck[1], MeldRules::Standard);
        for (int suit = 0; suit < 4; ++suit)
            QCOMPARE(figures->item(0, suit)->text(), QString::number(standard[static_cast<std::size_t>(suit)].meld));
        QVERIFY(analysis->text().contains("\nRules: Standard\n"));
        QVERIFY(finished.wait(10000));
        // ... and plays out the chance to make each bid, with the best bid.
        QTRY_VERIFY_WITH_TIMEOUT(!analysis->chanceRunning(), 30000);
        QVERIFY(analysis->findChild<QLabel*>(QStringLiteral("bestBid"))->text().startsWith("Best bid: "));
        QVERIFY(analysis->findChild<QTableWidget*>(QStringLiteral("chance"))->rowCount() > 1);
        QVERIFY(analysis->text().contains("\nChance to make (Standard rules, 20,000 deals played out"));
        QCOMPARE(analysis->findChild<QLabel*>("dealCode")->text(),
                 "Deal " + QString::fromStdString(DealCodeOf(form().Deck)));
        // Another hand restarts it; Cancel and closing stop it.
        MoveTo(Background());
        MoveTo(CardPoint(14));
        QCOMPARE(analysis->seat(), std::string("W"));
        restartWith(3);
        QVERIFY(analysis->running());
        for (QPushButton* button : analysis->findChildren<QPushButton*>())  // Enter on Cancel
            if (button->text() == QStringLiteral("C&ancel"))
                button->setFocus(), QTest::keyClick(button, Qt::Key_Return);
        QVERIFY(!analysis->running() && analysis->dealsDone() < 10000000u);
        QVERIFY(analysis->findChild<QLabel*>(QStringLiteral("status"))->text().startsWith("Cancelled after "));
        restartWith(3);
        analysis->close();
        QVERIFY(!analysis->running());
        QCOMPARE(finished.count(), 2);
    }

    void dealCodesReplayAndTheRecordFollowsPlay() {
        w().action("mnuCopyDealCode")->trigger();
        const QString code = QApplication::clipboard()->text();
        QCOMPARE(code, QString::fromStdString(DealCodeOf(form().Deck)));
        const QStringList dealt = ListLines("List1");
        Press("Shuffle");
        QCOMPARE(w().DealFromCode("nonsense"),
                 QStringLiteral("A deal code has 17 characters besides dashes and blanks; this one has 8."));
        QCOMPARE(w().DealFromCode(code), QString());
        QCOMPARE(ListLines("List1"), dealt);

        w().action("mnuCheckPlay")->trigger();
        w().action("mnuPlayRecord")->trigger();
        PlayRecordWindow* record = w().playRecordWindow();
        QVERIFY(record != nullptr && record->isVisible());
        DoubleClickCard(2);
        Press("cmdPlay");
        for (int index : {1, 13}) ClickCard(index);
        QVERIFY(record->text().contains("Rules: Standard; play checker: on"));
        QVERIFY(record->findChild<QLabel*>()->text().startsWith("Trick 1:  "));
        for (int index : {25, 37}) ClickCard(index);
        QCOMPARE(record->findChild<QLabel*>()->text(), QStringLiteral("Trick 2:"));
        w().action("mnuReplayDeal")->trigger();
        QCOMPARE(ListLines("List1"), dealt);
        QVERIFY(record->text().contains("Trick 1, led by South: "));  // readable until the next play
    }

    void practiceWindowsStandBesideTheTableAndClearOfEachOther() {
        const QRect hd(0, 0, 1920, 1080), small(0, 0, 1280, 800), table(356, 145, 962, 589);
        const QSize analysis(602, 825), record(602, 585);
        QCOMPARE(PlaceBesideFrame(hd, table, analysis, {}), QPoint(1318, 145));  // on the right
        // The right is taken: low on the left, where it covers less of the table than it would of the analysis.
        QCOMPARE(PlaceBesideFrame(hd, table, record, {QRect({1318, 145}, analysis)}), QPoint(0, 495));
        QCOMPARE(PlaceBesideFrame(hd, table.translated(544, 0), record, {}), QPoint(298, 145));  // on the left
        // No room on either side: where the least of the table is covered.
        const QRect moved = table.translated(-38, 0);
        const QSize tall(602, 800);
        QCOMPARE(PlaceBesideFrame(small, moved, tall, {}), QPoint(0, 0));
        QCOMPARE(PlaceBesideFrame(small, moved, record, {QRect({0, 0}, tall)}), QPoint(678, 0));
        // Off the very spot of another, as far as the screen allows.
        QCOMPARE(PlaceBesideFrame(QRect(0, 0, 700, 900), QRect(), tall, {QRect({0, 0}, tall)}), QPoint(98, 100));
    }

    void facesAndIconAreDrawnForTheirSize() {
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
        QSet<QByteArray> faces;
        for (int picture = 201; picture <= 224; ++picture) {
            const QImage image = painter.Face(picture, 1.0).toImage();
            faces.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()));
        }
        QCOMPARE(faces.size(), 24);
        // Small icons are drawn on whole pixels: pure white card, pure black
        // spade, where a scaled-down large icon is grey blur.
        for (int size : {16, 32}) {
            const QImage icon = PaintAppIcon(size).toImage();
            int white = 0;
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x) white += icon.pixelColor(x, y) == QColor(Qt::white);
            QVERIFY2(white >= size * size / 8, qPrintable(QString::number(white)));
        }
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
