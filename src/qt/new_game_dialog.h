#pragma once

#include <QDialog>

#include <array>
#include <map>

#include "game/game_settings.h"

class QCheckBox;
class QLabel;
class QComboBox;
class QSpinBox;

namespace vantrel {

/// The "New Game" dialog: who sits in each seat, the rules' standard
/// variants with their descriptions, the pace of the computer's cards,
/// hints, and whether all hands are shown.
class NewGameDialog : public QDialog {
    Q_OBJECT

public:
    NewGameDialog(const GameSettings& settings, QWidget* parent);
    [[nodiscard]] GameSettings Settings() const;

private:
    void ShowPlayLine();

    std::array<QComboBox*, 4> seats_{};
    std::map<std::string, QWidget*> rules_;
    QComboBox* pace_ = nullptr;
    QCheckBox* hints_ = nullptr;
    QCheckBox* showAll_ = nullptr;
    QLabel* playLine_ = nullptr;
    GameSettings base_;
};

}  // namespace vantrel
