// vantrel-duel: duplicate matches between the computer players, to measure
// their strength. Every deal is played twice with the pairs' seats exchanged.
//   vantrel-duel A B [DEALS] [SEED]    with A and B: random, easy, normal, strong
#include <array>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "game/full_duel.h"
#include "game/three_handed_duel.h"
#include "players/duel.h"

namespace {

bool PlayerOf(std::string name, vantrel::DuelPlayer& player, bool* half = nullptr) {
    using vantrel::DuelPlayer;
    // "normal-half": Normal bidding on while the next bid makes half the time.
    if (half != nullptr && name.size() > 5 && name.ends_with("-half") && name != "easy-half") {
        *half = true;
        name.resize(name.size() - 5);
    }
    if (name == "random")
        player = DuelPlayer::Random;
    else if (name == "easy")
        player = DuelPlayer::Easy;
    else if (name == "normal")
        player = DuelPlayer::Normal;
    else if (name == "strong")
        player = DuelPlayer::Strong;
    else
        return false;
    return true;
}

// A whole number written in full, e.g. "300"; false for "", "3x" or "-1".
bool CountOf(std::string_view text, unsigned long long& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

constexpr const char* kUsage =
    "usage: vantrel-duel [--form double-deck|three-handed] [--full] A B [DEALS] [SEED]\n"
    "Plays DEALS deals (300) from SEED (1) twice each, the pairs' seats exchanged,\n"
    "between players A and B: random, easy, normal or strong. The contract is\n"
    "fixed by the deal; with --full each pair bids, names trump, passes, melds\n"
    "and plays for itself (easy, normal or strong; normal-half and strong-half bid\n"
    "on while the next bid makes half the time, in the 48-card game).\n"
    "--form double-deck plays the 80-card game instead of the 48-card game.\n"
    "--form three-handed plays whole three-handed hands, each deal three times\n"
    "with A in each seat in turn and B in the two others (easy, normal or strong).\n";

vantrel::BidRule BiddingOf(bool half) { return half ? vantrel::BidRule::HalfTheTime : vantrel::BidRule::ExpectedScore; }

vantrel::Level LevelOf(vantrel::DuelPlayer player) {
    return player == vantrel::DuelPlayer::Strong   ? vantrel::Level::Strong
           : player == vantrel::DuelPlayer::Normal ? vantrel::Level::Normal
                                                   : vantrel::Level::Easy;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    // "--form double-deck" first: the card play of the 80-card game.
    vantrel::RuleSet rules = vantrel::RuleSet::Standard();
    if (argc > 1 && std::strcmp(argv[1], "--form") == 0) {
        const bool threeHanded = argc >= 3 && std::strcmp(argv[2], "three-handed") == 0;
        if (argc < 3 || (std::strcmp(argv[2], "double-deck") != 0 && !threeHanded)) {
            std::fputs(kUsage, stderr);
            return 2;
        }
        rules = threeHanded ? vantrel::RuleSet::ThreeHanded() : vantrel::RuleSet::DoubleDeck();
        argc -= 2;
        argv += 2;
    }
    if (rules.form.seats == 3) {
        vantrel::DuelPlayer a{};
        vantrel::DuelPlayer b{};
        unsigned long long deals = 300;
        unsigned long long seed = 1;
        if (argc < 3 || argc > 5 || !PlayerOf(argv[1], a) || !PlayerOf(argv[2], b) ||
            a == vantrel::DuelPlayer::Random || b == vantrel::DuelPlayer::Random ||
            (argc > 3 && (!CountOf(argv[3], deals) || deals == 0)) || (argc > 4 && !CountOf(argv[4], seed))) {
            std::fputs(kUsage, stderr);
            return 2;
        }
        const vantrel::ThreeHandedDuelResult r =
            vantrel::PlayThreeHandedDuel(rules, LevelOf(a), LevelOf(b), deals, seed);
        std::printf("%s against %s, %llu three-handed deals played three times, seed %llu\n", argv[1], argv[2], deals,
                    seed);
        std::printf("units per hand, A less B's mean: %+.2f +/- %.2f (95%%)\n", r.score, r.halfWidth);
        std::printf("contracts of A: won %d, made %d\n", r.bidsA, r.madeA);
        return 0;
    }
    const bool full = argc > 1 && std::strcmp(argv[1], "--full") == 0;
    if (full) {
        --argc;
        ++argv;
    }
    vantrel::DuelPlayer a{};
    vantrel::DuelPlayer b{};
    std::array<bool, 2> half{};
    unsigned long long deals = 300;
    unsigned long long seed = 1;
    if (argc < 3 || argc > 5 || !PlayerOf(argv[1], a, full ? &half[0] : nullptr) ||
        !PlayerOf(argv[2], b, full ? &half[1] : nullptr) ||
        (full && (a == vantrel::DuelPlayer::Random || b == vantrel::DuelPlayer::Random)) ||
        (argc > 3 && (!CountOf(argv[3], deals) || deals == 0)) || (argc > 4 && !CountOf(argv[4], seed))) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (full) {
        const vantrel::FullDuelResult r = vantrel::PlayFullDuel(rules, {LevelOf(a), BiddingOf(half[0])},
                                                                {LevelOf(b), BiddingOf(half[1])}, deals, seed);
        std::printf("%s against %s, whole %shands, %llu deals at two tables, seed %llu\n", argv[1], argv[2],
                    rules.form != vantrel::GameForm{} ? "double-deck " : "", deals, seed);
        std::printf("hand score per deal: %+.1f +/- %.1f (95%%)\n", r.handScore, r.halfWidth);
        for (std::size_t pair = 0; pair < 2; ++pair)
            std::printf("contracts of %s (%s): won %d, made %d, set %d\n", pair == 0 ? "A" : "B", argv[1 + pair],
                        r.contracts[pair].won, r.contracts[pair].made, r.contracts[pair].set);
        return 0;
    }
    const vantrel::DuelResult r = vantrel::PlayDuel(rules, a, b, deals, seed);
    const bool doubleDeck = rules.form != vantrel::GameForm{};
    std::printf("%s against %s, %llu %sdeals played twice, seed %llu\n", argv[1], argv[2], deals,
                doubleDeck ? "double-deck " : "", seed);
    std::printf("%s per hand: %+.1f +/- %.1f (95%%)\n", doubleDeck ? "counters   " : "card points", r.cardPoints,
                r.cardPointsHalfWidth);
    std::printf("hand score per hand:  %+.1f +/- %.1f (95%%)\n", r.handScore, r.handScoreHalfWidth);
    return 0;
}
