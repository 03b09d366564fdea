#pragma once

#include <QDialog>

#include <array>
#include <map>

#include "game/game_settings.h"

class QCheckBox;
class QLabel;
class QComboBox;
class QFormLayout;
class QSpinBox;

namespace vantrel {

/// The "New Game" dialog: who sits in each seat, the form of the game (the
/// 48-card deck, the 80-card one, or three-handed with a widow) and then
/// its variants with their
/// descriptions, the pace of the computer's cards,
/// hints, and whether all hands are shown.
class NewGameDialog : public QDialog {
    Q_OBJECT

public:
    NewGameDialog(const GameSettings& settings, QWidget* parent);
    [[nodiscard]] GameSettings Settings() const;

private:
    void ShowPlayLine();
    /// The score that wins is asked only where the game ends at one.
    void ShowTarget();
    void KeepOnScreen();
    /// The variants' controls set from a rule set.
    void ShowRules(const RuleSet& rules);
    /// The rule set of the form chosen, before its variants.
    [[nodiscard]] RuleSet FormRules() const;

    std::array<QComboBox*, 4> seats_{};
    std::array<QLabel*, 4> seatLabels_{};
    QFormLayout* seatsForm_ = nullptr;
    QFormLayout* rulesForm_ = nullptr;
    QComboBox* form_ = nullptr;
    std::map<std::string, QWidget*> rules_;
    QComboBox* pace_ = nullptr;
    QCheckBox* hints_ = nullptr;
    QCheckBox* showAll_ = nullptr;
    QLabel* playLine_ = nullptr;
    GameSettings base_;
};

}  // namespace vantrel
