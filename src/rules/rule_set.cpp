#include "rules/rule_set.h"

#include <charconv>

namespace vantrel {

namespace {

bool Switch(int value) { return value == 0 || value == 1; }
bool Points(int value) { return value >= 0 && value <= 100; }
bool Bid(int value) { return value >= 10 && value <= 1000; }
bool Step(int value) { return value >= 1 && value <= 100; }
bool Target(int value) { return value >= 100 && value <= 100000; }
bool Passed(int value) { return value == 0 || value == 3 || value == 4; }
bool CardValueChoice(int value) { return value >= 0 && value <= 2; }
bool Copies(int value) { return value == 2 || value == 4; }
bool HandCards(int value) { return value >= 1 && value <= 20; }
bool Widow(int value) { return value >= 0 && value <= 6; }
bool DealBy(int value) { return value >= 1 && value <= 5; }
bool Seats(int value) { return value == 3 || value == 4; }

// Each field reads and writes through a lambda; the table is the one place
// that names them, for the dialog, the text and the settings alike.
#define VANTREL_FIELD(name, description, member, allowed)                                     \
    RuleField {                                                                               \
        name, description, [](const RuleSet& r) { return static_cast<int>(r.member); },       \
            [](RuleSet& r, int v) { r.member = static_cast<decltype(r.member)>(v); }, allowed \
    }

const std::array<RuleField, 27> kFields{{
    VANTREL_FIELD("copies", "Copies of each card in the deck (2: 48 cards, 4: 80)", form.copies, Copies),
    VANTREL_FIELD("seats", "Seats at the table (4: two partnerships, 3: the bidder alone against two)", form.seats,
                  Seats),
    VANTREL_FIELD("nines", "The deck holds nines", form.nines, Switch),
    VANTREL_FIELD("handCards", "Cards dealt to each hand", form.handCards, HandCards),
    VANTREL_FIELD("widow", "Cards dealt to the widow", form.widow, Widow),
    VANTREL_FIELD("dealBy", "Cards dealt at a time", form.dealBy, DealBy),
    VANTREL_FIELD("meld", "Meld: 0 as designed (no doubles, runs in any suit), 1 standard (doubles, runs in trump)",
                  meld, Switch),
    VANTREL_FIELD("tricks",
                  "Tricks: 0 to the highest rank whatever the suit, 1 to the highest trump or card of the suit led",
                  tricks, Switch),
    VANTREL_FIELD("cardPoints",
                  "Card points: 0 as designed (A and 10 10, K and Q 5), 1 standard (A 11, 10 10, K 4, Q 3, J 2), "
                  "2 counters (A, 10 and K 1)",
                  cardPoints, CardValueChoice),
    VANTREL_FIELD("followSuit", "Follow the suit led", play.followSuit, Switch),
    VANTREL_FIELD("headTrick", "Beat the best card of the suit led when able, unless the trick is trumped",
                  play.headTrick, Switch),
    VANTREL_FIELD("trumpWhenVoid", "Void in the suit led: play a trump when able", play.trumpWhenVoid, Switch),
    VANTREL_FIELD("overTrump", "Beat a trump already in the trick when able", play.overTrump, Switch),
    VANTREL_FIELD("lastTrick", "Card points for the last trick", lastTrick, Points),
    VANTREL_FIELD("meldNeedsTrick", "A side's meld counts only when that side takes a trick", meldNeedsTrick, Switch),
    VANTREL_FIELD("meldCounters", "Card points a side must take for its meld to count", meldCounters, Points),
    VANTREL_FIELD("standingBid", "The dealer's standing bid", standingBid, Bid),
    VANTREL_FIELD("bidStep", "The least raise of the bid", bidStep, Step),
    VANTREL_FIELD("gameTarget", "The score that wins the game", gameTarget, Target),
    VANTREL_FIELD("passCards", "Cards passed between partners after trump is named (0, 3 or 4)", passCards, Passed),
    VANTREL_FIELD("quadRunWins", "Quadruple run in trump wins the game", quadRunWins, Switch),
    VANTREL_FIELD("dealerStuck", "Dealer stuck with the standing bid when all pass", dealerStuck, Switch),
    VANTREL_FIELD("bidderMeldsOnly", "Only the bidder melds (the classic game); off, all three meld", bidderMeldsOnly,
                  Switch),
    VANTREL_FIELD("layAwayTrump", "Trump may be laid away", layAwayTrump, Switch),
    VANTREL_FIELD("concedeToEach", "A concession pays the bid to each opponent; off, the bid once", concedeToEach,
                  Switch),
    VANTREL_FIELD("pointsGame", "Scored as the points game; off, by the classic settlement", pointsGame, Switch),
    VANTREL_FIELD("spadesDouble", "The settlement doubled with spades trump", spadesDouble, Switch),
}};

#undef VANTREL_FIELD

}  // namespace

std::string PlayRulesLine(const PlayRules& play) {
    std::string line = "Holding the suit led, ";
    if (play.followSuit)
        line += play.headTrick ? "follow it and beat its best card when able, unless the trick is trumped"
                               : "follow it with any card of it";
    else
        line +=
            play.headTrick
                ? "play any card, but one of that suit must beat its best card when able, unless the trick is trumped"
                : "play any card";
    line += "; void in it, ";
    if (play.trumpWhenVoid)
        line += play.overTrump ? "play a trump when able, beating a trump in the trick when able"
                               : "play a trump when able, any trump";
    else
        line +=
            play.overTrump ? "play any card, but a trump must beat a trump in the trick when able" : "play any card";
    return line + ".";
}

RuleSet RuleSet::Designed() {
    RuleSet rules;
    rules.meld = MeldRules::Designed;
    rules.tricks = TrickRules::RankAlone;
    rules.cardPoints = CardValues::Designed;
    rules.play = {false, false, false, false};
    rules.lastTrick = 0;
    return rules;
}

RuleSet RuleSet::Standard() { return RuleSet{}; }

RuleSet RuleSet::DoubleDeck() {
    RuleSet rules;
    rules.form = {4, false, 4, 20, 0, 4};
    rules.cardPoints = CardValues::Counters;
    rules.lastTrick = 2;
    rules.meldCounters = 20;
    rules.standingBid = 50;
    rules.bidStep = 1;
    rules.gameTarget = 500;
    return rules;
}

RuleSet RuleSet::ThreeHanded() {
    RuleSet rules;
    rules.form = {2, true, 3, 15, 3, 3};
    rules.standingBid = 300;
    rules.dealerStuck = false;
    rules.bidderMeldsOnly = true;
    rules.spadesDouble = true;
    return rules;
}

std::string RuleSet::Name() const {
    if (*this == Designed()) return "As designed";
    if (*this == Standard()) return "Standard";
    if (*this == DoubleDeck()) return "Double-deck";
    if (*this == ThreeHanded()) return "Three-handed";
    return form.seats == 3 ? "Three-handed, changed" : form.copies == 4 ? "Double-deck, changed" : "Standard, changed";
}

const std::array<RuleField, 27>& RuleFields() { return kFields; }

std::string RuleSet::Text() const {
    std::string text = "Rules: " + Name() + "\n";
    for (const RuleField& field : kFields) {
        text += std::string(field.description) + ": " + std::to_string(field.get(*this)) + "\n";
        if (std::string_view(field.name) == "overTrump") text += "Play: " + PlayRulesLine(play) + "\n";
    }
    return text;
}

std::vector<std::pair<std::string, std::string>> RuleSet::ToSettings() const {
    std::vector<std::pair<std::string, std::string>> settings;
    settings.reserve(kFields.size());
    for (const RuleField& field : kFields) settings.emplace_back(field.name, std::to_string(field.get(*this)));
    return settings;
}

ReadRules RulesFromSettings(const std::vector<std::pair<std::string, std::string>>& settings) {
    // The defaults are the form's: an 80-card deck starts from its own preset.
    RuleSet defaults = RuleSet::Standard();
    for (const auto& [name, text] : settings)
        if (name == "copies" && text == "4") defaults = RuleSet::DoubleDeck();
    for (const auto& [name, text] : settings)
        if (name == "seats" && text == "3") defaults = RuleSet::ThreeHanded();
    ReadRules read{defaults, {}};
    for (const auto& [name, text] : settings) {
        const RuleField* field = nullptr;
        for (const RuleField& f : kFields)
            if (f.name == name) field = &f;
        if (field == nullptr) {
            read.notes.push_back("Unknown rule \"" + name + "\" passed over.");
            continue;
        }
        int value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || end != text.data() + text.size() || !field->allowed(value)) {
            read.notes.push_back(std::string("Rule \"").append(name).append("\" cannot be ").append(text).append(": ") +
                                 std::to_string(field->get(defaults)) + " is used.");
            field->set(read.rules, field->get(defaults));
            continue;
        }
        field->set(read.rules, value);
    }
    if (!read.rules.form.DealsTheDeck()) {
        read.notes.push_back("The deck of " + std::to_string(read.rules.form.DeckCards()) + " cards cannot be dealt " +
                             std::to_string(read.rules.form.handCards) + " a hand, " +
                             std::to_string(read.rules.form.dealBy) + " at a time, with " +
                             std::to_string(read.rules.form.widow) + " to the widow: the form of " + defaults.Name() +
                             " is used.");
        read.rules.form = defaults.form;
    }
    return read;
}

}  // namespace vantrel
