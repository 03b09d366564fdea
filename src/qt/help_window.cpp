#include "qt/help_window.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantrel {

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent), view_(new QPlainTextEdit(this)) {
    setWindowTitle(tr("Vantrel Help"));
    setModal(false);
    view_->setReadOnly(true);
    view_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    view_->setAccessibleName(tr("Help text"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_);
    layout->addWidget(buttons);
    resize(520, 300);
}

void HelpWindow::ShowText(const QString& text, const QString& topic) {
    setWindowTitle(topic);
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    view_->setPlainText(shown);
    show();
    raise();
    activateWindow();
}

QString HelpWindow::text() const { return view_->toPlainText(); }

}  // namespace vantrel
