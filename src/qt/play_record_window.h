#pragma once

#include "practice/play_record.h"
#include "qt/practice_window.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;

namespace vantrel {

/// The "Play Record" window: the trick being played, every finished trick
/// with the checker's marks, the cards still out and, after the twelfth
/// trick, the verdict on the bid. Its boxes switch the checker's rules.
class PlayRecordWindow : public PracticeWindow {
    Q_OBJECT

public:
    PlayRecordWindow(PlayRecord& record, QWidget* parent);

    /// Shows the record as it now stands.
    void Refresh();
    [[nodiscard]] QString text() const;
    /// Opens the Hand Review of the recorded hand; null, with the reason on
    /// the window, when there is nothing to review.
    class ReviewWindow* Review();

private:
    PlayRecord& record_;
    QLabel* trick_ = nullptr;
    QPlainTextEdit* view_ = nullptr;
};

}  // namespace vantrel
