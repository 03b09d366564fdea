#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace vantrel {

/// The help window: shows the current help text with its line breaks,
/// wrapping long lines. It does not block the main window; Escape closes it.
class HelpWindow : public QDialog {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent);

    /// Shows a help text under its topic, which names the window.
    void ShowText(const QString& text, const QString& topic);
    [[nodiscard]] QString text() const;

private:
    QPlainTextEdit* view_;
};

}  // namespace vantrel
