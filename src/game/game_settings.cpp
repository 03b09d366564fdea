#include "game/game_settings.h"

namespace vantrel {

namespace {

constexpr std::array<const char*, 4> kSeatKeys{"seat/south", "seat/west", "seat/north", "seat/east"};
constexpr std::array<const char*, 4> kPlayers{"you", "easy", "normal", "strong"};
constexpr std::array<const char*, 3> kPaces{"fast", "normal", "slow"};

template <std::size_t N>
int IndexOf(const std::array<const char*, N>& names, const std::string& value) {
    for (std::size_t i = 0; i < N; ++i)
        if (value == names[i]) return static_cast<int>(i);
    return -1;
}

}  // namespace

unsigned GameSettings::UserSeats() const {
    unsigned users = 0;
    for (std::size_t s = 0; s < 4; ++s)
        if (seats[s] == SeatPlayer::You) users |= 1u << s;
    return users;
}

std::vector<std::pair<std::string, std::string>> GameSettings::ToSettings() const {
    std::vector<std::pair<std::string, std::string>> settings;
    for (std::size_t s = 0; s < 4; ++s)
        settings.emplace_back(kSeatKeys[s], kPlayers[static_cast<std::size_t>(seats[s])]);
    settings.emplace_back("pace", kPaces[static_cast<std::size_t>(pace)]);
    settings.emplace_back("hints", hints ? "1" : "0");
    settings.emplace_back("showAll", showAll ? "1" : "0");
    for (const auto& [name, value] : rules.ToSettings()) settings.emplace_back("rules/" + name, value);
    return settings;
}

GameSettings GameSettings::FromSettings(const std::vector<std::pair<std::string, std::string>>& settings) {
    GameSettings read;
    std::vector<std::pair<std::string, std::string>> rules;
    for (const auto& [name, value] : settings) {
        if (const int seat = IndexOf(kSeatKeys, name); seat >= 0) {
            const int player = IndexOf(kPlayers, value);
            // West and East are always the computer's.
            if (player > 0 || (player == 0 && seat % 2 == 0))
                read.seats[static_cast<std::size_t>(seat)] = static_cast<SeatPlayer>(player);
        } else if (name == "pace" && IndexOf(kPaces, value) >= 0) {
            read.pace = static_cast<Pace>(IndexOf(kPaces, value));
        } else if ((name == "hints" || name == "showAll") && (value == "0" || value == "1")) {
            (name == "hints" ? read.hints : read.showAll) = value == "1";
        } else if (name.rfind("rules/", 0) == 0) {
            rules.emplace_back(name.substr(6), value);
        }
    }
    read.rules = RulesFromSettings(rules).rules;
    // The game seats four, or three with a widow of three: a form of another
    // table read back is played by the Standard rules. Where three play, the
    // user sits in South alone.
    const GameForm& form = read.rules.form;
    const bool three = form.seats == 3 && form.widow == RuleSet::ThreeHanded().form.widow;
    if ((form.seats != 4 || form.widow != 0) && !three) read.rules = RuleSet::Standard();
    if (three)
        for (std::size_t seat = 1; seat < 4; ++seat)
            if (read.seats[seat] == SeatPlayer::You) read.seats[seat] = SeatPlayer::Normal;
    return read;
}

Level LevelOf(SeatPlayer player) {
    return player == SeatPlayer::Strong ? Level::Strong : player == SeatPlayer::Normal ? Level::Normal : Level::Easy;
}

}  // namespace vantrel
