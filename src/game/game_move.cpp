#include "game/game_move.h"

#include <array>

namespace vantrel {

namespace {

constexpr std::array<std::string_view, 9> kKindNames{"bid",  "pass",     "trump",     "pass-cards", "throw-in",
                                                     "play", "continue", "deal-code", "replay-line"};
constexpr int kFourthCopyShift = 48;

}  // namespace

std::uint64_t CardsWord(const KindCounts& cards) {
    std::uint64_t word = 0;
    bool fourKept = false;
    for (int kind = 0; kind < kCardKinds; ++kind) {
        int count = cards[static_cast<std::size_t>(kind)];
        if (count >= 4 && !fourKept) {
            word |= static_cast<std::uint64_t>(kind + 1) << kFourthCopyShift;
            count -= 4;
            fourKept = true;
        }
        word |= static_cast<std::uint64_t>(count & 3) << (2 * kind);
    }
    return word;
}

std::optional<KindCounts> CardsOfWord(std::uint64_t word) {
    KindCounts cards = CountsOf(word & kDeckBits);
    const std::uint64_t four = word >> kFourthCopyShift;
    if (four > static_cast<std::uint64_t>(kCardKinds)) return std::nullopt;
    if (four > 0) AddCards(cards, static_cast<int>(four) - 1, 4);
    return cards;
}

std::string Apply(Game& game, const GameMove& move) {
    switch (move.kind) {
        case GameMove::Kind::Bid:
        case GameMove::Kind::Pass: {
            std::string said =
                move.kind == GameMove::Kind::Bid ? game.Bid(move.seat, move.value) : game.Pass(move.seat);
            if (said.empty() && !move.text.empty()) game.SetCallReason(move.text);
            return said;
        }
        case GameMove::Kind::Trump:
            return game.NameTrump(move.seat, move.value);
        case GameMove::Kind::PassCards:
            return game.PassCards(move.seat, move.cards);
        case GameMove::Kind::ThrowIn:
            return game.ThrowIn(move.seat);
        case GameMove::Kind::Play:
            return game.PlayCard(move.seat, move.value);
        case GameMove::Kind::Continue:
            return game.Continue();
        case GameMove::Kind::DealCode:
            return game.DealFromCode(move.text);
        case GameMove::Kind::ReplayLine:
            if (move.value < 0) return "There is no such line on the score sheet.";
            return game.ReplayLine(static_cast<std::size_t>(move.value));
        case GameMove::Kind::Unreadable:
            break;
    }
    return "This move could not be read.";
}

GameMove MoveOf(int seat, const ComputerMove& move) {
    GameMove made;
    made.seat = seat;
    made.value = move.value;
    switch (move.kind) {
        case ComputerMove::Bid:
            made.kind = GameMove::Kind::Bid;
            made.text = move.reason;
            break;
        case ComputerMove::Pass:
            made.kind = GameMove::Kind::Pass;
            made.text = move.reason;
            break;
        case ComputerMove::Trump:
            made.kind = GameMove::Kind::Trump;
            break;
        case ComputerMove::PassCards:
            made.kind = GameMove::Kind::PassCards;
            made.cards = move.cards;
            break;
        case ComputerMove::ThrowIn:
            made.kind = GameMove::Kind::ThrowIn;
            break;
        case ComputerMove::TakeWidow:
            // Taking the widow ends the look at it, as Continue ends the look at the meld.
            made.kind = GameMove::Kind::Continue;
            made.seat = -1;
            break;
        case ComputerMove::Play:
        case ComputerMove::None:
            made.kind = GameMove::Kind::Play;
            break;
    }
    return made;
}

std::string_view KindName(GameMove::Kind kind) {
    const auto at = static_cast<std::size_t>(kind);
    return at < kKindNames.size() ? kKindNames[at] : std::string_view("unreadable");
}

std::optional<GameMove::Kind> KindNamed(std::string_view name) {
    for (std::size_t i = 0; i < kKindNames.size(); ++i)
        if (kKindNames[i] == name) return static_cast<GameMove::Kind>(i);
    return std::nullopt;
}

}  // namespace vantrel
