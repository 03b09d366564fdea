// vantrel-duel: duplicate matches between the computer players, to measure
// their strength. Every deal is played twice with the pairs' seats exchanged.
//   vantrel-duel A B [DEALS] [SEED]    with A and B: random, easy, normal, strong
#include <cstdio>
#include <cstdlib>
#include <string>

#include "players/duel.h"

namespace {

bool PlayerOf(const std::string& name, vantrel::DuelPlayer& player) {
    using vantrel::DuelPlayer;
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

}  // namespace

int main(int argc, char** argv) {
    vantrel::DuelPlayer a{};
    vantrel::DuelPlayer b{};
    if (argc < 3 || !PlayerOf(argv[1], a) || !PlayerOf(argv[2], b)) {
        std::fprintf(stderr, "usage: vantrel-duel A B [DEALS] [SEED]   (A, B: random, easy, normal, strong)\n");
        return 2;
    }
    const unsigned long long deals = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 300;
    const unsigned long long seed = argc > 4 ? std::strtoull(argv[4], nullptr, 10) : 1;
    const vantrel::DuelResult r = vantrel::PlayDuel(vantrel::RuleSet::Standard(), a, b, deals, seed);
    std::printf("%s against %s, %llu deals played twice, seed %llu\n", argv[1], argv[2], deals, seed);
    std::printf("card points per hand: %+.1f +/- %.1f (95%%)\n", r.cardPoints, r.cardPointsHalfWidth);
    std::printf("hand score per hand:  %+.1f +/- %.1f (95%%)\n", r.handScore, r.handScoreHalfWidth);
    return 0;
}
