#include "qt/new_game_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTimer>
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
// here.
bool GameVariant(std::string_view name) {
    constexpr std::array<std::string_view, 9> kFixed{"meld",      "tricks", "cardPoints", "copies", "nines",
                                                     "handCards", "widow",  "dealBy",     "seats"};
    return std::find(kFixed.begin(), kFixed.end(), name) == kFixed.end();
}

// The three-handed game's own rules, shown for that form alone.
bool ThreeHandedRule(std::string_view name) {
    return name == "bidderMeldsOnly" || name == "layAwayTrump" || name == "concedeToEach" || name == "pointsGame" ||
           name == "spadesDouble";
}

// The partnership game's rules, which the three-handed game has no use for.
bool PartnershipRule(std::string_view name) { return name == "passCards" || name == "quadRunWins"; }

// The switches of the bidding and the game, in a box of their own below
// the seats: the rules' column already fills a 1080-pixel screen at twice
// the scale. The three-handed game's shortest go there too.
bool IsTableRule(std::string_view name) {
    return name == "quadRunWins" || name == "dealerStuck" || name == "layAwayTrump" || name == "spadesDouble";
}

// The forms the game deals, in the order offered.
const std::array<RuleSet, 3>& Forms() {
    static const std::array<RuleSet, 3> forms{RuleSet::Standard(), RuleSet::DoubleDeck(), RuleSet::ThreeHanded()};
    return forms;
}

int FormIndex(const GameForm& form) {
    for (std::size_t i = 0; i < Forms().size(); ++i)
        if (Forms()[i].form == form) return static_cast<int>(i);
    return 0;
}

bool IsSwitch(std::string_view name) {
    return name == "followSuit" || name == "headTrick" || name == "trumpWhenVoid" || name == "overTrump" ||
           name == "meldNeedsTrick" || IsTableRule(name) || ThreeHandedRule(name);
}

}  // namespace

NewGameDialog::NewGameDialog(const GameSettings& settings, QWidget* parent) : QDialog(parent), base_(settings) {
    setWindowTitle(tr("New Game"));
    auto* seatsBox = new QGroupBox(tr("Seats"), this);
    auto* seatsForm = new QFormLayout(seatsBox);
    seatsForm_ = seatsForm;
    for (std::size_t s = 0; s < 4; ++s) {
        auto* combo = new QComboBox(seatsBox);
        const bool userMaySit = s % 2 == 0;  // South, or North to practise a partnership
        if (userMaySit) combo->addItem(tr("You"), static_cast<int>(SeatPlayer::You));
        combo->addItem(tr("Computer, Easy"), static_cast<int>(SeatPlayer::Easy));
        combo->addItem(tr("Computer, Normal"), static_cast<int>(SeatPlayer::Normal));
        combo->addItem(tr("Computer, Strong"), static_cast<int>(SeatPlayer::Strong));
        combo->setCurrentIndex(std::max(0, combo->findData(static_cast<int>(settings.seats[s]))));
        combo->setAccessibleName(tr("Who plays %1").arg(Q(kSeats[s].name)));
        auto* label = new QLabel(Q(kSeats[s].name) + QLatin1Char(':'), seatsBox);
        label->setBuddy(combo);
        seatsForm->addRow(label, combo);
        seats_[s] = combo;
        seatLabels_[s] = label;
    }

    auto* tableBox = new QGroupBox(tr("Bidding and the game"), this);
    auto* tableForm = new QFormLayout(tableBox);
    auto* rulesBox = new QGroupBox(tr("Rules"), this);
    auto* rulesForm = new QFormLayout(rulesBox);
    rulesForm_ = rulesForm;
    form_ = new QComboBox(rulesBox);
    form_->setObjectName(QStringLiteral("form"));
    form_->addItem(tr("Single deck: 48 cards, 12 a hand"));
    form_->addItem(tr("Double deck: 80 cards, 20 a hand"));
    form_->addItem(tr("Three-handed: 15 cards each and a widow of 3"));
    form_->setAccessibleName(tr("Form of the game"));
    form_->setCurrentIndex(FormIndex(settings.rules.form));
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
    // Where three play, only the points game ends at a score.
    connect(qobject_cast<QCheckBox*>(rules_.at("pointsGame")), &QCheckBox::toggled, this, [this] { ShowTarget(); });
    ShowRules(settings.rules);
    // Another form brings its own variants: its bids, target and counts.
    connect(form_, &QComboBox::currentIndexChanged, this, [this] {
        ShowRules(FormRules());
        // Once the layout has taken the new rows the dialog may stand taller.
        QTimer::singleShot(0, this, &NewGameDialog::KeepOnScreen);
    });

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
    // Only the 80-card deck holds a quadruple run; the three-handed game has
    // its own rules and no partners to pass to.
    const bool three = rules.form.seats == 3;
    for (const auto& [name, widget] : rules_) {
        const bool shown = ThreeHandedRule(name)
                               ? three
                               : !(three && PartnershipRule(name)) && (name != "quadRunWins" || rules.form.copies >= 4);
        if (IsTableRule(name))
            widget->setVisible(shown);
        else
            rulesForm_->setRowVisible(widget, shown);
    }
    // Three sit at the table: South, West and East, the user in South.
    seatLabels_[2]->setText(three ? tr("East:") : Q(kSeats[2].name) + QLatin1Char(':'));
    seats_[2]->setAccessibleName(tr("Who plays %1").arg(three ? tr("East") : Q(kSeats[2].name)));
    if (const int you = seats_[2]->findData(static_cast<int>(SeatPlayer::You)); three && you >= 0) {
        if (seats_[2]->currentIndex() == you)
            seats_[2]->setCurrentIndex(seats_[2]->findData(static_cast<int>(SeatPlayer::Normal)));
        seats_[2]->removeItem(you);
    } else if (!three && you < 0) {
        seats_[2]->insertItem(0, tr("You"), static_cast<int>(SeatPlayer::You));
    }
    seatsForm_->setRowVisible(3, !three);
    ShowTarget();
    ShowPlayLine();
}

void NewGameDialog::KeepOnScreen() {
    // A form with more rules than the one the dialog opened with makes it
    // taller: it moves up as far as needed to stay whole on the screen.
    const QScreen* on = screen();
    if (on == nullptr || !isVisible()) return;
    const QRect room = on->availableGeometry();
    const int over = frameGeometry().bottom() - room.bottom();
    if (over > 0) move(pos().x(), std::max(room.top(), pos().y() - over));
}

void NewGameDialog::ShowTarget() {
    const bool three = form_->currentIndex() == 2;
    rulesForm_->setRowVisible(rules_.at("gameTarget"),
                              !three || qobject_cast<QCheckBox*>(rules_.at("pointsGame"))->isChecked());
}

RuleSet NewGameDialog::FormRules() const {
    const RuleSet& form = Forms()[static_cast<std::size_t>(std::clamp(form_->currentIndex(), 0, 2))];
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
    // The fourth seat is empty where three play.
    if (settings.rules.form.seats == 3) settings.seats[3] = SeatPlayer::Normal;
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
