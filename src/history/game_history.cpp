#include "history/game_history.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <istream>
#include <map>
#include <nlohmann/json.hpp>
#include <ostream>
#include <tuple>

#include "coach/drill.h"
#include "game/game_driver.h"
#include "practice/deal_code.h"
#include "rules/cards.h"
#include "rules/seats.h"

namespace vantrel {

namespace {

using Json = nlohmann::json;

bool FitsInt(std::int64_t value) { return value >= INT_MIN && value <= INT_MAX; }

// Each version's step from the one before; a file of version n runs the
// steps after n, in one transaction.
constexpr std::array<const char*, GameHistory::kSchemaVersion> kMigrations{
    // 1: games, their moves and their hands.
    "CREATE TABLE games(id INTEGER PRIMARY KEY, started TEXT NOT NULL, seed INTEGER NOT NULL,"
    " settings TEXT NOT NULL, rules TEXT NOT NULL, user_seats INTEGER NOT NULL, user_side INTEGER NOT NULL,"
    " finished INTEGER NOT NULL DEFAULT 0, abandoned INTEGER NOT NULL DEFAULT 0, winner INTEGER NOT NULL DEFAULT -1,"
    " total0 INTEGER NOT NULL DEFAULT 0, total1 INTEGER NOT NULL DEFAULT 0, hands INTEGER NOT NULL DEFAULT 0,"
    " UNIQUE(started, seed));"
    "CREATE TABLE moves(game INTEGER NOT NULL REFERENCES games(id) ON DELETE CASCADE, seq INTEGER NOT NULL,"
    " kind TEXT NOT NULL, seat INTEGER NOT NULL, value INTEGER NOT NULL, cards INTEGER NOT NULL,"
    " text TEXT NOT NULL, PRIMARY KEY(game, seq)) WITHOUT ROWID;"
    "CREATE TABLE hands(game INTEGER NOT NULL REFERENCES games(id) ON DELETE CASCADE, number INTEGER NOT NULL,"
    " dealer INTEGER NOT NULL, declarer INTEGER NOT NULL, bid INTEGER NOT NULL, trump INTEGER NOT NULL,"
    " meld0 INTEGER NOT NULL, meld1 INTEGER NOT NULL, points0 INTEGER NOT NULL, points1 INTEGER NOT NULL,"
    " score0 INTEGER NOT NULL, score1 INTEGER NOT NULL, total0 INTEGER NOT NULL, total1 INTEGER NOT NULL,"
    " result TEXT NOT NULL, deal_code TEXT NOT NULL, practice INTEGER NOT NULL, calls TEXT NOT NULL,"
    " passed_to INTEGER NOT NULL, passed_back INTEGER NOT NULL, plays TEXT NOT NULL,"
    " PRIMARY KEY(game, number)) WITHOUT ROWID;"
    "CREATE INDEX games_started ON games(started);",
    // 2: the review's figures for a hand.
    "ALTER TABLE hands ADD COLUMN par INTEGER;"
    "ALTER TABLE hands ADD COLUMN lost REAL;"
    "ALTER TABLE hands ADD COLUMN best_bid INTEGER;",
    // 3: the whole review of a hand, so that it opens again at once.
    "ALTER TABLE hands ADD COLUMN review TEXT;",
    // 4: drills, their schedules and answers: of the player's costly cards
    // (the game's hand and card), or made on a fresh deal for a theme (its
    // position kept whole, no game).
    "CREATE TABLE drills(id INTEGER PRIMARY KEY, game INTEGER REFERENCES games(id) ON DELETE CASCADE,"
    " hand INTEGER NOT NULL, card INTEGER NOT NULL, seat INTEGER NOT NULL, played INTEGER NOT NULL,"
    " best INTEGER NOT NULL, expected TEXT NOT NULL, label INTEGER NOT NULL, due INTEGER NOT NULL DEFAULT 0,"
    " interval INTEGER NOT NULL DEFAULT 0, answered INTEGER NOT NULL DEFAULT 0,"
    " best_in_a_row INTEGER NOT NULL DEFAULT 0, theme TEXT NOT NULL DEFAULT '', position TEXT,"
    " UNIQUE(game, hand, card));"
    "CREATE TABLE drill_answers(drill INTEGER NOT NULL REFERENCES drills(id) ON DELETE CASCADE,"
    " day INTEGER NOT NULL, card INTEGER NOT NULL, best INTEGER NOT NULL, given_away REAL NOT NULL);",
    // 5: drills that ask a call or the trump. A call drill of the player's
    // own hand keeps the call's place in the bidding as -1 - place in
    // `card`, apart from the hand's cards; its figures, and a trump drill's,
    // are the calls' or the suits' [bid, trump, margin] in `expected`.
    "ALTER TABLE drills ADD COLUMN question TEXT NOT NULL DEFAULT 'play';",
    // 6: the three-handed game, whose figures are by player: East's beside
    // South's and West's in the columns of the two sides.
    "ALTER TABLE games ADD COLUMN total2 INTEGER NOT NULL DEFAULT 0;"
    "ALTER TABLE hands ADD COLUMN meld2 INTEGER NOT NULL DEFAULT 0;"
    "ALTER TABLE hands ADD COLUMN points2 INTEGER NOT NULL DEFAULT 0;"
    "ALTER TABLE hands ADD COLUMN score2 INTEGER NOT NULL DEFAULT 0;"
    "ALTER TABLE hands ADD COLUMN total2 INTEGER NOT NULL DEFAULT 0;",
};

// A prepared statement, finalised when it goes.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) {
        ok_ = sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) == SQLITE_OK;
    }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    [[nodiscard]] bool Ok() const { return ok_; }
    Statement& Bind(int at, std::int64_t value) {
        ok_ = ok_ && sqlite3_bind_int64(statement_, at, value) == SQLITE_OK;
        return *this;
    }
    Statement& Bind(int at, const std::string& value) {
        ok_ = ok_ && sqlite3_bind_text(statement_, at, value.c_str(), static_cast<int>(value.size()),
                                       SQLITE_TRANSIENT) == SQLITE_OK;
        return *this;
    }
    Statement& BindNull(int at) {
        ok_ = ok_ && sqlite3_bind_null(statement_, at) == SQLITE_OK;
        return *this;
    }
    Statement& Bind(int at, double value) {
        ok_ = ok_ && sqlite3_bind_double(statement_, at, value) == SQLITE_OK;
        return *this;
    }
    /// A row is ready.
    bool Step() {
        if (!ok_) return false;
        const int result = sqlite3_step(statement_);
        if (result != SQLITE_ROW && result != SQLITE_DONE) ok_ = false;
        return result == SQLITE_ROW;
    }
    /// Runs a statement that returns no rows, ready to run again.
    bool Run() {
        Step();
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
        return ok_;
    }
    [[nodiscard]] std::int64_t Int(int column) const { return sqlite3_column_int64(statement_, column); }
    [[nodiscard]] int Small(int column) const { return sqlite3_column_int(statement_, column); }
    [[nodiscard]] double Real(int column) const { return sqlite3_column_double(statement_, column); }
    [[nodiscard]] bool Null(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }
    [[nodiscard]] std::string Text(int column) const {
        const unsigned char* text = sqlite3_column_text(statement_, column);
        return text == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(text));
    }

private:
    sqlite3_stmt* statement_ = nullptr;
    bool ok_ = false;
};

std::string SettingsJson(const GameSettings& settings) {
    Json object = Json::object();
    for (const auto& [name, value] : settings.ToSettings()) object[name] = value;
    return object.dump();
}

GameSettings SettingsOf(const Json& object) {
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const auto& [name, value] : object.items())
        if (value.is_string()) pairs.emplace_back(name, value.get<std::string>());
    return GameSettings::FromSettings(pairs);
}

// The side of the user's first seat; where three play, its seat (South).
int UserSideOf(const GameSettings& settings) {
    for (int seat = 0; seat < 4; ++seat)
        if (settings.seats[static_cast<std::size_t>(seat)] == SeatPlayer::You)
            return settings.rules.form.seats == 3 ? seat : seat & 1;
    return 0;
}

std::string KindsText(const std::vector<int>& kinds) {
    std::string text;
    for (const int kind : kinds) text += (text.empty() ? "" : " ") + std::to_string(kind);
    return text;
}

std::string CallsText(const std::vector<Auction::Call>& calls) {
    std::string text;
    for (const Auction::Call& call : calls)
        text += (text.empty() ? "" : " ") + std::to_string(call.seat) + ":" + std::to_string(call.bid);
    return text;
}

// The columns a game's summary is read from, in order.
constexpr const char* kSummaryColumns =
    "SELECT id, started, seed, settings, finished, user_side, winner, total0, total1, hands, abandoned, total2 FROM "
    "games";

GameSummary SummaryOf(const Statement& row) {
    GameSummary summary;
    summary.id = row.Int(0);
    summary.started = row.Text(1);
    summary.seed = static_cast<std::uint64_t>(row.Int(2));
    summary.settings = SettingsOf(Json::parse(row.Text(3), nullptr, false));
    summary.finished = row.Int(4) != 0;
    summary.userSide = row.Small(5);
    summary.winner = row.Small(6);
    summary.totals = {row.Small(7), row.Small(8), row.Small(11)};
    summary.hands = row.Small(9);
    summary.abandoned = row.Int(10) != 0;
    return summary;
}

// The filter as a WHERE clause over `games`, its values bound from 1 on.
std::string WhereOf(const HistoryFilter& filter) {
    std::string where = " WHERE 1";
    if (!filter.from.empty()) where += " AND games.started >= ?1";
    // A day's games all come before the day with a character above any time.
    if (!filter.to.empty()) where += " AND games.started <= ?2 || '~'";
    if (!filter.rules.empty()) where += " AND games.rules = ?3";
    switch (filter.form) {
        case HistoryFilter::Form::Single:
            where += " AND games.rules NOT LIKE 'Double-deck%' AND games.rules NOT LIKE 'Three-handed%'";
            break;
        case HistoryFilter::Form::Double:
            where += " AND games.rules LIKE 'Double-deck%'";
            break;
        case HistoryFilter::Form::ThreeHanded:
            where += " AND games.rules LIKE 'Three-handed%'";
            break;
        case HistoryFilter::Form::Any:
            break;
    }
    switch (filter.result) {
        case HistoryFilter::Result::Won:
            where += " AND games.finished AND games.winner = games.user_side";
            break;
        case HistoryFilter::Result::Lost:
            where += " AND games.finished AND games.winner <> games.user_side";
            break;
        case HistoryFilter::Result::Unfinished:
            where += " AND NOT games.finished";
            break;
        case HistoryFilter::Result::Any:
            break;
    }
    return where;
}

void BindFilter(Statement& statement, const HistoryFilter& filter) {
    if (!filter.from.empty()) statement.Bind(1, filter.from);
    if (!filter.to.empty()) statement.Bind(2, filter.to);
    if (!filter.rules.empty()) statement.Bind(3, filter.rules);
}

// The count a query of `from` (its tables) gives under the filter.
int CountUnder(sqlite3* db, const std::string& from, const HistoryFilter& filter) {
    const std::string sql = "SELECT COUNT(*) FROM " + from + WhereOf(filter);
    Statement count(db, sql.c_str());
    BindFilter(count, filter);
    return count.Step() ? count.Small(0) : 0;
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

}  // namespace

std::unique_ptr<GameHistory> GameHistory::Open(const std::string& path, std::string* problem, bool* damaged) {
    if (damaged != nullptr) *damaged = false;
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        // A new history is made whole beside its place and then moved in, so
        // that a program stopped while making it never leaves an empty or
        // half-made file where the history belongs.
        const std::string making = path + ".new";
        for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(making + suffix, error);
        // Closed before it is moved, its log folded in.
        if (!OpenAt(making, path, true, problem, nullptr)) return nullptr;
        std::filesystem::rename(making, path, error);
        if (error) {
            if (problem != nullptr)
                *problem = "The game history " + path + " cannot be made (" + error.message() +
                           "); the games are not being kept.";
            return nullptr;
        }
    }
    return OpenAt(path, path, false, problem, damaged);
}

std::unique_ptr<GameHistory> GameHistory::OpenAt(const std::string& path, const std::string& shown, bool create,
                                                 std::string* problem, bool* damaged) {
    auto fail = [&](const std::string& why) {
        if (problem != nullptr) *problem = "The game history " + shown + " " + why;
        return nullptr;
    };
    // A file that cannot be read, as against one that is sound but not for
    // this program or this folder: only such a file is worth setting aside.
    auto unreadable = [&](const std::string& why) {
        if (damaged != nullptr) *damaged = true;
        return fail(why);
    };
    const bool exists = !create;
    std::error_code error;
    if (exists) {
        // SQLite would take an empty or foreign file for a new database and
        // write over it: those are refused before it sees them.
        if (std::filesystem::file_size(path, error) == 0)
            return unreadable("is an empty file. It was left as it is; the games are not being kept.");
        std::ifstream file(path, std::ios::binary);
        std::array<char, 16> header{};
        file.read(header.data(), header.size());
        if (!file || std::memcmp(header.data(), "SQLite format 3", 16) != 0)
            return unreadable(
                "is not a game history (not an SQLite database). It was left as it is; the games are not "
                "being kept.");
    }
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | (exists ? 0 : SQLITE_OPEN_CREATE);
    if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        const std::string why = db != nullptr ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close(db);
        return fail("cannot be opened (" + why + "); the games are not being kept.");
    }
    std::unique_ptr<GameHistory> history(new GameHistory(db, path));
    sqlite3_busy_timeout(db, 2000);
    if (sqlite3_db_readonly(db, "main") == 1)
        return fail("cannot be written (the file or its folder is read-only); the games are not being kept.");

    int version = -1;
    {
        Statement read(db, "PRAGMA user_version");
        if (read.Step()) version = read.Small(0);
    }
    if (version < 0)
        return unreadable("is damaged and cannot be read (" + std::string(sqlite3_errmsg(db)) +
                          "). It was left as it is; the games are not being kept.");
    if (version > kSchemaVersion)
        return fail("was written by a newer Vantrel (history version " + std::to_string(version) +
                    "; this one reads up to " + std::to_string(kSchemaVersion) +
                    "). It was left as it is; the games are not being kept.");
    if (exists) {
        Statement check(db, "PRAGMA quick_check");
        if (!check.Step() || check.Text(0) != "ok")
            return unreadable("is damaged and cannot be read. It was left as it is; the games are not being kept.");
    }
    // The write-ahead log: a commit never leaves the file half written, and
    // a killed program loses no more than the move it was writing.
    {
        Statement wal(db, "PRAGMA journal_mode=WAL");
        if (!wal.Step() || wal.Text(0) != "wal")
            return fail("cannot be written (" + std::string(sqlite3_errmsg(db)) + "); the games are not being kept.");
    }
    if (!history->Execute("PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON;"))
        return fail("cannot be set up (" + history->problem_ + "); the games are not being kept.");
    if (version < kSchemaVersion) {
        bool migrated = history->Execute("BEGIN IMMEDIATE");
        for (int step = version; migrated && step < kSchemaVersion; ++step)
            migrated = history->Execute(kMigrations[static_cast<std::size_t>(step)]);
        // Reviews kept before drills were made give their drills now.
        if (version < 4 && version > 0) migrated = migrated && history->DrillsOfKeptReviews();
        migrated = migrated && history->Execute(("PRAGMA user_version=" + std::to_string(kSchemaVersion)).c_str()) &&
                   history->Execute("COMMIT");
        if (!migrated) {
            const std::string why = history->problem_;
            history->Execute("ROLLBACK");
            return fail("could not be brought up to date (" + why + "); the games are not being kept.");
        }
    }

    return history;
}

GameHistory::GameHistory(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {}

GameHistory::~GameHistory() { sqlite3_close(db_); }

bool GameHistory::Execute(const char* sql) {
    char* error = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) == SQLITE_OK) return true;
    problem_ = error != nullptr ? error : sqlite3_errmsg(db_);
    sqlite3_free(error);
    return false;
}

std::optional<std::int64_t> GameHistory::StartGame(const GameSettings& settings, std::uint64_t seed,
                                                   const std::string& started) {
    Statement insert(db_,
                     "INSERT INTO games(started, seed, settings, rules, user_seats, user_side) VALUES(?,?,?,?,?,?)");
    insert.Bind(1, started)
        .Bind(2, static_cast<std::int64_t>(seed))
        .Bind(3, SettingsJson(settings))
        .Bind(4, settings.rules.Name())
        .Bind(5, static_cast<std::int64_t>(settings.UserSeats()))
        .Bind(6, static_cast<std::int64_t>(UserSideOf(settings)));
    if (!insert.Run()) {
        problem_ = sqlite3_errmsg(db_);
        return std::nullopt;
    }
    cachedGame_ = sqlite3_last_insert_rowid(db_);
    cachedMoves_.clear();
    cachedHands_ = 0;
    return cachedGame_;
}

bool GameHistory::Record(std::int64_t id, const Game& game, const std::vector<GameMove>& moves) {
    if (!Execute("BEGIN IMMEDIATE")) return false;
    if (WriteGame(id, game, moves) && Execute("COMMIT")) return true;
    const std::string why = problem_;
    Execute("ROLLBACK");
    problem_ = why;
    cachedGame_ = -1;  // read back from the file next time
    return false;
}

bool GameHistory::WriteGame(std::int64_t id, const Game& game, const std::vector<GameMove>& moves) {
    if (cachedGame_ != id) {
        cachedMoves_ = Moves(id);
        cachedHands_ = Hands(id).size();
        cachedGame_ = id;
    }
    // Moves taken back are the kept ones after the first that differs.
    std::size_t same = 0;
    while (same < moves.size() && same < cachedMoves_.size() && moves[same] == cachedMoves_[same]) ++same;
    bool ok = true;
    if (same < cachedMoves_.size()) {
        Statement remove(db_, "DELETE FROM moves WHERE game = ? AND seq >= ?");
        ok = remove.Bind(1, id).Bind(2, static_cast<std::int64_t>(same)).Run();
    }
    {
        Statement insert(db_, "INSERT INTO moves(game, seq, kind, seat, value, cards, text) VALUES(?,?,?,?,?,?,?)");
        for (std::size_t i = same; ok && i < moves.size(); ++i) {
            const GameMove& move = moves[i];
            ok = insert.Bind(1, id)
                     .Bind(2, static_cast<std::int64_t>(i))
                     .Bind(3, std::string(KindName(move.kind)))
                     .Bind(4, std::int64_t{move.seat})
                     .Bind(5, std::int64_t{move.value})
                     .Bind(6, static_cast<std::int64_t>(CardsWord(move.cards)))
                     .Bind(7, move.text)
                     .Run();
        }
    }
    const std::vector<SheetLine>& sheet = game.Sheet();
    {
        Statement insert(db_,
                         "INSERT INTO hands(game, number, dealer, declarer, bid, trump, meld0, meld1, points0, "
                         "points1, score0, score1, total0, total1, result, deal_code, practice, calls, passed_to, "
                         "passed_back, plays, meld2, points2, score2, total2) "
                         "VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
        for (std::size_t n = cachedHands_; ok && n < sheet.size(); ++n) {
            const SheetLine& line = sheet[n];
            ok = insert.Bind(1, id)
                     .Bind(2, static_cast<std::int64_t>(n))
                     .Bind(3, std::int64_t{line.dealer})
                     .Bind(4, std::int64_t{line.declarer})
                     .Bind(5, std::int64_t{line.bid})
                     .Bind(6, std::int64_t{line.trump})
                     .Bind(7, std::int64_t{line.meld[0]})
                     .Bind(8, std::int64_t{line.meld[1]})
                     .Bind(9, std::int64_t{line.cardPoints[0]})
                     .Bind(10, std::int64_t{line.cardPoints[1]})
                     .Bind(11, std::int64_t{line.score[0]})
                     .Bind(12, std::int64_t{line.score[1]})
                     .Bind(13, std::int64_t{line.totals[0]})
                     .Bind(14, std::int64_t{line.totals[1]})
                     .Bind(15, line.result)
                     .Bind(16, line.dealCode)
                     .Bind(17, std::int64_t{line.practice})
                     .Bind(18, CallsText(line.record.calls))
                     .Bind(19, static_cast<std::int64_t>(CardsWord(line.record.passedToDeclarer)))
                     .Bind(20, static_cast<std::int64_t>(CardsWord(line.record.passedBack)))
                     .Bind(21, KindsText(line.record.plays))
                     .Bind(22, std::int64_t{line.meld[2]})
                     .Bind(23, std::int64_t{line.cardPoints[2]})
                     .Bind(24, std::int64_t{line.score[2]})
                     .Bind(25, std::int64_t{line.totals[2]})
                     .Run();
        }
    }
    if (ok) {
        Statement update(db_,
                         "UPDATE games SET finished = ?, winner = ?, total0 = ?, total1 = ?, hands = ?, "
                         "total2 = ? WHERE id = ?");
        ok = update.Bind(1, std::int64_t{game.CurrentPhase() == Phase::GameOver})
                 .Bind(2, std::int64_t{game.Winner()})
                 .Bind(3, std::int64_t{game.Totals()[0]})
                 .Bind(4, std::int64_t{game.Totals()[1]})
                 .Bind(5, static_cast<std::int64_t>(sheet.size()))
                 .Bind(6, std::int64_t{game.Totals()[2]})
                 .Bind(7, id)
                 .Run() &&
             sqlite3_changes(db_) == 1;
        if (!ok && sqlite3_errcode(db_) == SQLITE_OK) problem_ = "there is no game " + std::to_string(id);
    }
    if (!ok) {
        if (problem_.empty() || sqlite3_errcode(db_) != SQLITE_OK) problem_ = sqlite3_errmsg(db_);
        return false;
    }
    cachedMoves_ = moves;
    cachedHands_ = sheet.size();
    return true;
}

bool GameHistory::RecordReview(std::int64_t id, int hand, int par, double lost, std::optional<int> bestBid,
                               const HandReview* review) {
    Statement update(db_, "UPDATE hands SET par = ?, lost = ?, best_bid = ?, review = ? WHERE game = ? AND number = ?");
    update.Bind(1, std::int64_t{par}).Bind(2, lost);
    if (bestBid)
        update.Bind(3, std::int64_t{*bestBid});
    else
        update.BindNull(3);
    if (review != nullptr && review->complete)
        update.Bind(4, ReviewJson(*review));
    else
        update.BindNull(4);
    if (!Execute("BEGIN IMMEDIATE")) return false;
    bool ok = update.Bind(5, id).Bind(6, std::int64_t{hand}).Run() && sqlite3_changes(db_) == 1;
    if (!ok) problem_ = sqlite3_errmsg(db_);
    ok = ok && (review == nullptr || KeepDrills(id, hand, *review)) && Execute("COMMIT");
    if (!ok) Execute("ROLLBACK");
    return ok;
}

namespace {

// A call's or the trump's figures as the drills keep them: [bid, trump, margin] each.
std::string FiguresJson(const std::vector<CallFigure>& figures) {
    Json json = Json::array();
    for (const CallFigure& figure : figures) json.push_back({figure.bid, figure.trump, figure.margin});
    return json.dump();
}

// Figures read back; none where they do not read whole.
std::optional<std::vector<CallFigure>> FiguresOf(const Json& json) {
    if (!json.is_array() || json.empty()) return std::nullopt;
    std::vector<CallFigure> figures;
    for (const Json& f : json) {
        if (!f.is_array() || f.size() != 3 || !f[0].is_number_integer() || !f[1].is_number_integer() ||
            !f[2].is_number())
            return std::nullopt;
        figures.push_back({f[0].get<int>(), f[1].get<int>(), f[2].get<double>()});
    }
    return figures;
}

}  // namespace

bool GameHistory::KeepDrills(std::int64_t game, int hand, const HandReview& review) {
    if (!review.complete) return true;
    Statement insert(db_,
                     "INSERT OR IGNORE INTO drills(game, hand, card, seat, played, best, expected, label)"
                     " VALUES(?,?,?,?,?,?,?,?)");
    for (std::size_t c = 0; c < review.cards.size(); ++c) {
        const ReviewedCard& card = review.cards[c];
        if (!card.reviewed || card.forced || card.best < 0 || card.label < CardLabel::Mistake) continue;
        // The review's cards run on from its first trick.
        const auto at = static_cast<std::int64_t>(4 * static_cast<std::size_t>(review.cards.front().trick) + c);
        const Json expected(card.expected);
        if (!insert.Bind(1, game)
                 .Bind(2, std::int64_t{hand})
                 .Bind(3, at)
                 .Bind(4, std::int64_t{card.seat})
                 .Bind(5, std::int64_t{card.kind})
                 .Bind(6, std::int64_t{card.best})
                 .Bind(7, expected.dump())
                 .Bind(8, static_cast<std::int64_t>(card.label))
                 .Run()) {
            problem_ = sqlite3_errmsg(db_);
            return false;
        }
    }
    Statement call(db_,
                   "INSERT OR IGNORE INTO drills(game, hand, card, seat, played, best, expected, label, question)"
                   " VALUES(?,?,?,?,?,?,?,?,'call')");
    for (const CallVerdict& verdict : CostlyCalls(review))
        if (!call.Bind(1, game)
                 .Bind(2, std::int64_t{hand})
                 .Bind(3, -1 - static_cast<std::int64_t>(verdict.at))
                 .Bind(4, std::int64_t{verdict.seat})
                 .Bind(5, std::int64_t{verdict.called})
                 .Bind(6, std::int64_t{verdict.best})
                 .Bind(7, FiguresJson(verdict.figures))
                 .Bind(8, static_cast<std::int64_t>(LabelOf(verdict.cost)))
                 .Run()) {
            problem_ = sqlite3_errmsg(db_);
            return false;
        }
    return true;
}

bool GameHistory::DrillsOfKeptReviews() {
    std::vector<std::tuple<std::int64_t, int, std::string>> kept;
    {
        Statement select(db_, "SELECT game, number, review FROM hands WHERE review IS NOT NULL ORDER BY game, number");
        while (select.Step()) kept.emplace_back(select.Int(0), select.Small(1), select.Text(2));
    }
    for (const auto& [game, hand, text] : kept)
        // A review that does not read whole gives no drills; the hand keeps it as it is.
        if (const std::optional<HandReview> review = ReviewOfJson(text); review && !KeepDrills(game, hand, *review))
            return false;
    return true;
}

namespace {

// A theme drill's position as the history keeps it: the deal's code, the
// dealer, declarer and trump, the cards played and the rule player's card.
std::string PositionJson(const ThemeDrill& drill) {
    return Json{{"deal", DealCodeOf(GameForm{}, drill.hands)},
                {"dealer", drill.dealer},
                {"declarer", drill.declarer},
                {"trump", drill.trump},
                {"calls", drill.calls},
                {"plays", drill.plays},
                {"rule", drill.rule}}
        .dump();
}

// The position read back; none where it does not read whole, or the cards
// do not replay on the deal (a file written by a newer or damaged program).
std::optional<ThemeDrill> PositionOf(const std::string& text, DrillTheme theme) {
    const Json position = Json::parse(text, nullptr, false);
    if (!position.is_object()) return std::nullopt;
    try {
        const DecodedHands deal = ReadDealCode(position.at("deal").get<std::string>());
        if (!deal.ok || deal.form != GameForm{}) return std::nullopt;
        ThemeDrill drill;
        drill.theme = theme;
        drill.hands = deal.hands;
        drill.dealer = position.at("dealer").get<int>();
        drill.declarer = position.at("declarer").get<int>();
        drill.trump = position.at("trump").get<int>();
        drill.plays = position.at("plays").get<std::vector<int>>();
        drill.rule = position.at("rule").get<int>();
        // Drills made before the bidding's themes have no calls.
        if (position.contains("calls")) drill.calls = position.at("calls").get<std::vector<int>>();
        const bool seats = drill.dealer >= 0 && drill.dealer < 4 && drill.declarer >= 0 && drill.declarer < 4;
        if (!seats || drill.trump < 0 || drill.trump > 3 || drill.plays.size() >= 48) return std::nullopt;
        if (QuestionOf(theme) != DrillQuestion::Play) {
            // The calls replay on the deal and stop where the question is asked.
            Auction auction(ThemeRules(theme), drill.dealer);
            for (const int bid : drill.calls)
                if (auction.Finished() ||
                    !(bid > 0 ? auction.Bid(auction.ToAct(), bid) : auction.Pass(auction.ToAct())).empty())
                    return std::nullopt;
            // Trump and the pass are asked once the auction is won; a call while it goes on.
            const bool won = QuestionOf(theme) != DrillQuestion::Call;
            if (won != auction.Finished() || (won && (auction.HighBidder() < 0 || auction.PassedOut())))
                return std::nullopt;
            if (QuestionOf(theme) == DrillQuestion::Pass && auction.HighBidder() != drill.declarer) return std::nullopt;
            drill.seat = QuestionOf(theme) == DrillQuestion::Pass ? PartnerSeat(auction.HighBidder())
                         : won                                    ? auction.HighBidder()
                                                                  : auction.ToAct();
            return drill;
        }
        FormPlayState play(RuleSet::Standard(), drill.hands, drill.trump, drill.declarer);
        for (const int card : drill.plays)
            if (!play.Play(card).empty()) return std::nullopt;
        drill.seat = play.ToPlay();
        return drill;
    } catch (const Json::exception&) {
        return std::nullopt;
    }
}

}  // namespace

bool GameHistory::KeepThemeDrills(const std::vector<ThemeDrill>& drills) {
    if (!Execute("BEGIN IMMEDIATE")) return false;
    Statement insert(db_,
                     "INSERT INTO drills(game, hand, card, seat, played, best, expected, label, theme, position,"
                     " question) VALUES(NULL,-1,?,?,?,?,?,?,?,?,?)");
    bool ok = true;
    for (const ThemeDrill& drill : drills) {
        const bool play = QuestionOf(drill.theme) == DrillQuestion::Play;
        double lesson = 0;
        if (play) {
            lesson = drill.expected[static_cast<std::size_t>(drill.best)] -
                     drill.expected[static_cast<std::size_t>(drill.rule)];
        } else {
            const DrillGrade rule = GradeCall(QuestionOf(drill.theme), drill.figures, drill.rule);
            lesson = rule.givenAway;
        }
        // A call's place, apart from the cards' places, as the player's own call drills keep it.
        const auto at =
            play ? static_cast<std::int64_t>(drill.plays.size()) : -1 - static_cast<std::int64_t>(drill.calls.size());
        ok = ok && insert.Bind(1, at)
                       .Bind(2, std::int64_t{drill.seat})
                       .Bind(3, std::int64_t{drill.rule})
                       .Bind(4, std::int64_t{drill.best})
                       .Bind(5, play ? Json(drill.expected).dump() : FiguresJson(drill.figures))
                       .Bind(6, static_cast<std::int64_t>(LabelOf(lesson)))
                       .Bind(7, std::string(ThemeName(drill.theme)))
                       .Bind(8, PositionJson(drill))
                       .Bind(9, std::string(QuestionName(QuestionOf(drill.theme))))
                       .Run();
    }
    ok = ok && Execute("COMMIT");
    if (!ok) {
        problem_ = sqlite3_errmsg(db_);
        Execute("ROLLBACK");
    }
    return ok;
}

std::vector<KeptDrill> GameHistory::Drills() const {
    std::vector<KeptDrill> drills;
    Statement select(db_,
                     "SELECT id, game, hand, card, seat, played, best, expected, label, due, interval, answered,"
                     " best_in_a_row, theme, position, question FROM drills ORDER BY id");
    while (select.Step()) {
        KeptDrill drill;
        drill.id = select.Int(0);
        drill.game = select.Null(1) ? 0 : select.Int(1);
        drill.theme = select.Text(13);
        if (drill.game == 0) {
            // A theme's drill: its position whole, or the drill left out and its row as it is.
            const std::optional<DrillTheme> theme = ThemeNamed(drill.theme);
            if (!theme || select.Null(14)) continue;
            drill.generated = PositionOf(select.Text(14), *theme);
            if (!drill.generated) continue;
        }
        drill.hand = select.Small(2);
        drill.seat = select.Small(4) & 3;
        drill.played = select.Small(5);
        drill.best = select.Small(6);
        drill.label = static_cast<CardLabel>(std::clamp(select.Small(8), 0, 4));
        drill.schedule = {select.Int(9), select.Small(10), select.Small(11), select.Small(12)};
        // Figures that do not read leave the drill out, the row as it is.
        const Json expected = Json::parse(select.Text(7), nullptr, false);
        const std::optional<DrillQuestion> question = QuestionNamed(select.Text(15));
        if (!question) continue;
        drill.question = *question;
        if (drill.question != DrillQuestion::Play) {
            // A call's place was kept as -1 - place.
            drill.at = static_cast<std::size_t>(std::max<std::int64_t>(0, -1 - select.Int(3)));
            std::optional<std::vector<CallFigure>> figures = FiguresOf(expected);
            if (!figures || (drill.generated && QuestionOf(drill.generated->theme) != drill.question)) continue;
            drill.figures = std::move(*figures);
            // The best and the call made are among the figures, or the drill is left out.
            if (!GradeCall(drill.question, drill.figures, drill.best).legal ||
                !GradeCall(drill.question, drill.figures, drill.played).legal)
                continue;
            if (drill.generated) {
                drill.generated->best = drill.best;
                drill.generated->figures = drill.figures;
            }
            drills.push_back(drill);
            continue;
        }
        drill.at = static_cast<std::size_t>(std::max<std::int64_t>(0, select.Int(3)));
        if (!expected.is_array() || expected.size() != drill.expected.size()) continue;
        bool read = true;
        for (std::size_t kind = 0; kind < drill.expected.size(); ++kind) {
            read = read && expected[kind].is_number();
            if (read) drill.expected[kind] = expected[kind].get<double>();
        }
        if (read && drill.played >= 0 && drill.played < kCardKinds && drill.best >= 0 && drill.best < kCardKinds) {
            if (drill.generated) {
                drill.generated->best = drill.best;
                drill.generated->expected = drill.expected;
            }
            drills.push_back(drill);
        }
    }
    return drills;
}

bool GameHistory::AnswerDrill(std::int64_t id, int card, bool best, double givenAway, std::int64_t day) {
    DrillSchedule schedule;
    {
        Statement select(db_, "SELECT due, interval, answered, best_in_a_row FROM drills WHERE id = ?");
        if (!select.Bind(1, id).Step()) {
            problem_ = "There is no drill " + std::to_string(id) + ".";
            return false;
        }
        schedule = {select.Int(0), select.Small(1), select.Small(2), select.Small(3)};
    }
    const DrillSchedule next = NextSchedule(schedule, best, day);
    if (!Execute("BEGIN IMMEDIATE")) return false;
    Statement answer(db_, "INSERT INTO drill_answers(drill, day, card, best, given_away) VALUES(?,?,?,?,?)");
    Statement update(db_, "UPDATE drills SET due = ?, interval = ?, answered = ?, best_in_a_row = ? WHERE id = ?");
    const bool ok = answer.Bind(1, id)
                        .Bind(2, day)
                        .Bind(3, std::int64_t{card})
                        .Bind(4, std::int64_t{best ? 1 : 0})
                        .Bind(5, givenAway)
                        .Run() &&
                    update.Bind(1, next.due)
                        .Bind(2, std::int64_t{next.interval})
                        .Bind(3, std::int64_t{next.answered})
                        .Bind(4, std::int64_t{next.bestInARow})
                        .Bind(5, id)
                        .Run() &&
                    Execute("COMMIT");
    if (!ok) {
        problem_ = sqlite3_errmsg(db_);
        Execute("ROLLBACK");
    }
    return ok;
}

DrillRecord GameHistory::DrillAnswers(const HistoryFilter& filter) const {
    DrillRecord record;
    record.drills = CountUnder(db_, "drills JOIN games ON games.id = drills.game", filter);
    // Days since 1970 to the month they fall in; the games' filter holds.
    const std::string sql =
        "SELECT strftime('%Y-%m', drill_answers.day * 86400, 'unixepoch') AS month, COUNT(*),"
        " SUM(drill_answers.best), SUM(drill_answers.given_away) FROM drill_answers"
        " JOIN drills ON drills.id = drill_answers.drill LEFT JOIN games ON games.id = drills.game" +
        WhereOf(filter) + " GROUP BY month ORDER BY month";
    Statement select(db_, sql.c_str());
    BindFilter(select, filter);
    while (select.Step()) {
        DrillRecord::Month month{select.Text(0), {select.Small(1), select.Small(2), select.Real(3)}};
        record.overall.Add(month.tally);
        record.months.push_back(std::move(month));
    }
    // Each theme, the player's own hands first (their theme is empty).
    const std::string themes =
        "SELECT drills.theme, COUNT(DISTINCT drills.id), COUNT(drill_answers.drill),"
        " COALESCE(SUM(drill_answers.best), 0), COALESCE(SUM(drill_answers.given_away), 0) FROM drills"
        " LEFT JOIN drill_answers ON drill_answers.drill = drills.id LEFT JOIN games ON games.id = drills.game" +
        WhereOf(filter) + " GROUP BY drills.theme ORDER BY drills.theme";
    Statement byTheme(db_, themes.c_str());
    BindFilter(byTheme, filter);
    while (byTheme.Step())
        record.themes.push_back(
            {byTheme.Text(0), byTheme.Small(1), {byTheme.Small(2), byTheme.Small(3), byTheme.Real(4)}});
    return record;
}

std::optional<HandReview> GameHistory::KeptReview(std::int64_t id, int hand) const {
    Statement select(db_, "SELECT review FROM hands WHERE game = ? AND number = ? AND review IS NOT NULL");
    select.Bind(1, id).Bind(2, std::int64_t{hand});
    if (!select.Step()) return std::nullopt;
    return ReviewOfJson(select.Text(0));
}

std::vector<GameSummary> GameHistory::Games(const HistoryFilter& filter) const {
    std::vector<GameSummary> games;
    const std::string sql = std::string(kSummaryColumns) + WhereOf(filter) + " ORDER BY started DESC, id DESC";
    Statement select(db_, sql.c_str());
    BindFilter(select, filter);
    while (select.Step()) games.push_back(SummaryOf(select));
    return games;
}

std::optional<GameSummary> GameHistory::Summary(std::int64_t id) const {
    const std::string sql = std::string(kSummaryColumns) + " WHERE id = ?";
    Statement select(db_, sql.c_str());
    select.Bind(1, id);
    if (!select.Step()) return std::nullopt;
    return SummaryOf(select);
}

std::optional<GameSummary> GameHistory::Unfinished() const {
    const std::string sql = std::string(kSummaryColumns) +
                            " WHERE NOT finished AND NOT abandoned AND EXISTS (SELECT 1 FROM moves WHERE game = id)"
                            " ORDER BY started DESC, id DESC LIMIT 1";
    Statement select(db_, sql.c_str());
    if (!select.Step()) return std::nullopt;
    return SummaryOf(select);
}

bool GameHistory::Abandon(std::int64_t id) {
    Statement update(db_, "UPDATE games SET abandoned = 1 WHERE id = ?");
    return update.Bind(1, id).Run();
}

std::vector<GameMove> GameHistory::Moves(std::int64_t id) const {
    std::vector<GameMove> moves;
    Statement select(db_, "SELECT kind, seat, value, cards, text FROM moves WHERE game = ? ORDER BY seq");
    select.Bind(1, id);
    while (select.Step()) {
        GameMove move;
        // A row that does not read whole is kept as unreadable, so that the
        // replay refuses it instead of taking another move in its place.
        const std::int64_t seat = select.Int(1);
        const std::int64_t value = select.Int(2);
        move.kind = KindNamed(select.Text(0)).value_or(GameMove::Kind::Unreadable);
        if (!FitsInt(seat) || !FitsInt(value)) move.kind = GameMove::Kind::Unreadable;
        move.seat = FitsInt(seat) ? static_cast<int>(seat) : -1;
        move.value = FitsInt(value) ? static_cast<int>(value) : 0;
        const std::optional<KindCounts> cards = CardsOfWord(static_cast<std::uint64_t>(select.Int(3)));
        if (!cards) move.kind = GameMove::Kind::Unreadable;
        move.cards = cards.value_or(KindCounts{});
        move.text = select.Text(4);
        moves.push_back(std::move(move));
    }
    return moves;
}

std::vector<HandSummary> GameHistory::Hands(std::int64_t id) const {
    std::vector<HandSummary> hands;
    Statement select(db_,
                     "SELECT number, dealer, declarer, bid, trump, meld0, meld1, points0, points1, score0, score1, "
                     "total0, total1, result, deal_code, practice, par, lost, best_bid, meld2, points2, score2, "
                     "total2 FROM hands WHERE game = ? ORDER BY number");
    select.Bind(1, id);
    while (select.Step()) {
        HandSummary hand;
        hand.number = select.Small(0);
        SheetLine& line = hand.line;
        line.dealer = select.Small(1);
        line.declarer = select.Small(2);
        line.bid = select.Small(3);
        line.trump = select.Small(4);
        line.meld = {select.Small(5), select.Small(6), select.Small(19)};
        line.cardPoints = {select.Small(7), select.Small(8), select.Small(20)};
        line.score = {select.Small(9), select.Small(10), select.Small(21)};
        line.totals = {select.Small(11), select.Small(12), select.Small(22)};
        line.result = select.Text(13);
        line.dealCode = select.Text(14);
        line.practice = select.Small(15) != 0;
        if (!select.Null(16)) hand.par = select.Small(16);
        if (!select.Null(17)) hand.lost = select.Real(17);
        if (!select.Null(18)) hand.bestBid = select.Small(18);
        hands.push_back(std::move(hand));
    }
    return hands;
}

HistoryStatistics GameHistory::Statistics(const HistoryFilter& filter) const {
    HistoryStatistics stats;
    stats.games = CountUnder(db_, "games", filter);
    const std::string sql =
        "SELECT substr(games.started, 1, 7), games.user_seats, games.user_side, hands.declarer, hands.bid, "
        "hands.meld0, hands.meld1, hands.points0, hands.points1, hands.score0, hands.score1, hands.plays = '', "
        "hands.par, hands.best_bid, hands.lost, hands.meld2, hands.points2, hands.score2, "
        "games.rules LIKE 'Three-handed%' FROM hands JOIN games ON games.id = hands.game" +
        WhereOf(filter) + " AND NOT hands.practice ORDER BY games.started";
    Statement select(db_, sql.c_str());
    BindFilter(select, filter);
    double bids = 0;
    double margins = 0;
    int playedOut = 0;
    double meld = 0;
    double points = 0;
    double reviewedPoints = 0;
    double par = 0;
    while (select.Step()) {
        const std::string month = select.Text(0);
        const auto users = static_cast<unsigned>(select.Int(1));
        // The user's side, or where three play its seat: the figures are by player there.
        const auto side = static_cast<std::size_t>(std::clamp(select.Small(2), 0, 2));
        const int declarer = select.Small(3);
        const int bid = select.Small(4);
        std::array<int, 3> handMeld{select.Small(5), select.Small(6), select.Small(15)};
        std::array<int, 3> handPoints{select.Small(7), select.Small(8), select.Small(16)};
        const std::array<int, 3> score{select.Small(9), select.Small(10), select.Small(17)};
        const bool thrownIn = select.Small(11) != 0;
        if (select.Int(18) != 0 && declarer != static_cast<int>(side)) {
            // Against the bidder the user's side is the two who play
            // together: their figures, as the par of the review is theirs.
            for (std::size_t seat = 0; seat < 3; ++seat)
                if (seat != side && static_cast<int>(seat) != declarer) {
                    handMeld[side] += handMeld[seat];
                    handPoints[side] += handPoints[seat];
                }
        }
        if (stats.months.empty() || stats.months.back().month != month) stats.months.push_back({month});
        HistoryStatistics::Month& row = stats.months.back();
        ++stats.hands;
        ++row.hands;
        meld += handMeld[side];
        points += handPoints[side];
        row.pointsPerHand += handPoints[side];
        if (!select.Null(12)) {
            ++stats.reviewedHands;
            reviewedPoints += handPoints[side];
            par += select.Small(12);
        }
        if (!select.Null(14)) {
            ++row.reviewed;
            row.lostPerReviewedHand += select.Real(14);
        }
        if (declarer < 0 || ((users >> declarer) & 1u) == 0) continue;
        // One of the user's own bids.
        ++stats.bidsWon;
        ++row.bidsWon;
        bids += bid;
        const bool made = score[side] >= 0 && !thrownIn;
        if (made) ++stats.bidsMade, ++row.bidsMade;
        if (thrownIn) {
            ++stats.throwIns;
        } else {
            if (!made) ++stats.sets;
            margins += handMeld[side] + handPoints[side] - bid;
            ++playedOut;
        }
        if (!select.Null(13)) stats.bidsAgainstBest.emplace_back(bid, select.Small(13));
    }
    auto mean = [](double sum, int count) { return count > 0 ? sum / count : 0.0; };
    stats.averageBid = mean(bids, stats.bidsWon);
    stats.averageMargin = mean(margins, playedOut);
    stats.meldPerHand = mean(meld, stats.hands);
    stats.pointsPerHand = mean(points, stats.hands);
    stats.pointsPerReviewedHand = mean(reviewedPoints, stats.reviewedHands);
    stats.parPerReviewedHand = mean(par, stats.reviewedHands);
    for (HistoryStatistics::Month& row : stats.months) {
        row.pointsPerHand = mean(row.pointsPerHand, row.hands);
        row.lostPerReviewedHand = mean(row.lostPerReviewedHand, row.reviewed);
    }
    return stats;
}

std::string ReviewJson(const HandReview& review) {
    Json cards = Json::array();
    for (const ReviewedCard& c : review.cards)
        cards.push_back({{"seat", c.seat},
                         {"kind", c.kind},
                         {"trick", c.trick},
                         {"parBefore", c.parBefore},
                         {"parAfter", c.parAfter},
                         {"parProved", c.parProved},
                         {"exactCost", c.exactCost},
                         {"reviewed", c.reviewed},
                         {"forced", c.forced},
                         {"expected", c.expected},
                         {"best", c.best},
                         {"cost", c.cost},
                         {"label", static_cast<int>(c.label)}});
    Json auction = Json::array();
    for (const AuctionVerdict& v : review.auction)
        auction.push_back({{"seat", v.seat},
                           {"declared", v.declared},
                           {"chance", v.chance},
                           {"expected", v.expected},
                           {"bestTrump", v.bestTrump},
                           {"bestTrumpExpected", v.bestTrumpExpected},
                           {"bestBid", v.bestBid},
                           {"bestBidTrump", v.bestBidTrump},
                           {"bestBidChance", v.bestBidChance},
                           {"bestBidExpected", v.bestBidExpected},
                           {"text", v.text}});
    Json passes = Json::array();
    for (const PassVerdict& v : review.passes)
        passes.push_back({{"seat", v.seat},
                          {"passed", CardsWord(v.passed)},
                          {"computers", CardsWord(v.computers)},
                          {"meld", v.meld},
                          {"par", v.par},
                          {"computersMeld", v.computersMeld},
                          {"computersPar", v.computersPar},
                          {"proved", v.proved},
                          {"text", v.text}});
    Json calls = Json::array();
    for (const CallVerdict& v : review.calls) {
        Json figures = Json::array();
        for (const CallFigure& f : v.figures) figures.push_back({f.bid, f.trump, f.margin});
        calls.push_back({{"at", v.at},
                         {"seat", v.seat},
                         {"called", v.called},
                         {"figures", figures},
                         {"best", v.best},
                         {"cost", v.cost},
                         {"conventional", v.conventional},
                         {"costly", v.costly},
                         {"seats", v.seats}});
    }
    const Json whole{{"cards", cards},
                     {"trickWinners", review.trickWinners},
                     {"parAtStart", review.parAtStart},
                     {"parAtStartProved", review.parAtStartProved},
                     {"points", review.points},
                     {"auction", auction},
                     {"passes", passes},
                     {"calls", calls},
                     {"complete", review.complete}};
    return whole.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::optional<HandReview> ReviewOfJson(const std::string& text) {
    const Json whole = Json::parse(text, nullptr, false);
    if (whole.is_discarded() || !whole.is_object()) return std::nullopt;
    // A kept review that does not read whole, or whose seats, cards and
    // labels are out of range, is worked out again rather than shown.
    try {
        HandReview review;
        for (const Json& c : whole.at("cards")) {
            ReviewedCard card;
            card.seat = c.at("seat").get<int>();
            card.kind = c.at("kind").get<int>();
            card.trick = c.at("trick").get<int>();
            card.parBefore = c.at("parBefore").get<int>();
            card.parAfter = c.at("parAfter").get<int>();
            card.parProved = c.at("parProved").get<bool>();
            card.exactCost = c.at("exactCost").get<int>();
            card.reviewed = c.at("reviewed").get<bool>();
            card.forced = c.at("forced").get<bool>();
            card.expected = c.at("expected").get<PerKind<double>>();
            card.best = c.at("best").get<int>();
            card.cost = c.at("cost").get<double>();
            const int label = c.at("label").get<int>();
            // The longest hand, the 80-card deck's, has 20 tricks.
            if (card.seat < 0 || card.seat > 3 || card.kind < 0 || card.kind >= kCardKinds || card.trick < 0 ||
                card.trick >= 20 || card.best < -1 || card.best >= kCardKinds || label < 0 ||
                label > static_cast<int>(CardLabel::Blunder))
                return std::nullopt;
            card.label = static_cast<CardLabel>(label);
            review.cards.push_back(card);
        }
        review.trickWinners = whole.at("trickWinners").get<std::vector<int>>();
        review.parAtStart = whole.at("parAtStart").get<int>();
        review.parAtStartProved = whole.at("parAtStartProved").get<bool>();
        review.points = whole.at("points").get<std::array<int, 2>>();
        for (const Json& v : whole.at("auction")) {
            AuctionVerdict verdict;
            verdict.seat = v.at("seat").get<int>();
            verdict.declared = v.at("declared").get<bool>();
            verdict.chance = v.at("chance").get<double>();
            verdict.expected = v.at("expected").get<double>();
            verdict.bestTrump = v.at("bestTrump").get<int>();
            verdict.bestTrumpExpected = v.at("bestTrumpExpected").get<double>();
            verdict.bestBid = v.at("bestBid").get<int>();
            verdict.bestBidTrump = v.at("bestBidTrump").get<int>();
            verdict.bestBidChance = v.at("bestBidChance").get<double>();
            verdict.bestBidExpected = v.at("bestBidExpected").get<double>();
            verdict.text = v.at("text").get<std::string>();
            review.auction.push_back(std::move(verdict));
        }
        for (const Json& v : whole.at("passes")) {
            PassVerdict verdict;
            verdict.seat = v.at("seat").get<int>();
            const std::optional<KindCounts> passed = CardsOfWord(v.at("passed").get<std::uint64_t>());
            const std::optional<KindCounts> computers = CardsOfWord(v.at("computers").get<std::uint64_t>());
            if (!passed || !computers) return std::nullopt;
            verdict.passed = *passed;
            verdict.computers = *computers;
            verdict.meld = v.at("meld").get<int>();
            verdict.par = v.at("par").get<int>();
            verdict.computersMeld = v.at("computersMeld").get<int>();
            verdict.computersPar = v.at("computersPar").get<int>();
            verdict.proved = v.at("proved").get<bool>();
            verdict.text = v.at("text").get<std::string>();
            review.passes.push_back(std::move(verdict));
        }
        // Reviews kept before calls were weighed have none.
        if (whole.contains("calls"))
            for (const Json& v : whole.at("calls")) {
                CallVerdict verdict;
                verdict.at = v.at("at").get<std::size_t>();
                verdict.seat = v.at("seat").get<int>();
                verdict.called = v.at("called").get<int>();
                for (const Json& f : v.at("figures"))
                    verdict.figures.push_back({f.at(0).get<int>(), f.at(1).get<int>(), f.at(2).get<double>()});
                verdict.best = v.at("best").get<int>();
                verdict.cost = v.at("cost").get<double>();
                verdict.conventional = v.at("conventional").get<bool>();
                // Reviews kept before three played weigh the partnership game's calls.
                if (v.contains("costly")) verdict.costly = v.at("costly").get<double>();
                if (v.contains("seats")) verdict.seats = v.at("seats").get<int>() == 3 ? 3 : 4;
                if (verdict.seat < 0 || verdict.seat > 3 || verdict.Figure(verdict.best) == nullptr)
                    return std::nullopt;
                review.calls.push_back(std::move(verdict));
            }
        for (const int seat : review.trickWinners)
            if (seat < 0 || seat > 3) return std::nullopt;
        review.complete = whole.at("complete").get<bool>();
        return review;
    } catch (const Json::exception&) {
        return std::nullopt;
    }
}

void GameHistory::ExportCsv(std::ostream& out) const {
    // As the sheet shows a hand: seats and suits by name, hands counted from
    // 1, the expected points lost to one decimal.
    out << "started,your_seats,rules,hand,dealer,declarer,bid,trump,meld_south_north,meld_east_west,"
           "points_south_north,points_east_west,score_south_north,score_east_west,total_south_north,total_east_west,"
           "result,practice,deal_code,par,points_lost,best_bid,east_meld,east_points,east_score,east_total\n";
    Statement select(db_,
                     "SELECT games.started, games.user_seats, games.rules, number, dealer, declarer, bid, trump, "
                     "meld0, meld1, points0, points1, score0, score1, hands.total0, hands.total1, result, practice, "
                     "deal_code, par, lost, best_bid, meld2, points2, score2, hands.total2 FROM hands JOIN games ON "
                     "games.id = hands.game ORDER BY games.started, games.id, number");
    while (select.Step()) {
        // Where three play, the two sides' columns hold South's and West's
        // figures, and East's stand in the last four.
        const int players = select.Text(2).rfind("Three-handed", 0) == 0 ? 3 : 4;
        auto seatName = [players](int seat) {
            return seat >= 0 && seat < players ? SeatName(seat, players) : std::string();
        };
        std::string seats;
        for (int seat = 0; seat < players; ++seat)
            if ((select.Int(1) >> seat) & 1) seats += (seats.empty() ? "" : " and ") + seatName(seat);
        const int trump = select.Small(7);
        char lost[32] = "";
        if (!select.Null(20)) std::snprintf(lost, sizeof lost, "%.1f", select.Real(20));
        const std::vector<std::string> fields{
            select.Text(0),
            seats,
            select.Text(2),
            std::to_string(select.Int(3) + 1),
            seatName(select.Small(4)),
            seatName(select.Small(5)),
            select.Text(6),
            trump >= 0 && trump < 4 ? std::string(kSuitNames[static_cast<std::size_t>(trump)]) : "",
            select.Text(8),
            select.Text(9),
            select.Text(10),
            select.Text(11),
            select.Text(12),
            select.Text(13),
            select.Text(14),
            select.Text(15),
            select.Text(16),
            select.Int(17) != 0 ? "yes" : "no",
            select.Text(18),
            select.Text(19),
            lost,
            select.Text(21),
            players == 3 ? select.Text(22) : "",
            players == 3 ? select.Text(23) : "",
            players == 3 ? select.Text(24) : "",
            players == 3 ? select.Text(25) : ""};
        for (std::size_t i = 0; i < fields.size(); ++i) out << (i > 0 ? "," : "") << CsvField(fields[i]);
        out << '\n';
    }
}

std::string GameLine(const KeptGame& game) {
    Json line;
    line["started"] = game.started;
    line["seed"] = game.seed;
    line["settings"] = Json::parse(SettingsJson(game.settings));
    Json moves = Json::array();
    for (const GameMove& move : game.moves) {
        Json entry{{"kind", std::string(KindName(move.kind))}, {"seat", move.seat}, {"value", move.value}};
        if (move.cards != KindCounts{}) entry["cards"] = CardsWord(move.cards);
        if (!move.text.empty()) entry["text"] = move.text;
        moves.push_back(std::move(entry));
    }
    line["moves"] = std::move(moves);
    // A text that is not UTF-8 is written with replacement characters, never thrown over.
    return line.dump(-1, ' ', false, Json::error_handler_t::replace);
}

ReadGame ReadGameLine(const std::string& text) {
    ReadGame read;
    const Json line = Json::parse(text, nullptr, false);
    if (line.is_discarded() || !line.is_object()) {
        read.refused = "not a JSON object";
        return read;
    }
    if (!line.contains("started") || !line["started"].is_string() || line["started"].get<std::string>().empty()) {
        read.refused = "no \"started\" time";
        return read;
    }
    if (!line.contains("seed") || !line["seed"].is_number_unsigned()) {
        read.refused = "no \"seed\" as a whole number";
        return read;
    }
    if (!line.contains("settings") || !line["settings"].is_object()) {
        read.refused = "no \"settings\" object";
        return read;
    }
    if (!line.contains("moves") || !line["moves"].is_array()) {
        read.refused = "no \"moves\" list";
        return read;
    }
    KeptGame& game = read.game;
    for (const Json& entry : line["moves"]) {
        std::optional<GameMove::Kind> kind;
        if (entry.is_object() && entry.contains("kind") && entry["kind"].is_string())
            kind = KindNamed(entry["kind"].get<std::string>());
        // A seat or a value must read as the int it is kept as, not wrap into one.
        auto whole = [&](const char* name) {
            if (!entry.contains(name)) return true;
            const Json& field = entry[name];
            if (field.is_number_unsigned()) return field.get<std::uint64_t>() <= std::uint64_t{INT_MAX};
            return field.is_number_integer() && FitsInt(field.get<std::int64_t>());
        };
        if (!kind || !whole("seat") || !whole("value") ||
            (entry.contains("cards") && !entry["cards"].is_number_unsigned()) ||
            (entry.contains("text") && !entry["text"].is_string())) {
            read.refused = "move " + std::to_string(game.moves.size() + 1) + " cannot be read";
            return read;
        }
        GameMove move;
        move.kind = *kind;
        move.seat = entry.value("seat", -1);
        move.value = entry.value("value", 0);
        const std::optional<KindCounts> cards = CardsOfWord(entry.value("cards", std::uint64_t{0}));
        if (!cards) {
            read.refused = "move " + std::to_string(game.moves.size() + 1) + " cannot be read";
            return read;
        }
        move.cards = *cards;
        move.text = entry.value("text", std::string());
        game.moves.push_back(std::move(move));
    }
    game.started = line["started"].get<std::string>();
    game.seed = line["seed"].get<std::uint64_t>();
    game.settings = SettingsOf(line["settings"]);
    // The moves must make a game under its rules, as they did when played.
    read.driver = GameDriver::Restore(
        game.settings, game.seed, [] { return std::int64_t{0}; }, game.moves, &read.refused);
    return read;
}

void GameHistory::ExportJsonLines(std::ostream& out) const {
    Statement select(db_, "SELECT id, started, seed, settings FROM games ORDER BY started, id");
    while (select.Step()) {
        const KeptGame game{select.Text(1), static_cast<std::uint64_t>(select.Int(2)),
                            SettingsOf(Json::parse(select.Text(3), nullptr, false)), Moves(select.Int(0))};
        out << GameLine(game) << '\n';
    }
}

ImportReport GameHistory::ImportJsonLines(std::istream& in) {
    ImportReport report;
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        if (text.find_first_not_of(" \t\r") == std::string::npos) continue;
        auto refuse = [&](const std::string& why) {
            report.refused.push_back("line " + std::to_string(number) + ": " + why);
        };
        const ReadGame read = ReadGameLine(text);
        if (!read.driver) {
            refuse(read.refused);
            continue;
        }
        const KeptGame& game = read.game;
        {
            Statement known(db_, "SELECT 1 FROM games WHERE started = ? AND seed = ?");
            known.Bind(1, game.started).Bind(2, static_cast<std::int64_t>(game.seed));
            if (known.Step()) {
                ++report.duplicates;
                continue;
            }
        }
        // The game and its moves in one transaction: all of it or none.
        bool written = Execute("BEGIN IMMEDIATE");
        if (written) {
            const std::optional<std::int64_t> id = StartGame(game.settings, game.seed, game.started);
            written = id && WriteGame(*id, read.driver->game(), game.moves) && Execute("COMMIT");
            if (!written) {
                const std::string why = problem_;
                Execute("ROLLBACK");
                problem_ = why;
                cachedGame_ = -1;
            }
        }
        if (!written) {
            refuse("could not be written: " + problem_);
            continue;
        }
        ++report.added;
    }
    return report;
}

std::string ResumeQuestion(const GameSummary& game) {
    static constexpr std::array<const char*, 12> kMonths{"January",   "February", "March",    "April",
                                                         "May",       "June",     "July",     "August",
                                                         "September", "October",  "November", "December"};
    const int month = game.started.size() >= 10 ? std::atoi(game.started.substr(5, 2).c_str()) : 0;
    const int day = game.started.size() >= 10 ? std::atoi(game.started.substr(8, 2).c_str()) : 0;
    // The time too: two games of one day are told apart by it.
    const std::string time =
        game.started.size() >= 16 && game.started[10] == 'T' ? " at " + game.started.substr(11, 5) : "";
    const std::string date = month >= 1 && month <= 12 && day >= 1
                                 ? std::to_string(day) + " " + kMonths[static_cast<std::size_t>(month - 1)] + time
                                 : game.started;
    if (game.settings.rules.form.seats == 3)
        return "Resume the game of " + date + ", South " + std::to_string(game.totals[0]) + ", West " +
               std::to_string(game.totals[1]) + ", East " + std::to_string(game.totals[2]) + "?";
    const auto side = static_cast<std::size_t>(game.userSide & 1);
    return "Resume the game of " + date + ", " + std::to_string(game.totals[side]) + " to " +
           std::to_string(game.totals[1 - side]) + "?";
}

std::vector<std::pair<std::string, std::string>> StatisticsRows(const HistoryStatistics& stats) {
    auto fixed = [](double value) {
        char text[32];
        std::snprintf(text, sizeof text, "%.1f", value);
        return std::string(text);
    };
    auto share = [](int part, int whole) {
        return whole > 0 ? " (" + std::to_string((200 * part + whole) / (2 * whole)) + "%)" : std::string();
    };
    std::vector<std::pair<std::string, std::string>> rows{
        {"Games", std::to_string(stats.games)},
        {"Hands played", std::to_string(stats.hands)},
        {"Bids won", std::to_string(stats.bidsWon) + share(stats.bidsWon, stats.hands)},
        {"Bids made", std::to_string(stats.bidsMade) + share(stats.bidsMade, stats.bidsWon)},
        {"Sets", std::to_string(stats.sets)},
        {"Throw-ins", std::to_string(stats.throwIns)},
        {"Average bid", stats.bidsWon > 0 ? fixed(stats.averageBid) : "\u2014"},
        {"Average margin", stats.bidsWon > 0 ? fixed(stats.averageMargin) : "\u2014"},
        {"Meld per hand", fixed(stats.meldPerHand)},
        {"Card points per hand", fixed(stats.pointsPerHand)},
    };
    if (stats.reviewedHands > 0)
        rows.emplace_back("Card points against the par",
                          fixed(stats.pointsPerReviewedHand) + " (par " + fixed(stats.parPerReviewedHand) + ", " +
                              std::to_string(stats.reviewedHands) +
                              (stats.reviewedHands == 1 ? " hand reviewed)" : " hands reviewed)"));
    return rows;
}

std::string GameHistory::SetAside(const std::string& path, const std::string& stamp) {
    std::error_code error;
    std::string target = path + ".damaged-" + stamp;
    for (int n = 2; std::filesystem::exists(target, error); ++n)
        target = (path + ".damaged-").append(stamp).append("-").append(std::to_string(n));
    std::filesystem::rename(path, target, error);
    if (error) return {};
    // Its log files go with it, so that a new history does not read them.
    for (const char* suffix : {"-wal", "-shm"})
        if (std::filesystem::exists(path + suffix, error))
            std::filesystem::rename(path + suffix, target + suffix, error);
    return target;
}

}  // namespace vantrel
