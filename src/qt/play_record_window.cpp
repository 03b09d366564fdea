#include "qt/play_record_window.h"
#include "qt/review_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "rules/design_codes.h"

namespace vantrel {

PlayRecordWindow::PlayRecordWindow(PlayRecord& record, QWidget* parent)
    : PracticeWindow(parent, QSize(600, 560)), record_(record) {
    setObjectName(QStringLiteral("PlayRecordWindow"));
    setWindowTitle(tr("Play Record"));

    trick_ = new QLabel(this);
    QFont large = trick_->font();
    large.setPointSizeF(large.pointSizeF() * 1.4);
    large.setBold(true);
    trick_->setFont(large);
    trick_->setAccessibleName(tr("Trick being played"));
    view_ = new QPlainTextEdit(this);
    view_->setReadOnly(true);
    view_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    view_->setAccessibleName(tr("Play record"));

    auto* rules = new QGroupBox(tr("Rules the play checker holds cards to (Practice > Check Play)"), this);
    auto* rulesLayout = new QHBoxLayout(rules);
    auto addRule = [&](const QString& caption, bool PlayRules::*rule) {
        auto* box = new QCheckBox(caption, rules);
        box->setChecked(record_.rules.play.*rule);
        connect(box, &QCheckBox::toggled, this, [this, rule](bool on) { record_.rules.play.*rule = on; });
        rulesLayout->addWidget(box);
    };
    addRule(tr("&Follow suit"), &PlayRules::followSuit);
    addRule(tr("&Beat the suit led"), &PlayRules::headTrick);
    addRule(tr("&Trump when void"), &PlayRules::trumpWhenVoid);
    addRule(tr("&Over-trump"), &PlayRules::overTrump);

    auto* copy = new QPushButton(tr("&Copy"), this);
    copy->setAccessibleName(tr("Copy the play record"));
    auto* review = new QPushButton(tr("&Review"), this);
    review->setAccessibleName(tr("Review the recorded hand, card by card"));
    connect(review, &QPushButton::clicked, this, [this] { Review(); });
    auto* close = new QPushButton(tr("Close"), this);
    connect(copy, &QPushButton::clicked, this, [this] { QApplication::clipboard()->setText(text()); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(copy);
    buttons->addWidget(review);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(trick_);
    layout->addWidget(view_, 1);
    layout->addWidget(rules);
    layout->addLayout(buttons);
}

void PlayRecordWindow::Refresh() {
    // Every handled event calls this, mouse moves included: a closed window
    // writes nothing, and is brought up to date when it opens.
    if (!isVisible()) return;
    QString trick;
    if (!record_.started()) {
        trick = tr("No hand played yet");
    } else if (record_.tricks().size() == 12) {
        trick = record_.verdict().judged ? QString::fromStdString(record_.verdict().result) : tr("Hand played");
    } else {
        trick = tr("Trick %1:").arg(record_.tricks().size() + 1);
        for (const PlayRecord::Play& play : record_.current())
            trick += QStringLiteral("  %1 %2").arg(
                QString::fromStdString(KindText(play.kind)),
                QString::fromUtf8(LetterOf(play.seat).data(), static_cast<qsizetype>(LetterOf(play.seat).size())));
    }
    trick_->setText(trick);
    const QString text = QString::fromStdString(record_.Text());
    if (view_->toPlainText() != text) {
        view_->setPlainText(text);
        view_->verticalScrollBar()->setValue(view_->verticalScrollBar()->maximum());
    }
}

QString PlayRecordWindow::text() const { return QString::fromStdString(record_.Text()); }

}  // namespace vantrel

namespace vantrel {

ReviewWindow* PlayRecordWindow::Review() {
    std::string stopped;
    ReviewRequest request = RequestOf(record_, &stopped);
    if (request.plays.empty()) {
        trick_->setText(stopped.empty() ? tr("Name a trump and play a card to review the hand.")
                                        : QString::fromStdString(stopped));
        return nullptr;
    }
    auto* window =
        new ReviewWindow(std::move(request), tr("the Play Record"), parentWidget(), QString::fromStdString(stopped));
    window->PlaceBeside(*this);
    window->show();
    return window;
}

}  // namespace vantrel
