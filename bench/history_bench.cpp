// The game history at the size of years of play: 10,000 games and 150,000
// hands in a file made for the run. Opening it and listing the first page,
// the statistics, and the cost of writing a move to it.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "base/random.h"
#include "game/game_driver.h"
#include "history/game_history.h"

namespace vantrel {
namespace {

constexpr int kGames = 10000;
constexpr int kHandsPerGame = 15;

// The file, made once: games over two years, fifteen hands each, and a
// game's worth of moves for each.
const std::string& LargeHistory() {
    static const std::string path = [] {
        const std::filesystem::path file = std::filesystem::temp_directory_path() / "vantrel-history-bench.sqlite";
        for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(file.string() + suffix);
        std::string problem;
        GameHistory::Open(file.string(), &problem);  // the schema
        sqlite3* db = nullptr;
        sqlite3_open(file.c_str(), &db);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* game = nullptr;
        sqlite3_stmt* hand = nullptr;
        sqlite3_stmt* move = nullptr;
        sqlite3_prepare_v2(db,
                           "INSERT INTO games(id, started, seed, settings, rules, user_seats, user_side, finished, "
                           "winner, total0, total1, hands) VALUES(?,?,?,?,'Standard',1,0,1,?,?,?,15)",
                           -1, &game, nullptr);
        sqlite3_prepare_v2(db,
                           "INSERT INTO hands VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,'made','',0,'','0','0','1 2 3',"
                           "?,NULL,?)",
                           -1, &hand, nullptr);
        sqlite3_prepare_v2(db, "INSERT INTO moves VALUES(?,?,'play',?,?,0,'')", -1, &move, nullptr);
        const std::string settings = R"({"seat/south":"you","seat/west":"normal","seat/north":"normal",)"
                                     R"("seat/east":"normal","pace":"normal","hints":"1","showAll":"0"})";
        Random random(1, 0);
        for (int g = 1; g <= kGames; ++g) {
            char started[32];
            std::snprintf(started, sizeof started, "20%02d-%02d-%02dT%02d:00:00", 25 + g * 2 / kGames,
                          1 + g * 24 / kGames % 12, 1 + g % 28, g % 24);
            sqlite3_bind_int(game, 1, g);
            sqlite3_bind_text(game, 2, started, -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(game, 3, g);
            sqlite3_bind_text(game, 4, settings.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_int(game, 5, g % 2);
            sqlite3_bind_int(game, 6, 1500 + g % 300);
            sqlite3_bind_int(game, 7, 1200 + g % 250);
            sqlite3_step(game);
            sqlite3_reset(game);
            for (int n = 0; n < kHandsPerGame; ++n) {
                const int values[] = {g,
                                      n,
                                      n % 4,
                                      static_cast<int>(random.Below(4)),
                                      190 + 10 * static_cast<int>(random.Below(20)),
                                      static_cast<int>(random.Below(4)),
                                      static_cast<int>(random.Below(300)),
                                      static_cast<int>(random.Below(200)),
                                      static_cast<int>(random.Below(251)),
                                      static_cast<int>(random.Below(251)),
                                      static_cast<int>(random.Below(500)) - 100,
                                      static_cast<int>(random.Below(400)),
                                      100 * n,
                                      90 * n};
                for (int i = 0; i < 14; ++i) sqlite3_bind_int(hand, i + 1, values[i]);
                sqlite3_bind_int(hand, 15, static_cast<int>(random.Below(251)));
                sqlite3_bind_int(hand, 16, 190 + 10 * static_cast<int>(random.Below(20)));
                sqlite3_step(hand);
                sqlite3_reset(hand);
            }
            for (int m = 0; m < 60; ++m) {
                sqlite3_bind_int(move, 1, g);
                sqlite3_bind_int(move, 2, m);
                sqlite3_bind_int(move, 3, m % 4);
                sqlite3_bind_int(move, 4, m % 24);
                sqlite3_step(move);
                sqlite3_reset(move);
            }
        }
        sqlite3_finalize(game);
        sqlite3_finalize(hand);
        sqlite3_finalize(move);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        return file.string();
    }();
    return path;
}

double Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// From nothing open to the first page of games in hand, as the window lists them.
void HistoryOpenAndFirstPage(benchmark::State& bench) {
    const std::string& path = LargeHistory();
    std::vector<double> times;
    for (auto _ : bench) {
        const auto start = std::chrono::steady_clock::now();
        std::string problem;
        const std::unique_ptr<GameHistory> history = GameHistory::Open(path, &problem);
        benchmark::DoNotOptimize(history->Games().size());
        times.push_back(Since(start));
    }
    std::sort(times.begin(), times.end());
    bench.counters["median_ms"] = times[times.size() / 2];
    bench.counters["max_ms"] = times.back();
}
BENCHMARK(HistoryOpenAndFirstPage)->Iterations(10)->Unit(benchmark::kMillisecond);

void HistoryStatistics(benchmark::State& bench) {
    std::string problem;
    const std::unique_ptr<GameHistory> history = GameHistory::Open(LargeHistory(), &problem);
    std::vector<double> times;
    for (auto _ : bench) {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(history->Statistics().hands);
        times.push_back(Since(start));
    }
    std::sort(times.begin(), times.end());
    bench.counters["median_ms"] = times[times.size() / 2];
    bench.counters["max_ms"] = times.back();
}
BENCHMARK(HistoryStatistics)->Iterations(10)->Unit(benchmark::kMillisecond);

// A game played into the large file, each move written as it is made.
void HistoryWriteMove(benchmark::State& bench) {
    std::string problem;
    const std::unique_ptr<GameHistory> history = GameHistory::Open(LargeHistory(), &problem);
    GameSettings settings;
    settings.seats = {SeatPlayer::Easy, SeatPlayer::Easy, SeatPlayer::Easy, SeatPlayer::Easy};
    std::vector<double> times;
    std::uint64_t seed = 0;
    for (auto _ : bench) {
        std::int64_t now = 0;
        GameDriver driver(settings, ++seed, [&] { return now; });
        const std::int64_t id = *history->StartGame(settings, seed, "2027-06-01T12:00:" + std::to_string(seed));
        while (driver.game().CurrentPhase() != Phase::GameOver && driver.Log().size() < 400) {
            if (const std::optional<DecisionRequest> request = driver.TakeRequest())
                driver.Deliver(request->id, ChooseMove(request->position, request->seat, Level::Easy, request->seed));
            if (const std::optional<std::int64_t> due = driver.NextDue()) now = *due;
            const std::size_t before = driver.Log().size();
            driver.Advance();
            if (driver.game().CurrentPhase() == Phase::HandScored) driver.Continue();
            if (driver.Log().size() == before) continue;
            const auto start = std::chrono::steady_clock::now();
            history->Record(id, driver.game(), driver.Log());
            times.push_back(Since(start));
        }
    }
    std::sort(times.begin(), times.end());
    bench.counters["moves"] = static_cast<double>(times.size());
    bench.counters["median_ms"] = times[times.size() / 2];
    bench.counters["p99_ms"] = times[times.size() * 99 / 100];
}
BENCHMARK(HistoryWriteMove)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vantrel

BENCHMARK_MAIN();
