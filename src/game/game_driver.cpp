#include "game/game_driver.h"

#include <algorithm>

#include "game/game_texts.h"
#include "players/playout_player.h"
#include "rules/card_text.h"
#include "rules/trick_rules.h"

namespace vantrel {

namespace {

// The table is looked at for a while before the game goes on: the widow
// face up before the bidder takes it, the meld before the play.
bool Looking(Phase phase) { return phase == Phase::Meld || phase == Phase::Widow; }

bool Picking(Phase phase) {
    return phase == Phase::PassToDeclarer || phase == Phase::PassBack || phase == Phase::LayAway;
}

}  // namespace

GameDriver::GameDriver(const GameSettings& settings, std::uint64_t seed, Clock clock)
    : settings_(settings), seed_(seed), clock_(std::move(clock)), game_(settings.rules, seed, 3) {
    nextMoveAt_ = clock_() + settings_.PaceMilliseconds();
    Changed();
}

std::optional<GameDriver> GameDriver::Restore(const GameSettings& settings, std::uint64_t seed, Clock clock,
                                              const std::vector<GameMove>& moves, std::string* refused) {
    GameDriver driver(settings, seed, std::move(clock));
    for (std::size_t i = 0; i < moves.size(); ++i) {
        // Each move goes the way it went the first time, undo and all.
        const std::string said = driver.Take(moves[i]);
        if (!said.empty()) {
            if (refused != nullptr) *refused = "move " + std::to_string(i + 1) + " refused: " + said;
            return std::nullopt;
        }
    }
    driver.message_.clear();
    return driver;
}

bool GameDriver::UserNamesTrump() const { return game_.CurrentPhase() == Phase::Trump && IsUser(game_.ToAct()); }

std::string GameDriver::Take(const GameMove& move) {
    Game before = game_;
    std::string refused = Apply(game_, move);
    if (!refused.empty()) return refused;
    const int seat = move.kind == GameMove::Kind::Continue ? -1 : move.seat;
    log_.push_back(move);
    // Undo never reaches back into a scored hand or across a deal.
    const Phase phase = game_.CurrentPhase();
    if (phase == Phase::HandScored || phase == Phase::GameOver || game_.HandNumber() != before.HandNumber() ||
        game_.Practice() != before.Practice())
        undo_.clear();
    else if (seat >= 0)
        undo_.push_back({seat, std::move(before), log_.size() - 1});
    Changed();
    return {};
}

void GameDriver::Changed() {
    ++position_;
    requested_.reset();
    pending_.reset();
    if (Looking(game_.CurrentPhase())) {
        if (!meldShownAt_) meldShownAt_ = clock_();
        // The computer declarer throws in at once what it cannot make.
        const int declarer = game_.Declarer();
        if (!IsUser(declarer) && game_.CurrentPhase() == Phase::Meld) {
            const ComputerMove move =
                ChooseMove(game_, declarer, LevelOf(settings_.seats[static_cast<std::size_t>(declarer)]), seed_);
            if (move.kind == ComputerMove::ThrowIn) {
                pending_ = move;
                pendingSeat_ = declarer;
            }
        }
    } else {
        meldShownAt_.reset();
    }
    if (!Picking(game_.CurrentPhase())) selected_ = KindCounts{};
}

void GameDriver::Bid(int amount) {
    const int seat = game_.ToAct();
    if (!IsUser(seat) || game_.CurrentPhase() != Phase::Auction) return;
    message_ = Take(GameMove::Of(GameMove::Kind::Bid, seat, amount));
    nextMoveAt_ = clock_() + settings_.PaceMilliseconds();
}

void GameDriver::Pass() {
    const int seat = game_.ToAct();
    if (!IsUser(seat) || game_.CurrentPhase() != Phase::Auction) return;
    message_ = Take(GameMove::Of(GameMove::Kind::Pass, seat));
    nextMoveAt_ = clock_() + settings_.PaceMilliseconds();
}

void GameDriver::NameTrump(int suit) {
    const int seat = game_.ToAct();
    if (!IsUser(seat) || game_.CurrentPhase() != Phase::Trump) return;
    message_ = Take(GameMove::Of(GameMove::Kind::Trump, seat, suit));
    nextMoveAt_ = clock_() + settings_.PaceMilliseconds();
}

void GameDriver::Card(int seat, int kind) {
    if (seat < 0 || seat >= game_.Seats() || kind < 0 || kind >= kCardKinds) {
        message_ = "There is no such card.";
        return;
    }
    const Phase phase = game_.CurrentPhase();
    if (Picking(phase) && seat == game_.ToAct() && IsUser(seat)) {
        // Picking cards to pass: a click picks a card or puts it back.
        const int picked = CountIn(selected_, kind);
        if (picked < CountIn(game_.HandOf(seat), kind) && CardCount(selected_) < game_.PassCount())
            AddCards(selected_, kind);
        else if (picked > 0)
            TakeCards(selected_, kind, picked);
        return;
    }
    if (phase != Phase::Play) return;
    if (seat != game_.ToAct()) {
        message_ = "It is " + game_.NameOf(game_.ToAct()) + "'s turn.";
        return;
    }
    if (!IsUser(seat)) {
        message_ = "The computer plays " + game_.NameOf(seat) + "'s cards.";
        return;
    }
    // A card the rules refuse is explained to the user in the user's words.
    const FormPlayState& play = game_.Play();
    if (std::string why = WhyYouMayNot(HeldKinds(play.Hands()[static_cast<std::size_t>(seat)]), play.Trick(), kind,
                                       game_.Trump(), game_.Rules().play);
        !why.empty()) {
        message_ = std::move(why);
        return;
    }
    message_ = Take(GameMove::Of(GameMove::Kind::Play, seat, kind));
    // The user's card that ends a trick leaves it in view as a computer's does.
    if (message_.empty())
        nextMoveAt_ = clock_() + (game_.Play().Trick().empty() ? TrickInView() : settings_.PaceMilliseconds());
}

void GameDriver::PassCards() {
    const int seat = game_.ToAct();
    if (!IsUser(seat)) return;
    const KindCounts cards = selected_;
    message_ = Take(GameMove::Of(GameMove::Kind::PassCards, seat, 0, cards));
    if (message_.empty()) selected_ = KindCounts{};
}

void GameDriver::ThrowIn() {
    if (game_.CurrentPhase() != Phase::Meld || !IsUser(game_.Declarer())) return;
    const int declarer = game_.Declarer();
    message_ = Take(GameMove::Of(GameMove::Kind::ThrowIn, declarer));
}

void GameDriver::Continue() {
    const Phase phase = game_.CurrentPhase();
    if (!Looking(phase) && phase != Phase::HandScored) return;
    // Going on from the meld to the play is no one seat's move: it stays
    // within the hand's undo, and the throw-in a computer had in mind lapses.
    message_ = Take(GameMove::Of(GameMove::Kind::Continue));
    nextMoveAt_ = clock_() + settings_.PaceMilliseconds();
}

void GameDriver::Undo() {
    const unsigned seats = settings_.UserSeats();
    for (auto entry = undo_.rbegin(); entry != undo_.rend(); ++entry)
        if ((seats >> entry->seat) & 1u) {
            game_ = std::move(entry->game);
            log_.resize(entry->moves);
            undo_.erase(std::prev(entry.base()), undo_.end());
            message_ = "Taken back.";
            selected_ = KindCounts{};
            Changed();
            nextMoveAt_ = clock_() + settings_.PaceMilliseconds();
            return;
        }
    message_ = "Nothing of yours to take back in this hand.";
}

std::string GameDriver::DealFromCode(const std::string& code) {
    std::string said = Take(GameMove::Of(GameMove::Kind::DealCode, -1, 0, {}, code));
    if (said.empty()) undo_.clear();
    return said;
}

void GameDriver::ReplayLine(std::size_t line) {
    if (line >= game_.Sheet().size()) {
        message_ = "There is no such line on the score sheet.";
        return;
    }
    message_ = Take(GameMove::Of(GameMove::Kind::ReplayLine, -1, static_cast<int>(line)));
    if (message_.empty()) undo_.clear();
}

std::optional<DecisionRequest> GameDriver::TakeRequest() {
    if (requested_ == position_ || pending_) return std::nullopt;
    const int seat = game_.ToAct();
    if (seat < 0 || IsUser(seat)) return std::nullopt;
    requested_ = position_;
    return DecisionRequest{position_, seat, LevelOf(settings_.seats[static_cast<std::size_t>(seat)]),
                           seed_ * 1000003 + position_, game_};
}

bool GameDriver::Deliver(std::uint64_t id, ComputerMove move) {
    if (id != position_ || requested_ != id || pending_) return false;
    pending_ = std::move(move);
    pendingSeat_ = game_.ToAct();
    return true;
}

std::optional<HintRequest> GameDriver::AskHint() {
    const int seat = game_.ToAct();
    if (!settings_.hints || !IsUser(seat) || game_.CurrentPhase() != Phase::Play) return std::nullopt;
    message_ = "Thinking\u2026";
    return HintRequest{position_, seat, game_};
}

bool GameDriver::DeliverHint(std::uint64_t id, const SearchChoice& choice) {
    if (id != position_) return false;
    message_ = HintText(choice);
    return true;
}

void GameDriver::Advance() {
    const std::int64_t now = clock_();
    if (pending_ && now >= nextMoveAt_) {
        const ComputerMove move = *pending_;
        const int seat = pendingSeat_;
        pending_.reset();
        const bool trickEnds = game_.CurrentPhase() == Phase::Play &&
                               game_.Play().Trick().size() == static_cast<std::size_t>(game_.Seats() - 1);
        const std::string said = Take(MoveOf(seat, move));
        // Each computer move waits a pace; a finished trick stays in view a while.
        const int pace = settings_.PaceMilliseconds();
        if (said.empty()) {
            nextMoveAt_ = now + (trickEnds ? TrickInView() : pace);
            // A note on the position before is no longer true of this one.
            message_.clear();
        }
        return;
    }
    if (Looking(game_.CurrentPhase()) && !IsUser(game_.Declarer()) && !pending_ && meldShownAt_ &&
        now >= *meldShownAt_ + MeldPause()) {
        Take(GameMove::Of(GameMove::Kind::Continue));
        nextMoveAt_ = now + settings_.PaceMilliseconds();
    }
}

std::optional<std::int64_t> GameDriver::NextDue() const {
    if (pending_) return std::max(nextMoveAt_, std::int64_t{0});
    if (Looking(game_.CurrentPhase()) && !IsUser(game_.Declarer()) && meldShownAt_) return *meldShownAt_ + MeldPause();
    return std::nullopt;
}

SearchChoice HintChoice(const HintRequest& request, const std::atomic<bool>* cancel) {
    constexpr std::uint64_t kHintSeed = 7;
    const Game& game = request.position;
    if (game.Rules().form == GameForm{})
        return SearchCard(game.SingleDeckViewOf(request.seat), BudgetOf(Level::Normal), kHintSeed, cancel);
    const PlayoutChoice playout =
        PlayoutCard(game.ViewOf(request.seat), PlayoutWorlds(Level::Normal), kHintSeed, cancel);
    SearchChoice choice;
    choice.card = playout.card;
    choice.expected = playout.expected;
    choice.worlds = playout.worlds;
    choice.byCard = playout.byCard;
    return choice;
}

}  // namespace vantrel
