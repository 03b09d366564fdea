#pragma once

// What must hold of any moves from outside, for the fuzzers and for the test
// that reads their corpora again: a byte string read as moves applied to a
// fresh game, and a text read as JSON lines of kept games. Each check says
// what went wrong, or nothing.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "game/game_driver.h"
#include "history/game_history.h"

namespace vantrel::testing {

// Bytes taken one at a time from the front; zeros once they run out.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    [[nodiscard]] bool Done() const { return at_ >= bytes_.size(); }
    std::uint8_t Byte() { return Done() ? 0 : bytes_[at_++]; }
    std::uint64_t Word(int bytes) {
        std::uint64_t word = 0;
        for (int i = 0; i < bytes; ++i) word = word << 8 | Byte();
        return word;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

// Texts a move may carry: reasons, deal codes good and bad, odd bytes.
inline constexpr std::array<std::string_view, 6> kMoveTexts{"",
                                                            "250: makes it 61% of the time in Hearts",
                                                            "9R9R-G0K3-VP66-VMQT-S",
                                                            "9R9R-G0K3-VP66-VMQT-T",
                                                            "\u00a0x\u2014",
                                                            "nonsense"};

// A move from the reader: half the time the move an Easy computer would
// make (so that games go on to their end), else a garbled one of any kind
// with values out of range, stray bits in the cards and odd texts.
inline GameMove NextMove(const Game& game, ByteReader& in) {
    const std::uint8_t op = in.Byte();
    const int seat = game.ToAct();
    if (op < 128) {
        if (seat >= 0) return MoveOf(seat, ChooseMove(game, seat, Level::Easy, op));
        const bool throwIn = op % 8 == 0 && game.CurrentPhase() == Phase::Meld;
        return GameMove::Of(throwIn ? GameMove::Kind::ThrowIn : GameMove::Kind::Continue,
                            throwIn ? game.Declarer() : -1);
    }
    GameMove move;
    move.kind = static_cast<GameMove::Kind>(op % 11);
    move.seat = static_cast<std::int8_t>(in.Byte()) % 6;
    const std::uint8_t shape = in.Byte();
    move.value = shape % 4 == 0   ? static_cast<int>(static_cast<std::uint32_t>(in.Word(4)))
                 : shape % 4 == 1 ? shape / 4 - 8
                                  : shape;
    if (shape % 3 == 0) {
        move.cards = CardsOfWord(in.Word(8)).value_or(KindCounts{});
    } else if (seat >= 0 && (game.CurrentPhase() == Phase::PassToDeclarer || game.CurrentPhase() == Phase::PassBack)) {
        move.cards = ChooseMove(game, seat, Level::Easy, shape).cards;
        if (shape % 3 == 1) AddCards(move.cards, shape % kCardKinds, 1 + shape % 3);
    }
    move.text = kMoveTexts[in.Byte() % kMoveTexts.size()];
    return move;
}

// A refused move changes nothing; the moves taken replay to the same game,
// which is written as a line that reads back to the same game and line.
inline std::string CheckMoves(std::span<const std::uint8_t> bytes) {
    ByteReader in(bytes);
    GameSettings settings;
    const std::uint8_t form = in.Byte();
    if (form % 4 == 0) settings.rules = RuleSet::DoubleDeck();
    settings.rules.passCards = std::array{0, 3, 4}[form / 4 % 3];
    const std::uint8_t play = in.Byte();
    settings.rules.play = {(play & 1) != 0, (play & 2) != 0, (play & 4) != 0, (play & 8) != 0};
    const std::uint64_t seed = in.Word(2);
    Game game(settings.rules, seed, 3);
    std::vector<GameMove> taken;
    while (!in.Done() && taken.size() < 2000) {
        const GameMove move = NextMove(game, in);
        const Game before = game;
        if (const std::string said = Apply(game, move); !said.empty()) {
            if (!(game == before)) return "the refused move changed the game: " + said;
            continue;
        }
        taken.push_back(move);
    }
    std::string refused;
    const std::optional<GameDriver> driver = GameDriver::Restore(
        settings, seed, [] { return std::int64_t{0}; }, taken, &refused);
    if (!driver) return "the moves taken did not replay: " + refused;
    if (!(driver->game() == game)) return "the moves taken replayed to another game";
    const KeptGame kept{"2026-12-09T10:00:00", seed, settings, taken};
    const std::string line = GameLine(kept);
    const ReadGame read = ReadGameLine(line);
    if (!read.driver) return "its own line was refused: " + read.refused;
    if (!(read.game == kept) || !(read.driver->game() == game)) return "its own line read back to another game";
    return {};
}

// Every line is read or refused with a reason; a line read gives a game
// whose own line reads back to the same game and the same line.
inline std::string CheckImport(std::string_view text) {
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const ReadGame read = ReadGameLine(std::string(text.substr(start, end - start)));
        start = end + 1;
        if (read.driver.has_value() == !read.refused.empty()) return "a line neither read nor refused with a reason";
        if (!read.driver) continue;
        const std::string line = GameLine(read.game);
        const ReadGame again = ReadGameLine(line);
        if (!again.driver || !(again.game == read.game) || !(again.driver->game() == read.driver->game()))
            return "a line read did not read back from its own line";
        if (GameLine(again.game) != line) return "a game's line changed when read and written again";
    }
    return {};
}

}  // namespace vantrel::testing
