#include "qt/deal_code_dialog.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

#include <algorithm>

namespace vantrel {

void AskDealFromCode(QWidget* parent, const std::function<QString(const QString&)>& deal) {
    QString code;
    for (;;) {
        QInputDialog dialog(parent);
        dialog.setWindowTitle(QObject::tr("Deal from Code"));
        dialog.setLabelText(QObject::tr("Deal code:"));
        dialog.setTextValue(code);
        // The dialog sizes itself to its layout, so the width is given to
        // the text box: room for the title, and for a code with its dashes.
        if (auto* edit = dialog.findChild<QLineEdit*>())
            edit->setMinimumWidth(
                std::max({320, edit->fontMetrics().horizontalAdvance(QStringLiteral("MMMM-MMMM-MMMM-MMMM-M")) + 24,
                          dialog.fontMetrics().horizontalAdvance(dialog.windowTitle()) * 2 + 120}));
        if (dialog.exec() != QDialog::Accepted) return;
        code = dialog.textValue();
        const QString problem = deal(code);
        if (problem.isEmpty()) return;
        QMessageBox::warning(parent, QObject::tr("Deal from Code"), problem);
    }
}

}  // namespace vantrel
