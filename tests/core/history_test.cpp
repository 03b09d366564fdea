// The game history in a real SQLite file: games read back move for move and
// resumed exactly, a writer killed mid-game, files it must not touch, an
// older file brought forward, import and the statistics.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>
#include <tuple>

#include "base/random.h"
#include "coach/drill.h"
#include "coach/drill_themes.h"
#include "game/game_driver.h"
#include "history/game_history.h"
#include "move_checks.h"
#include "rules/seats.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

// The folders the tests made, removed once they have all run.
std::vector<fs::path>& Made() {
    static std::vector<fs::path> made;
    return made;
}
class RemoveFolders : public ::testing::Environment {
public:
    void TearDown() override {
        for (const fs::path& folder : Made()) fs::remove_all(folder);
    }
};
[[maybe_unused]] const ::testing::Environment* const kRemoveFolders =
    ::testing::AddGlobalTestEnvironment(new RemoveFolders);

// A folder of the test's own, emptied first.
fs::path Folder(const std::string& name) {
    const fs::path folder = fs::temp_directory_path() / ("vantrel-history-" + name + "-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    Made().push_back(folder);
    return folder;
}

std::unique_ptr<GameHistory> OpenOrFail(const fs::path& path) {
    std::string problem;
    std::unique_ptr<GameHistory> history = GameHistory::Open(path.string(), &problem);
    EXPECT_NE(history, nullptr) << problem;
    return history;
}

// A game with the user at South, the user's moves chosen as the computer
// would choose them, on a clock of its own. `after` hears each change.
struct Scripted {
    explicit Scripted(std::uint64_t seed, SeatPlayer south = SeatPlayer::You, const RuleSet& rules = Passing3())
        : settings(Settings(south, rules)), driver(settings, seed, [this] { return now; }) {}

    static RuleSet Passing3() {
        RuleSet rules = RuleSet::Standard();
        rules.passCards = 3;
        return rules;
    }
    static GameSettings Settings(SeatPlayer south, const RuleSet& rules) {
        GameSettings settings;
        settings.seats = {south, SeatPlayer::Easy, SeatPlayer::Easy, SeatPlayer::Easy};
        settings.rules = rules;
        return settings;
    }

    // One step of the game: false when it is over.
    bool Step() {
        const Game& game = driver.game();
        if (game.CurrentPhase() == Phase::GameOver) return false;
        if (const std::optional<DecisionRequest> request = driver.TakeRequest()) {
            driver.Deliver(request->id, ChooseMove(request->position, request->seat, Level::Easy, request->seed));
            return true;
        }
        if (const std::optional<std::int64_t> due = driver.NextDue()) {
            now = std::max(now, *due);
            driver.Advance();
            return true;
        }
        const int seat = game.ToAct();
        if (seat < 0) {
            driver.Continue();
            return true;
        }
        const ComputerMove move = ChooseMove(game, seat, Level::Easy, 7 + game.CardsPlayed().size());
        switch (move.kind) {
            case ComputerMove::Bid:
                driver.Bid(move.value);
                break;
            case ComputerMove::Pass:
                driver.Pass();
                break;
            case ComputerMove::Trump:
                driver.NameTrump(move.value);
                break;
            case ComputerMove::PassCards:
                for (int kind = 0; kind < kCardKinds; ++kind)
                    for (int copy = 0; copy < CountIn(move.cards, kind); ++copy) driver.Card(seat, kind);
                driver.PassCards();
                break;
            case ComputerMove::Play:
                driver.Card(seat, move.value);
                break;
            case ComputerMove::ThrowIn:
                driver.ThrowIn();
                break;
            case ComputerMove::TakeWidow:
            case ComputerMove::None:
                driver.Continue();
                break;
        }
        return true;
    }

    GameSettings settings;
    std::int64_t now = 0;
    GameDriver driver;
};

// Plays `steps` steps, writing each change to the history.
void PlayAndRecord(Scripted& scripted, GameHistory& history, std::int64_t id, int steps) {
    for (int step = 0; step < steps && scripted.Step(); ++step)
        ASSERT_TRUE(history.Record(id, scripted.driver.game(), scripted.driver.Log())) << history.Problem();
}

std::string Check(const fs::path& path) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    std::string result = "cannot check";
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        result = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return result;
}

// A game kept move by move, read back by a new run of the program, resumed
// with its undo, and played to its end with every hand of its sheet kept.
void KeepAndResume(const RuleSet& rules, const fs::path& path) {
    std::int64_t id = 0;
    Scripted scripted(11, SeatPlayer::You, rules);
    {
        std::unique_ptr<GameHistory> history = OpenOrFail(path);
        ASSERT_TRUE(history);
        id = history->StartGame(scripted.settings, 11, "2026-12-06T20:15:00").value();
        // Into the second hand, with a move of the user's taken back.
        while (scripted.driver.game().Sheet().empty()) PlayAndRecord(scripted, *history, id, 1);
        PlayAndRecord(scripted, *history, id, 40);
        const std::size_t before = scripted.driver.Log().size();
        scripted.driver.Undo();
        ASSERT_LT(scripted.driver.Log().size(), before);
        ASSERT_TRUE(history->Record(id, scripted.driver.game(), scripted.driver.Log()));
    }
    // A new run of the program reads it all back.
    std::unique_ptr<GameHistory> history = OpenOrFail(path);
    ASSERT_TRUE(history);
    EXPECT_EQ(history->Moves(id), scripted.driver.Log());
    const std::optional<GameSummary> unfinished = history->Unfinished();
    ASSERT_TRUE(unfinished);
    EXPECT_EQ(unfinished->id, id);
    EXPECT_EQ(unfinished->started, "2026-12-06T20:15:00");
    EXPECT_EQ(unfinished->settings, scripted.settings);
    EXPECT_EQ(unfinished->totals, scripted.driver.game().Totals());
    std::int64_t now = 0;
    std::optional<GameDriver> resumed = GameDriver::Restore(
        unfinished->settings, unfinished->seed, [&] { return now; }, history->Moves(id));
    ASSERT_TRUE(resumed);
    EXPECT_TRUE(resumed->game() == scripted.driver.game());
    // The undo within the hand came back with it.
    scripted.driver.Undo();
    resumed->Undo();
    EXPECT_EQ(resumed->Log(), scripted.driver.Log());
    EXPECT_TRUE(resumed->game() == scripted.driver.game());

    // Played to its end, the sheet's hands are all there and the game is no
    // longer offered.
    while (scripted.Step()) ASSERT_TRUE(history->Record(id, scripted.driver.game(), scripted.driver.Log()));
    const std::vector<HandSummary> hands = history->Hands(id);
    ASSERT_EQ(hands.size(), scripted.driver.game().Sheet().size());
    for (std::size_t n = 0; n < hands.size(); ++n) {
        SheetLine line = scripted.driver.game().Sheet()[n];
        line.record = {};
        EXPECT_TRUE(hands[n].line == line) << "hand " << n;
    }
    EXPECT_FALSE(history->Unfinished());
    const std::optional<GameSummary> summary = history->Summary(id);
    ASSERT_TRUE(summary);
    EXPECT_TRUE(summary->finished);
    EXPECT_EQ(summary->winner, scripted.driver.game().Winner());
    EXPECT_EQ(Check(path), "ok");
}

TEST(History, AGameIsReadBackMoveForMoveAndResumesExactlyWithItsUndo) {
    KeepAndResume(Scripted::Passing3(), Folder("round-trip") / "history.sqlite");
}

TEST(History, ADoubleDeckGameIsKeptAndResumedEqual) {
    // Four cards passed each way, twenty a hand: a kind passed four times
    // is kept above the two bits a kind.
    RuleSet rules = RuleSet::DoubleDeck();
    rules.passCards = 4;
    KeepAndResume(rules, Folder("double-deck") / "history.sqlite");
}

TEST(History, AThreeHandedGameIsKeptAndResumedEqualAndCountedByItsForm) {
    // The points game to a low target, all three melding: the widow, the
    // cards laid away and East's figures go into the file and come back.
    RuleSet rules = RuleSet::ThreeHanded();
    rules.pointsGame = true;
    rules.bidderMeldsOnly = false;
    rules.gameTarget = 700;
    const fs::path path = Folder("three-handed") / "history.sqlite";
    KeepAndResume(rules, path);
    std::unique_ptr<GameHistory> history = OpenOrFail(path);
    ASSERT_TRUE(history);
    HistoryFilter filter;
    filter.form = HistoryFilter::Form::ThreeHanded;
    ASSERT_EQ(history->Games(filter).size(), 1u);
    const GameSummary game = history->Games(filter)[0];
    EXPECT_NE(game.totals[2], 0) << "East's total is kept";
    const std::vector<HandSummary> hands = history->Hands(game.id);
    const HistoryStatistics stats = history->Statistics(filter);
    EXPECT_EQ(stats.hands, static_cast<int>(hands.size()));
    // South's own points as bidder; against the bidder, South's and its
    // fellow defender's.
    double points = 0;
    for (const HandSummary& hand : hands) {
        const std::array<int, 3>& taken = hand.line.cardPoints;
        points += hand.line.declarer == 0 ? taken[0] : taken[0] + taken[3 - hand.line.declarer];
    }
    EXPECT_DOUBLE_EQ(stats.pointsPerHand, points / static_cast<double>(hands.size()));
    EXPECT_EQ(hands.back().line.totals, game.totals);
    filter.form = HistoryFilter::Form::Single;
    EXPECT_TRUE(history->Games(filter).empty());
    EXPECT_EQ(ResumeQuestion(game).find("Resume the game of 6 December at 20:15, South "), 0u) << ResumeQuestion(game);
}

TEST(History, AWriterKilledAtAnyMomentLosesNoCompletedMove) {
    // Each round forks a writer that reports every move it has committed,
    // kills it at a random moment, then reopens the file.
    const int rounds =
        std::getenv("VANTREL_KILL_ROUNDS") != nullptr ? std::atoi(std::getenv("VANTREL_KILL_ROUNDS")) : 12;
    const fs::path folder = Folder("kill");
    Random random(2026, 12);
    int killedMidGame = 0;
    std::size_t fewest = SIZE_MAX;
    std::size_t most = 0;
    for (int round = 0; round < rounds; ++round) {
        const fs::path path = folder / ("history-" + std::to_string(round) + ".sqlite");
        int pipe[2];
        ASSERT_EQ(::pipe(pipe), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(pipe[0]);
            std::string problem;
            std::unique_ptr<GameHistory> history = GameHistory::Open(path.string(), &problem);
            if (!history) _exit(2);
            Scripted scripted(100 + static_cast<std::uint64_t>(round), SeatPlayer::Easy);
            const std::int64_t id =
                history->StartGame(scripted.settings, 100 + static_cast<std::uint64_t>(round), "2026-12-07T09:00:00")
                    .value();
            while (scripted.Step()) {
                if (!history->Record(id, scripted.driver.game(), scripted.driver.Log())) _exit(3);
                const auto committed = static_cast<std::uint32_t>(scripted.driver.Log().size());
                if (write(pipe[1], &committed, sizeof committed) != sizeof committed) _exit(4);
            }
            _exit(0);
        }
        close(pipe[1]);
        // The kill comes only once the writer has committed its first moves,
        // however busy the machine, and then at a random moment of its game.
        std::uint32_t reported = 0;
        for (std::uint32_t committed = 0;
             reported < 5 && read(pipe[0], &committed, sizeof committed) == sizeof committed;)
            reported = committed;
        std::this_thread::sleep_for(std::chrono::microseconds(random.Below(20000)));
        kill(child, SIGKILL);
        for (std::uint32_t committed = 0; read(pipe[0], &committed, sizeof committed) == sizeof committed;)
            reported = committed;
        close(pipe[0]);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_GE(reported, 5u) << "round " << round << ": the writer stopped before its game began";
        if (!WIFSIGNALED(status)) continue;  // the game ended before the kill
        ++killedMidGame;

        ASSERT_EQ(Check(path), "ok") << "round " << round;
        std::unique_ptr<GameHistory> history = OpenOrFail(path);
        ASSERT_TRUE(history);
        const std::vector<GameSummary> games = history->Games();
        ASSERT_EQ(games.size(), 1u) << "round " << round;
        const std::vector<GameMove> moves = history->Moves(games[0].id);
        // Every move reported committed is there, and at most the one being made besides.
        EXPECT_GE(moves.size(), reported) << "round " << round;
        EXPECT_LE(moves.size(), reported + 1) << "round " << round;
        fewest = std::min(fewest, moves.size());
        most = std::max(most, moves.size());
        std::optional<GameDriver> resumed = GameDriver::Restore(
            games[0].settings, games[0].seed, [] { return std::int64_t{0}; }, moves);
        EXPECT_TRUE(resumed) << "round " << round;
    }
    // Most writers must die mid-game, or the test has checked little.
    EXPECT_GE(killedMidGame, rounds * 3 / 4);
    std::printf("[ killed ] %d of %d writers mid-game, their games kept with %zu to %zu moves\n", killedMidGame, rounds,
                fewest, most);
}

TEST(History, FilesItCannotReadGetAMessageAndAreNeverOverwritten) {
    const fs::path folder = Folder("bad");
    // A real history, to cut short.
    const fs::path good = folder / "good.sqlite";
    {
        std::unique_ptr<GameHistory> history = OpenOrFail(good);
        Scripted scripted(3, SeatPlayer::Easy);
        const std::int64_t id = history->StartGame(scripted.settings, 3, "2026-12-01T10:00:00").value();
        PlayAndRecord(scripted, *history, id, 400);
    }
    std::ifstream in(good, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 8192u);
    auto write = [&](const std::string& name, const std::string& content) {
        std::ofstream(folder / name, std::ios::binary) << content;
        return folder / name;
    };
    std::string noise(4096, '\0');
    Random random(5, 0);
    for (char& c : noise) c = static_cast<char>(random.Below(256));
    // A file of a newer program.
    const fs::path newer = folder / "newer.sqlite";
    fs::copy_file(good, newer);
    {
        sqlite3* db = nullptr;
        sqlite3_open(newer.c_str(), &db);
        sqlite3_exec(db, "PRAGMA user_version=9", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    // Each file, what is said of it, and whether it may be set aside (a file
    // no Vantrel can read may; one of a newer Vantrel may not).
    const std::vector<std::tuple<fs::path, std::string, bool>> cases{
        {write("empty.sqlite", ""), "is an empty file.", true},
        {write("noise.sqlite", noise), "is not a game history (not an SQLite database).", true},
        {write("truncated.sqlite", bytes.substr(0, bytes.size() / 2)), "is damaged and cannot be read", true},
        {newer,
         "was written by a newer Vantrel (history version 9; this one reads up to " +
             std::to_string(GameHistory::kSchemaVersion) + ").",
         false},
    };
    for (const auto& [path, message, damaged] : cases) {
        std::ifstream before(path, std::ios::binary);
        const std::string kept((std::istreambuf_iterator<char>(before)), std::istreambuf_iterator<char>());
        std::string problem;
        bool unreadable = !damaged;
        EXPECT_EQ(GameHistory::Open(path.string(), &problem, &unreadable), nullptr) << path;
        EXPECT_EQ(unreadable, damaged) << path;
        EXPECT_NE(problem.find(message), std::string::npos) << problem;
        EXPECT_NE(problem.find("the games are not being kept"), std::string::npos) << problem;
        std::ifstream after(path, std::ios::binary);
        EXPECT_EQ(std::string((std::istreambuf_iterator<char>(after)), std::istreambuf_iterator<char>()), kept)
            << path << " was changed";
    }
    // Set aside at the user's word, the damaged file keeps its bytes under a
    // new name and a new history starts in its place.
    const fs::path truncated = folder / "truncated.sqlite";
    const std::string aside = GameHistory::SetAside(truncated.string(), "20261207-0900");
    EXPECT_EQ(aside, truncated.string() + ".damaged-20261207-0900");
    EXPECT_EQ(fs::file_size(aside), bytes.size() / 2);
    EXPECT_TRUE(OpenOrFail(truncated));

    // A file that cannot be written, and a folder where none can be made.
    // The superuser passes permissions by, so there the file is made immutable.
    const fs::path locked = folder / "locked";
    fs::create_directories(locked);
    fs::copy_file(good, locked / "history.sqlite");
    const bool root = geteuid() == 0;
    const std::string lock = root ? "chattr +i " : "chmod a-w ";
    const std::string unlock = root ? "chattr -i " : "chmod u+w ";
    if (std::system((lock + (locked / "history.sqlite").string() + " " + locked.string()).c_str()) != 0)
        GTEST_SKIP() << "cannot make a file read-only here";
    std::string problem;
    EXPECT_EQ(GameHistory::Open((locked / "history.sqlite").string(), &problem), nullptr);
    EXPECT_NE(problem.find("cannot be written"), std::string::npos) << problem;
    EXPECT_EQ(GameHistory::Open((locked / "new.sqlite").string(), &problem), nullptr);
    EXPECT_NE(problem.find("cannot be opened"), std::string::npos) << problem;
    EXPECT_EQ(std::system((unlock + (locked / "history.sqlite").string() + " " + locked.string()).c_str()), 0);
    EXPECT_EQ(fs::file_size(locked / "history.sqlite"), fs::file_size(good));
}

TEST(History, AFileOfTheFirstVersionIsBroughtForwardWithItsGames) {
    const fs::path path = Folder("migrate") / "history.sqlite";
    Scripted scripted(4, SeatPlayer::Easy);
    std::int64_t id = 0;
    {
        std::unique_ptr<GameHistory> history = OpenOrFail(path);
        id = history->StartGame(scripted.settings, 4, "2026-11-30T18:00:00").value();
        while (scripted.driver.game().Sheet().empty()) PlayAndRecord(scripted, *history, id, 1);
    }
    // The file as the first version wrote it: no review figures.
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    ASSERT_EQ(sqlite3_exec(db,
                           "ALTER TABLE hands DROP COLUMN par; ALTER TABLE hands DROP COLUMN lost;"
                           "ALTER TABLE hands DROP COLUMN best_bid; ALTER TABLE hands DROP COLUMN review;"
                           "ALTER TABLE games DROP COLUMN total2; ALTER TABLE hands DROP COLUMN meld2;"
                           "ALTER TABLE hands DROP COLUMN points2; ALTER TABLE hands DROP COLUMN score2;"
                           "ALTER TABLE hands DROP COLUMN total2;"
                           "DROP TABLE drill_answers; DROP TABLE drills; PRAGMA user_version=1",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);

    std::unique_ptr<GameHistory> history = OpenOrFail(path);
    ASSERT_TRUE(history);
    EXPECT_EQ(history->Moves(id), scripted.driver.Log());
    ASSERT_TRUE(history->RecordReview(id, 0, 140, 12.5, 250)) << history->Problem();
    const std::vector<HandSummary> hands = history->Hands(id);
    ASSERT_EQ(hands.size(), 1u);
    EXPECT_EQ(hands[0].par, 140);
    EXPECT_EQ(hands[0].lost, 12.5);
    EXPECT_EQ(hands[0].bestBid, 250);
    EXPECT_FALSE(history->KeptReview(id, 0));

    // A whole review kept with the hand reads back equal, figures, verdicts
    // and labels alike; a damaged one is not shown but worked out again.
    const SheetLine& line = scripted.driver.game().Sheet().front();
    HandReview review = OutlineOf(RequestOf(scripted.settings.rules, line, {true, false, false, false}));
    review.complete = true;
    review.parAtStartProved = false;
    if (!review.cards.empty()) {
        review.cards[0].expected[3] = 12.3456789012345;
        review.cards[0].label = CardLabel::Mistake;
        review.cards[0].parProved = false;
    }
    review.auction.push_back(
        {0, true, 0.61, 38.5, 1, 40.25, 250, 1, 0.55, 12.5, "South's bid of 250 in Hearts \u2026"});
    review.passes.push_back({2, CountsOf(0x5), CountsOf(0x9), 120, 250, 120, 218, false, "North's pass"});
    ASSERT_TRUE(history->RecordReview(id, 0, 140, 12.5, 250, &review)) << history->Problem();
    EXPECT_EQ(history->KeptReview(id, 0), review);
    const std::string kept = ReviewJson(review);
    for (const std::string& damaged : {kept.substr(0, kept.size() / 2), std::string("[]"),
                                       std::regex_replace(kept, std::regex("\"seat\":0"), "\"seat\":7")})
        EXPECT_FALSE(ReviewOfJson(damaged)) << damaged.substr(0, 80);
}

TEST(History, DrillsOfAReviewedHandAreKeptAnsweredAndBroughtForward) {
    const fs::path path = Folder("drills") / "history.sqlite";
    Scripted scripted(6);
    std::unique_ptr<GameHistory> history = OpenOrFail(path);
    const std::int64_t id = history->StartGame(scripted.settings, 6, "2026-12-01T20:00:00").value();
    while (scripted.driver.game().Sheet().empty() || scripted.driver.game().Sheet().back().record.plays.empty())
        PlayAndRecord(scripted, *history, id, 1);
    const int hand = static_cast<int>(scripted.driver.game().Sheet().size()) - 1;
    const SheetLine& line = scripted.driver.game().Sheet().back();
    ReviewRequest request = RequestOf(scripted.settings.rules, line, {true, false, false, false});
    request.worlds = 10;
    request.parNodes = 1'000'000;
    HandReview review = ReviewHand(request);
    ASSERT_TRUE(review.complete);
    // South's cards that cost most are the drills; where the review found
    // none costly, the first choice South had is taken as one.
    std::vector<std::size_t> costly;
    for (std::size_t c = 0; c < review.cards.size(); ++c)
        if (review.cards[c].reviewed && !review.cards[c].forced && review.cards[c].label >= CardLabel::Mistake)
            costly.push_back(c);
    if (costly.empty())
        for (std::size_t c = 0; c < review.cards.size() && costly.empty(); ++c)
            if (review.cards[c].reviewed && !review.cards[c].forced) {
                review.cards[c].label = CardLabel::Blunder;
                costly.push_back(c);
            }
    ASSERT_FALSE(costly.empty());
    // A blunder's label reads back as written.
    review.cards[costly.front()].label = CardLabel::Blunder;
    // South's costly calls are drills too; where none was, its first call is taken as one.
    ASSERT_FALSE(review.calls.empty());
    if (CostlyCalls(review).empty()) review.calls.front().cost = kCostlyCall;
    const std::vector<CallVerdict> calls = CostlyCalls(review);
    ASSERT_TRUE(history->RecordReview(id, hand, 140, 12.5, std::nullopt, &review)) << history->Problem();
    ASSERT_TRUE(history->RecordReview(id, hand, 140, 12.5, std::nullopt, &review)) << "kept twice";
    EXPECT_EQ(history->KeptReview(id, hand), review);
    std::vector<KeptDrill> drills = history->Drills();
    ASSERT_EQ(drills.size(), costly.size() + calls.size());
    for (std::size_t c = 0; c < calls.size(); ++c) {
        const KeptDrill& drill = drills[costly.size() + c];
        const CallVerdict& call = calls[c];
        EXPECT_EQ(drill.question, DrillQuestion::Call);
        EXPECT_EQ(std::tie(drill.at, drill.seat, drill.played, drill.best, drill.figures),
                  std::tie(call.at, call.seat, call.called, call.best, call.figures));
        // The table shows the bidding as the seat heard it, its hand as dealt.
        std::string why;
        const std::optional<Game> at =
            GameAtCall(scripted.settings, 6, history->Moves(id), drill.hand, drill.at, drill.seat, drill.played, &why);
        ASSERT_TRUE(at) << why;
        EXPECT_EQ(at->ToAct(), drill.seat);
        EXPECT_EQ(
            at->CurrentAuction().Calls(),
            std::vector<Auction::Call>(request.calls.begin(), request.calls.begin() + static_cast<long>(call.at)));
        EXPECT_EQ(at->HandOf(drill.seat), request.dealt[static_cast<std::size_t>(drill.seat)]);
        EXPECT_NEAR(GradeCall(DrillQuestion::Call, drill.figures, drill.played).givenAway, call.cost, 1e-9);
    }
    drills.resize(costly.size());
    for (std::size_t d = 0; d < drills.size(); ++d) {
        const ReviewedCard& card = review.cards[costly[d]];
        const KeptDrill& drill = drills[d];
        EXPECT_EQ(std::tie(drill.game, drill.hand, drill.at, drill.seat, drill.played, drill.best, drill.label),
                  std::tie(id, hand, costly[d], card.seat, card.kind, card.best, card.label));
        EXPECT_EQ(drill.expected, card.expected);
        EXPECT_EQ(drill.schedule, DrillSchedule{});
        // The table shows the game as it stood: the seat to play the card,
        // holding the hand the review's view of that moment holds.
        std::string why;
        const std::optional<Game> at =
            GameAtCard(scripted.settings, 6, history->Moves(id), drill.hand, drill.at, drill.seat, drill.played, &why);
        ASSERT_TRUE(at) << why;
        EXPECT_EQ(at->ToAct(), drill.seat);
        EXPECT_EQ(PackedCounts(at->HandOf(drill.seat)),
                  ViewBefore(request, PlayablePrefix(request), drill.at, drill.seat).Hand());
        EXPECT_EQ(std::vector<int>(at->CardsPlayed().begin(), at->CardsPlayed().end()),
                  std::vector<int>(request.plays.begin(), request.plays.begin() + static_cast<long>(drill.at)));
    }
    // Answered best it comes back tomorrow; missed, the same day.
    const KeptDrill& first = drills.front();
    ASSERT_TRUE(history->AnswerDrill(first.id, first.best, true, 0, 20'000));
    EXPECT_EQ(history->Drills().front().schedule, (DrillSchedule{20'001, 1, 1, 1}));
    ASSERT_TRUE(history->AnswerDrill(first.id, first.played, false, 9.5, 20'001));
    EXPECT_EQ(history->Drills().front().schedule, (DrillSchedule{20'001, 0, 2, 0}));
    EXPECT_FALSE(history->AnswerDrill(first.id + 1000, 0, true, 0, 20'001));
    const DrillRecord record = history->DrillAnswers();
    EXPECT_EQ(std::tie(record.drills, record.overall.answers, record.overall.best),
              std::make_tuple(int(drills.size() + calls.size()), 2, 1));
    EXPECT_DOUBLE_EQ(record.overall.givenAway, 9.5);
    ASSERT_EQ(record.months.size(), 1u);
    EXPECT_EQ(record.months[0].month, "2024-10");  // day 20,000 is 4 October 2024

    // Drills made for a theme on fresh deals are kept with their positions
    // and read back equal; one whose position no longer reads is left out.
    const std::vector<ThemeDrill> made = MakeThemeDrills(DrillTheme::LastTricks, 2, 3, 30, 2);
    ASSERT_TRUE(history->KeepThemeDrills(made)) << history->Problem();
    std::vector<KeptDrill> withThemes = history->Drills();
    const std::size_t own = drills.size() + calls.size();
    ASSERT_EQ(withThemes.size(), own + 2);
    for (std::size_t m = 0; m < made.size(); ++m) {
        const KeptDrill& kept = withThemes[own + m];
        EXPECT_EQ(kept.generated, made[m]);
        EXPECT_EQ(std::tie(kept.game, kept.hand, kept.played, kept.theme),
                  std::make_tuple(std::int64_t{0}, -1, made[m].rule, std::string("The last tricks")));
    }
    ASSERT_TRUE(history->AnswerDrill(withThemes.back().id, made.back().best, true, 0, 20'001));
    const DrillRecord themes = history->DrillAnswers();
    ASSERT_EQ(themes.themes.size(), 2u);
    EXPECT_EQ(std::tie(themes.themes[1].theme, themes.themes[1].drills, themes.themes[1].tally.answers),
              std::make_tuple(std::string("The last tricks"), 2, 1));
    {
        sqlite3* raw = nullptr;
        sqlite3_open(path.c_str(), &raw);
        const std::string damage =
            "UPDATE drills SET position = '{\"deal\":\"ABC\"}' WHERE id = " + std::to_string(withThemes.back().id);
        ASSERT_EQ(sqlite3_exec(raw, damage.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(raw);
    }
    EXPECT_EQ(history->Drills().size(), own + 1);
    // The bidding's themes read back with their calls and figures.
    for (const DrillTheme theme : {DrillTheme::FirstBid, DrillTheme::NamingTrump, DrillTheme::CardsToPass}) {
        const std::vector<ThemeDrill> bids = MakeThemeDrills(theme, 1, 3, 30, 2);
        ASSERT_TRUE(history->KeepThemeDrills(bids)) << history->Problem();
        const KeptDrill kept = history->Drills().back();
        EXPECT_EQ(kept.generated, bids.front());
        EXPECT_EQ(std::tie(kept.question, kept.figures, kept.played),
                  std::make_tuple(QuestionOf(theme), bids.front().figures, bids.front().rule));
    }

    // A hand whose moves no longer replay is said to.
    std::vector<GameMove> moves = history->Moves(id);
    const auto play = std::find_if(moves.begin(), moves.end(),
                                   [](const GameMove& move) { return move.kind == GameMove::Kind::Play; });
    ASSERT_NE(play, moves.end());
    play->value = kCardKinds;  // no card
    std::string why;
    EXPECT_FALSE(GameAtCard(scripted.settings, 6, moves, first.hand, first.at, first.seat, first.played, &why));
    EXPECT_NE(why.find("The game's moves no longer replay: move "), std::string::npos) << why;

    // The file as an earlier version wrote it, without drills: brought
    // forward, its games and reviews kept, the reviews' drills made anew.
    history.reset();
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    ASSERT_EQ(sqlite3_exec(db,
                           "ALTER TABLE games DROP COLUMN total2; ALTER TABLE hands DROP COLUMN meld2;"
                           "ALTER TABLE hands DROP COLUMN points2; ALTER TABLE hands DROP COLUMN score2;"
                           "ALTER TABLE hands DROP COLUMN total2;"
                           "DROP TABLE drill_answers; DROP TABLE drills; PRAGMA user_version=3",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    history = OpenOrFail(path);
    ASSERT_TRUE(history);
    EXPECT_EQ(history->Moves(id), scripted.driver.Log());
    EXPECT_EQ(history->KeptReview(id, hand), review);
    std::vector<KeptDrill> again = history->Drills();
    ASSERT_EQ(again.size(), drills.size() + calls.size());  // the themes' drills had no review to come from
    again.resize(drills.size());
    for (std::size_t d = 0; d < again.size(); ++d) {
        again[d].id = drills[d].id;
        EXPECT_EQ(again[d], drills[d]);
    }
}

TEST(History, ImportAddsEachGameOnceAndRefusesBadLinesWithTheirNumber) {
    const fs::path folder = Folder("import");
    std::ostringstream exported;
    {
        std::unique_ptr<GameHistory> history = OpenOrFail(folder / "from.sqlite");
        for (const std::uint64_t seed : {21u, 22u}) {
            Scripted scripted(seed, SeatPlayer::Easy);
            const std::int64_t id =
                history->StartGame(scripted.settings, seed, "2026-12-0" + std::to_string(seed - 19)).value();
            PlayAndRecord(scripted, *history, id, 150);
        }
        history->ExportJsonLines(exported);
        // The CSV's first hand as the sheet shows it: names, counted from 1,
        // the review's figures rounded as shown.
        const GameSummary first = history->Games().back();
        ASSERT_TRUE(history->RecordReview(first.id, 0, 111, 5.76999999999999, 300));
        const SheetLine line = history->Hands(first.id).front().line;
        auto pair = [](const std::array<int, 3>& v) { return std::to_string(v[0]) + "," + std::to_string(v[1]); };
        std::ostringstream csv;
        history->ExportCsv(csv);
        std::istringstream rows(csv.str());
        std::string header, row;
        std::getline(rows, header);
        std::getline(rows, row);
        EXPECT_EQ(header,
                  "started,your_seats,rules,hand,dealer,declarer,bid,trump,meld_south_north,meld_east_west,"
                  "points_south_north,points_east_west,score_south_north,score_east_west,total_south_north,"
                  "total_east_west,result,practice,deal_code,par,points_lost,best_bid,east_meld,east_points,east_score,"
                  "east_total");
        EXPECT_EQ(row, first.started + ",,\"" + first.settings.rules.Name() + "\",1," + SeatName(line.dealer) + "," +
                           SeatName(line.declarer) + "," + std::to_string(line.bid) + "," +
                           std::string(kSuitNames[static_cast<std::size_t>(line.trump)]) + "," + pair(line.meld) + "," +
                           pair(line.cardPoints) + "," + pair(line.score) + "," + pair(line.totals) + "," +
                           line.result + ",no," + line.dealCode + ",111,5.8,300,,,,");
    }
    const std::string good = exported.str();
    std::string first = good.substr(0, good.find('\n'));
    std::string badMove = first;
    badMove.replace(badMove.find("\"2026-12-02\""), 12, "\"2026-12-09\"");
    // The first card played goes to the wrong seat.
    const std::size_t play = badMove.find("{\"kind\":\"play\",\"seat\":");
    ASSERT_NE(play, std::string::npos);
    const std::size_t seat = play + std::string("{\"kind\":\"play\",\"seat\":").size();
    badMove[seat] = static_cast<char>('0' + (badMove[seat] - '0' + 1) % 4);

    std::unique_ptr<GameHistory> history = OpenOrFail(folder / "to.sqlite");
    std::istringstream once(good);
    ImportReport report = history->ImportJsonLines(once);
    EXPECT_EQ(report.added, 2);
    EXPECT_TRUE(report.refused.empty());
    std::istringstream again(good + "\nnot json\n{\"started\":\"2026-12-05\"}\n" + badMove + "\n[1,2]\n");
    report = history->ImportJsonLines(again);
    EXPECT_EQ(report.added, 0);
    EXPECT_EQ(report.duplicates, 2);
    ASSERT_EQ(report.refused.size(), 4u);
    EXPECT_EQ(report.refused[0], "line 4: not a JSON object");
    EXPECT_EQ(report.refused[1], "line 5: no \"seed\" as a whole number");
    EXPECT_EQ(report.refused[2].rfind("line 6: move ", 0), 0u) << report.refused[2];
    EXPECT_NE(report.refused[2].find(" refused: "), std::string::npos) << report.refused[2];
    EXPECT_EQ(report.refused[3], "line 7: not a JSON object");
    EXPECT_EQ(history->Games().size(), 2u);
    std::ostringstream back;
    history->ExportJsonLines(back);
    EXPECT_EQ(back.str(), good);
}

// The files of a fuzzer's kept corpus, as bytes.
std::vector<std::string> Corpus(const std::string& fuzzer) {
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(fs::path(VANTREL_CORPORA) / fuzzer)) {
        std::ifstream file(entry.path(), std::ios::binary);
        files.emplace_back(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    EXPECT_GE(files.size(), 4u) << fuzzer;
    return files;
}

TEST(Moves, TheFuzzersCorpusReadsAgain) {
    for (const std::string& bytes : Corpus("game_moves"))
        EXPECT_EQ(testing::CheckMoves({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}), "");
}

TEST(Import, TheFuzzersCorpusReadsAgainIntoARealHistory) {
    // Every kept export reads, line by line and into a history of its own,
    // where each game is added once.
    const fs::path folder = Folder("corpus");
    int file = 0;
    for (const std::string& text : Corpus("history_import")) {
        EXPECT_EQ(testing::CheckImport(text), "");
        std::unique_ptr<GameHistory> history = OpenOrFail(folder / ("h" + std::to_string(file++) + ".sqlite"));
        std::istringstream lines(text + text);
        const ImportReport report = history->ImportJsonLines(lines);
        EXPECT_EQ(report.added, 1);
        EXPECT_EQ(report.duplicates, 1);
        EXPECT_TRUE(report.refused.empty()) << report.refused.front();
    }
}

TEST(Import, AMoveOutOfRangeIsRefusedWithItsLineAndReason) {
    // A kept line, its pass or play garbled as a damaged or hand-edited file
    // may carry it: refused with the line's number, the history unchanged.
    std::string line;
    for (const std::string& text : Corpus("history_import"))
        if (line.empty() && text.find("\"kind\":\"pass-cards\"") != std::string::npos)
            line = text.substr(0, text.find('\n'));
    ASSERT_FALSE(line.empty());
    auto edited = [&](const std::string& from, const std::string& to) {
        std::string text = line;
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? text : text.replace(at, from.size(), to);
    };
    const std::string cards =
        line.substr(line.find("{\"cards\":"), line.find(',', line.find("{\"cards\":")) - line.find("{\"cards\":"));
    const HandCounts passed = std::stoull(cards.substr(cards.find(':') + 1));
    // A third copy of the first kind passed.
    const HandCounts lowest = passed & (~passed + 1);
    const HandCounts third = passed + ((std::countr_zero(lowest) & 1) != 0 ? lowest >> 1 : 2 * lowest);
    const std::vector<std::pair<std::string, std::string>> table{
        // Bits from 48 up name a kind passed four times; beyond the kinds they name none.
        {edited(cards, "{\"cards\":" + std::to_string(passed | HandCounts{1} << 62)), "cannot be read"},
        {edited(cards, "{\"cards\":" + std::to_string(passed | HandCounts{1} << 52)),
         "refused: The deck holds only 2 of each card."},
        {edited(cards, "{\"cards\":" + std::to_string(third)), "refused: The deck holds only 2 of each card."},
        {edited("\"seat\":0", "\"seat\":4294967296"), "move 1 cannot be read"},
        {edited("\"seat\":0", "\"seat\":-4294967296"), "move 1 cannot be read"},
        {edited("\"seat\":0", "\"seat\":6"), "refused: There is no seat 6."},
        {edited("\"kind\":\"play\",\"seat\":", "\"kind\":\"fly\",\"seat\":"), "cannot be read"},
        {edited("\"kind\":\"bid\",\"seat\":0,\"value\":", "\"kind\":\"bid\",\"seat\":0,\"value\":99"),
         "refused: A bid is at most 10000."},
    };
    std::unique_ptr<GameHistory> history = OpenOrFail(Folder("edited") / "h.sqlite");
    for (const auto& [text, reason] : table) {
        std::istringstream in(text);
        const ImportReport report = history->ImportJsonLines(in);
        ASSERT_EQ(report.refused.size(), 1u) << reason;
        EXPECT_EQ(report.refused[0].rfind("line 1: ", 0), 0u) << report.refused[0];
        EXPECT_NE(report.refused[0].find(reason), std::string::npos) << report.refused[0];
    }
    EXPECT_TRUE(history->Games().empty());
}

TEST(History, TheResumeQuestionNamesTheDayAndTheTime) {
    GameSummary game;
    game.totals = {640, 820};
    game.userSide = 1;
    const std::vector<std::pair<std::string, std::string>> cases{
        {"2026-12-06T14:03:27", "Resume the game of 6 December at 14:03, 820 to 640?"},
        {"2026-01-31", "Resume the game of 31 January, 820 to 640?"},
        {"someday", "Resume the game of someday, 820 to 640?"},
    };
    for (const auto& [started, question] : cases) {
        game.started = started;
        EXPECT_EQ(ResumeQuestion(game), question);
    }
}

TEST(History, AThrowInIsCountedAsAThrowInAndNotAsASet) {
    // South bids what nobody overcalls and throws the hand in at the meld.
    std::unique_ptr<GameHistory> history = OpenOrFail(Folder("throw-in") / "history.sqlite");
    GameSettings settings = Scripted::Settings(SeatPlayer::You, Scripted::Passing3());
    settings.rules.passCards = 0;
    std::int64_t now = 0;
    GameDriver driver(settings, 8, [&] { return now; });
    const std::int64_t id = history->StartGame(settings, 8, "2026-12-08T20:00:00").value();
    driver.Bid(1000);
    while (driver.game().CurrentPhase() == Phase::Auction) {
        if (const std::optional<DecisionRequest> request = driver.TakeRequest())
            driver.Deliver(request->id, ChooseMove(request->position, request->seat, Level::Easy, request->seed));
        now = driver.NextDue().value_or(now);
        driver.Advance();
    }
    driver.NameTrump(0);
    ASSERT_EQ(driver.game().CurrentPhase(), Phase::Meld);
    driver.ThrowIn();
    ASSERT_EQ(driver.game().Sheet().size(), 1u);
    ASSERT_TRUE(history->Record(id, driver.game(), driver.Log()));
    const HistoryStatistics stats = history->Statistics();
    EXPECT_EQ(stats.hands, 1);
    EXPECT_EQ(stats.bidsWon, 1);
    EXPECT_EQ(stats.throwIns, 1);
    EXPECT_EQ(stats.sets, 0);
    EXPECT_EQ(stats.bidsMade, 0);
    EXPECT_EQ(stats.averageBid, 1000);
}

TEST(History, DoubleDeckGamesAreListedAndCountedByTheirForm) {
    std::unique_ptr<GameHistory> history = OpenOrFail(Folder("by-form") / "history.sqlite");
    std::array<std::vector<SheetLine>, 2> sheets;
    for (const bool doubleDeck : {false, true}) {
        RuleSet rules = doubleDeck ? RuleSet::DoubleDeck() : Scripted::Passing3();
        rules.gameTarget = doubleDeck ? 200 : 1000;  // a few hands each
        Scripted scripted(41, SeatPlayer::You, rules);
        const std::int64_t id =
            history->StartGame(scripted.settings, 41, doubleDeck ? "2026-12-09T10:00:00" : "2026-12-09T09:00:00")
                .value();
        while (scripted.Step()) {
        }
        ASSERT_TRUE(history->Record(id, scripted.driver.game(), scripted.driver.Log()));
        sheets[doubleDeck] = scripted.driver.game().Sheet();
    }
    using Deck = HistoryFilter::Form;
    for (const auto& [deck, games, sheet] : {std::tuple{Deck::Single, 1, &sheets[0]}, {Deck::Double, 1, &sheets[1]}}) {
        HistoryFilter filter;
        filter.form = deck;
        ASSERT_EQ(history->Games(filter).size(), static_cast<std::size_t>(games));
        EXPECT_EQ(history->Games(filter)[0].settings.rules.form.copies, deck == Deck::Double ? 4 : 2);
        const HistoryStatistics stats = history->Statistics(filter);
        EXPECT_EQ(stats.hands, static_cast<int>(sheet->size()));
        double points = 0;
        for (const SheetLine& line : *sheet) points += line.cardPoints[0];
        EXPECT_DOUBLE_EQ(stats.pointsPerHand, points / static_cast<double>(sheet->size()));
    }
    EXPECT_EQ(history->Statistics().hands, static_cast<int>(sheets[0].size() + sheets[1].size()));
    // A changed double-deck rule set is still of its form.
    HistoryFilter changed;
    changed.form = Deck::Double;
    changed.rules = "Double-deck";
    EXPECT_EQ(history->Games(changed).size(), 0u) << "the rules were changed: their name says so";
}

TEST(History, StatisticsCountTheUsersBidsAndHandsOverAFilter) {
    const fs::path path = Folder("statistics") / "history.sqlite";
    std::unique_ptr<GameHistory> history = OpenOrFail(path);
    // Three games to the end, the last in another month and reviewed.
    std::vector<Game> games;
    for (const std::uint64_t seed : {31u, 32u, 33u}) {
        Scripted scripted(seed);
        // The second game late on the last day a filter below takes in.
        const std::string started = seed == 33   ? "2026-12-02T10:00:00"
                                    : seed == 32 ? "2026-11-22T23:59:00"
                                                 : "2026-11-2" + std::to_string(seed - 30);
        const std::int64_t id = history->StartGame(scripted.settings, seed, started).value();
        while (scripted.Step()) {
        }
        ASSERT_TRUE(history->Record(id, scripted.driver.game(), scripted.driver.Log()));
        if (seed == 33) ASSERT_TRUE(history->RecordReview(id, 0, 111, 4.0, 300));
        games.push_back(scripted.driver.game());
    }
    // The figures reckoned from the sheets: South is the user.
    HistoryStatistics expected;
    double bids = 0, margins = 0, meld = 0, points = 0;
    int playedOut = 0;
    for (const Game& game : games)
        for (const SheetLine& line : game.Sheet()) {
            ++expected.hands;
            meld += line.meld[0];
            points += line.cardPoints[0];
            if (line.declarer != 0) continue;
            ++expected.bidsWon;
            bids += line.bid;
            const bool thrownIn = line.record.plays.empty();
            expected.throwIns += thrownIn;
            if (!thrownIn) {
                ++playedOut;
                margins += line.meld[0] + line.cardPoints[0] - line.bid;
                (line.score[0] >= 0 ? expected.bidsMade : expected.sets) += 1;
            }
        }
    ASSERT_GT(expected.bidsWon, 0);
    const HistoryStatistics stats = history->Statistics();
    EXPECT_EQ(stats.games, 3);
    EXPECT_EQ(stats.hands, expected.hands);
    EXPECT_EQ(stats.bidsWon, expected.bidsWon);
    EXPECT_EQ(stats.bidsMade, expected.bidsMade);
    EXPECT_EQ(stats.sets, expected.sets);
    EXPECT_EQ(stats.throwIns, expected.throwIns);
    EXPECT_DOUBLE_EQ(stats.averageBid, bids / expected.bidsWon);
    EXPECT_DOUBLE_EQ(stats.averageMargin, margins / playedOut);
    EXPECT_DOUBLE_EQ(stats.meldPerHand, meld / expected.hands);
    EXPECT_DOUBLE_EQ(stats.pointsPerHand, points / expected.hands);
    EXPECT_EQ(stats.reviewedHands, 1);
    EXPECT_EQ(stats.parPerReviewedHand, 111);
    EXPECT_EQ(stats.pointsPerReviewedHand, games[2].Sheet()[0].cardPoints[0]);
    ASSERT_EQ(stats.months.size(), 2u);
    EXPECT_EQ(stats.months[0].month, "2026-11");
    EXPECT_EQ(stats.months[1].hands, static_cast<int>(games[2].Sheet().size()));
    if (games[2].Sheet()[0].declarer == 0) EXPECT_EQ(stats.bidsAgainstBest.size(), 1u);

    // As the window shows them.
    HistoryStatistics few;
    few.games = 2;
    few.hands = 8;
    few.bidsWon = 3;
    few.bidsMade = 2;
    few.sets = 1;
    few.averageBid = 256.666;
    few.averageMargin = 12.25;
    few.meldPerHand = 101.5;
    few.pointsPerHand = 120;
    few.reviewedHands = 1;
    few.pointsPerReviewedHand = 130;
    few.parPerReviewedHand = 141;
    const std::vector<std::pair<std::string, std::string>> rows{
        {"Games", "2"},
        {"Hands played", "8"},
        {"Bids won", "3 (38%)"},
        {"Bids made", "2 (67%)"},
        {"Sets", "1"},
        {"Throw-ins", "0"},
        {"Average bid", "256.7"},
        {"Average margin", "12.2"},
        {"Meld per hand", "101.5"},
        {"Card points per hand", "120.0"},
        {"Card points against the par", "130.0 (par 141.0, 1 hand reviewed)"}};
    EXPECT_EQ(StatisticsRows(few), rows);
    EXPECT_EQ(StatisticsRows(HistoryStatistics{})[6].second, "\u2014");

    // The filters: by date, by result.
    HistoryFilter december;
    december.from = "2026-12-01";
    EXPECT_EQ(history->Statistics(december).hands, static_cast<int>(games[2].Sheet().size()));
    HistoryFilter upTo;
    upTo.to = "2026-11-22";
    EXPECT_EQ(history->Games(upTo).size(), 2u);
    HistoryFilter won;
    won.result = HistoryFilter::Result::Won;
    HistoryFilter lost;
    lost.result = HistoryFilter::Result::Lost;
    int southNorthWon = 0;
    for (const Game& game : games) southNorthWon += game.Winner() == 0;
    EXPECT_EQ(history->Games(won).size(), static_cast<std::size_t>(southNorthWon));
    EXPECT_EQ(history->Games(lost).size(), 3u - static_cast<std::size_t>(southNorthWon));
}

}  // namespace
}  // namespace vantrel
