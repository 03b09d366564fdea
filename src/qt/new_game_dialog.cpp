#include "qt/new_game_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "rules/seats.h"

namespace vantrel {

namespace {

QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The variants a game may change: the rules of play, scoring and bidding.
// The form is chosen whole, first, and meld, tricks and card points are
// counted its usual way, so neither they nor the form's fields are a choice
// here; nor are the three-handed game's own rules, whose form the Game
// window does not deal yet.
bool GameVariant(std::string_view name) {
    constexpr std::array<std::string_view, 14> kFixed{
        "meld",   "tricks", "cardPoints",      "copies",       "nines",         "handCards",  "widow",
        "dealBy", "seats",  "bidderMeldsOnly", "layAwayTrump", "concedeToEach", "pointsGame", "spadesDouble"};
    return std::find(kFixed.begin(), kFixed.end(), name) == kFixed.end();
}

// The switches of the bidding and the game, in a box of their own below
// the seats: the rules' column already fills a 1080-pixel screen at twice
// the scale.
bool IsTableRule(std::string_view name) { return name == "quadRunWins" || name == "dealerStuck"; }

// The forms the game deals, in the order offered.
const std::array<RuleSet, 2>& Forms() {
    static const std::array<RuleSet, 2> forms{RuleSet::Standard(), RuleSet::DoubleDeck()};
    return forms;
}

bool IsSwitch(std::string_view name) {
    return name == "followSuit" || name == "headTrick" || name == "trumpWhenVoid" || name == "overTrump" ||
           name == "meldNeedsTrick" || IsTableRule(name);
}

}  // namespace

NewGameDialog::NewGameDialog(const GameSettings& settings, QWidget* parent) : QDialog(parent), base_(settings) {
    setWindowTitle(tr("New Game"));
    auto* seatsBox = new QGroupBox(tr("Seats"), this);
    auto* seatsForm = new QFormLayout(seatsBox);
    for (std::size_t s = 0; s < 4; ++s) {
        auto* combo = new QComboBox(seatsBox);
        const bool userMaySit = s % 2 == 0;  // South, or North to practise a partnership
        if (userMaySit) combo->addItem(tr("You"), static_cast<int>(SeatPlayer::You));
        combo->addItem(tr("Computer, Easy"), static_cast<int>(SeatPlayer::Easy));
        combo->addItem(tr("Computer, Normal"), static_cast<int>(SeatPlayer::Normal));
        combo->addItem(tr("Computer, Strong"), static_cast<int>(SeatPlayer::Strong));
        combo->setCurrentIndex(std::max(0, combo->findData(static_cast<int>(settings.seats[s]))));
        combo->setAccessibleName(tr("Who plays %1").arg(Q(kSeats[s].name)));
        seatsForm->addRow(Q(kSeats[s].name) + QLatin1Char(':'), combo);
        seats_[s] = combo;
    }

    auto* tableBox = new QGroupBox(tr("Bidding and the game"), this);
    auto* tableForm = new QFormLayout(tableBox);
    auto* rulesBox = new QGroupBox(tr("Rules (partnership pinochle)"), this);
    auto* rulesForm = new QFormLayout(rulesBox);
    form_ = new QComboBox(rulesBox);
    form_->setObjectName(QStringLiteral("form"));
    form_->addItem(tr("Single deck: 48 cards, 12 a hand"));
    form_->addItem(tr("Double deck: 80 cards, 20 a hand"));
    form_->setAccessibleName(tr("Form of the game"));
    form_->setCurrentIndex(settings.rules.form.copies == Forms()[1].form.copies ? 1 : 0);
    // A row of its own across both columns: the widest choice must not
    // widen the fields' column (the dialog stays on a 1920-pixel screen at
    // twice the scale).
    auto* formRow = new QHBoxLayout;
    auto* formLabel = new QLabel(tr("&Form of the game:"), rulesBox);
    formLabel->setBuddy(form_);
    formRow->addWidget(formLabel);
    formRow->addWidget(form_);
    formRow->addStretch(1);
    rulesForm->addRow(formRow);
    for (const RuleField& field : RuleFields()) {
        if (!GameVariant(field.name)) continue;
        QWidget* widget = nullptr;
        if (IsTableRule(field.name)) {
            auto* box = new QCheckBox(Q(field.description), tableBox);
            box->setObjectName(Q(field.name));
            tableForm->addRow(box);
            widget = box;
        } else if (IsSwitch(field.name)) {
            auto* box = new QCheckBox(Q(field.description), rulesBox);
            rulesForm->addRow(box);
            widget = box;
            if (field.name == "overTrump") {
                // How the four play switches bind together, kept up to date.
                playLine_ = new QLabel(rulesBox);
                playLine_->setObjectName(QStringLiteral("playRulesLine"));
                playLine_->setWordWrap(true);
                // A form gives a wrapped label no more height than one line
                // wants where the dialog is short (at twice the scale): the
                // line takes up to three.
                playLine_->setMinimumHeight(3 * playLine_->fontMetrics().lineSpacing());
                playLine_->setAccessibleName(tr("How the rules of play combine"));
                rulesForm->addRow(playLine_);
            }
        } else if (field.name == "passCards") {
            auto* combo = new QComboBox(rulesBox);
            for (int n : {0, 3, 4}) combo->addItem(n == 0 ? tr("None") : QString::number(n), n);
            combo->setAccessibleName(Q(field.description));
            rulesForm->addRow(Q(field.description) + QLatin1Char(':'), combo);
            widget = combo;
        } else {
            auto* spin = new QSpinBox(rulesBox);
            spin->setRange(field.name == "gameTarget"                                  ? 100
                           : field.name == "bidStep"                                   ? 1
                           : field.name == "lastTrick" || field.name == "meldCounters" ? 0
                                                                                       : 10,
                           field.name == "gameTarget"    ? 100000
                           : field.name == "standingBid" ? 1000
                                                         : 100);
            if (field.name == "gameTarget") spin->setSingleStep(100);
            spin->setAccessibleName(Q(field.description));
            rulesForm->addRow(Q(field.description) + QLatin1Char(':'), spin);
            widget = spin;
        }
        rules_.emplace(std::string(field.name), widget);
    }

    auto* playBox = new QGroupBox(tr("Play"), this);
    auto* playForm = new QFormLayout(playBox);
    pace_ = new QComboBox(playBox);
    pace_->addItems({tr("Fast"), tr("Normal"), tr("Slow")});
    pace_->setCurrentIndex(static_cast<int>(settings.pace));
    pace_->setAccessibleName(tr("Pace of the computer's cards"));
    playForm->addRow(tr("Pace of the computer's cards:"), pace_);
    hints_ = new QCheckBox(tr("Hints"), playBox);
    hints_->setChecked(settings.hints);
    showAll_ = new QCheckBox(tr("Show all hands, for study"), playBox);
    showAll_->setChecked(settings.showAll);
    playForm->addRow(hints_);
    playForm->addRow(showAll_);

    for (const char* name : {"followSuit", "headTrick", "trumpWhenVoid", "overTrump"})
        connect(qobject_cast<QCheckBox*>(rules_.at(name)), &QCheckBox::toggled, this, &NewGameDialog::ShowPlayLine);
    ShowRules(settings.rules);
    // Another form brings its own variants: its bids, target and counts.
    connect(form_, &QComboBox::currentIndexChanged, this, [this] { ShowRules(FormRules()); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("&Deal"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(seatsBox);
    left->addWidget(playBox);
    left->addWidget(tableBox);
    left->addStretch(1);
    columns->addLayout(left);
    columns->addWidget(rulesBox, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons);
}

void NewGameDialog::ShowRules(const RuleSet& rules) {
    for (const RuleField& field : RuleFields()) {
        const auto it = rules_.find(std::string(field.name));
        if (it == rules_.end()) continue;
        const int value = field.get(rules);
        if (auto* box = qobject_cast<QCheckBox*>(it->second))
            box->setChecked(value != 0);
        else if (auto* combo = qobject_cast<QComboBox*>(it->second))
            combo->setCurrentIndex(std::max(0, combo->findData(value)));
        else if (auto* spin = qobject_cast<QSpinBox*>(it->second))
            spin->setValue(value);
    }
    // Only the 80-card deck holds a quadruple run.
    rules_.at("quadRunWins")->setVisible(rules.form.copies >= 4);
    ShowPlayLine();
}

RuleSet NewGameDialog::FormRules() const {
    const RuleSet& form = Forms()[static_cast<std::size_t>(std::clamp(form_->currentIndex(), 0, 1))];
    // The rules the dialog opened with keep what it does not show, in their own form.
    return base_.rules.form == form.form ? base_.rules : form;
}

void NewGameDialog::ShowPlayLine() {
    playLine_->setText(QStringLiteral("<i>%1</i>").arg(Q(PlayRulesLine(Settings().rules.play)).toHtmlEscaped()));
}

GameSettings NewGameDialog::Settings() const {
    GameSettings settings = base_;
    settings.rules = FormRules();
    for (std::size_t s = 0; s < 4; ++s) settings.seats[s] = static_cast<SeatPlayer>(seats_[s]->currentData().toInt());
    for (const RuleField& field : RuleFields()) {
        const auto it = rules_.find(std::string(field.name));
        if (it == rules_.end()) continue;
        int value = 0;
        if (auto* box = qobject_cast<QCheckBox*>(it->second))
            value = box->isChecked() ? 1 : 0;
        else if (auto* combo = qobject_cast<QComboBox*>(it->second))
            value = combo->currentData().toInt();
        else if (auto* spin = qobject_cast<QSpinBox*>(it->second))
            value = spin->value();
        if (field.allowed(value)) field.set(settings.rules, value);
    }
    settings.pace = static_cast<Pace>(pace_->currentIndex());
    settings.hints = hints_->isChecked();
    settings.showAll = showAll_->isChecked();
    return settings;
}

}  // namespace vantrel
