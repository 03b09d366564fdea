#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "coach/drill_schedule.h"
#include "coach/drill_themes.h"
#include "game/game.h"
#include "game/game_driver.h"
#include "game/game_move.h"
#include "game/game_settings.h"
#include "review/hand_review.h"

struct sqlite3;

namespace vantrel {

/// A game as the history lists it.
struct GameSummary {
    std::int64_t id = 0;
    std::string started;  // local time, "2026-12-06T14:03:27"
    std::uint64_t seed = 0;
    GameSettings settings;
    bool finished = false;
    int userSide = 0;  // the side of the user's first seat; where three play, its seat
    int winner = -1;   // the side (where three play, the seat) that won, -1 while unfinished
    std::array<int, 3> totals{};
    int hands = 0;           // hands on the sheet, practice hands included
    bool abandoned = false;  // left unfinished for a new game: not offered for resuming
    friend bool operator==(const GameSummary&, const GameSummary&) = default;
};

/// A hand of a game's sheet as kept, with the review's figures once the
/// hand has been reviewed.
struct HandSummary {
    int number = 0;              // 0 for the game's first hand
    SheetLine line;              // without its record: the moves keep that
    std::optional<int> par;      // the user's side's par as the play began
    std::optional<double> lost;  // expected card points the user lost to costly cards
    std::optional<int> bestBid;  // the simulation's best bid for the user's hand
};

/// Which games a list or the statistics take: started within [from, to]
/// (ISO dates or times, compared as text; empty for no limit), under rules of
/// this name (empty for any), of a form of the game, and by result.
struct HistoryFilter {
    std::string from;
    std::string to;
    std::string rules;
    /// The form, read from the rules' name: the 80-card deck's rules are
    /// "Double-deck", changed or not, and the three-handed game's "Three-handed".
    enum class Form { Any, Single, Double, ThreeHanded } form = Form::Any;
    enum class Result { Any, Won, Lost, Unfinished } result = Result::Any;
};

/// The user's figures over the games of a filter, the practice hands left
/// out. A bid is the user's when one of the user's seats won the auction.
struct HistoryStatistics {
    int games = 0;
    int hands = 0;
    int bidsWon = 0;
    int bidsMade = 0;
    int sets = 0;
    int throwIns = 0;
    double averageBid = 0;     // over the user's bids
    double averageMargin = 0;  // meld and card points over the bid, over the user's bids played out
    double meldPerHand = 0;    // the user's side's meld counted
    double pointsPerHand = 0;  // the user's side's card points
    int reviewedHands = 0;
    double pointsPerReviewedHand = 0;  // beside the par over the same hands
    double parPerReviewedHand = 0;
    /// A month a row ("2026-12"): hands, the user's bids made of those won,
    /// card points per hand.
    struct Month {
        std::string month;
        int hands = 0;
        int bidsWon = 0;
        int bidsMade = 0;
        double pointsPerHand = 0;
        int reviewed = 0;                // hands reviewed
        double lostPerReviewedHand = 0;  // the review's expected card points given away, a hand
    };
    std::vector<Month> months;
    /// The user's winning bids beside the simulation's best bids for the
    /// same hands, where the review has figured them: (bid, best bid).
    std::vector<std::pair<int, int>> bidsAgainstBest;
};

/// A drill as the history keeps it: a card of the player's own that the
/// review of a kept hand labelled a mistake or a blunder (the game, the
/// sheet's line and the card's place in the hand's plays), or a call it
/// found costly, the review's figures for it, and when it comes back.
struct KeptDrill {
    std::int64_t id = 0;
    std::int64_t game = 0;
    int hand = 0;
    std::size_t at = 0;
    int seat = 0;
    int played = -1;
    int best = -1;
    PerKind<double> expected{};
    CardLabel label = CardLabel::Mistake;
    DrillSchedule schedule;
    /// What it asks. A call drill of the player's own hand holds the call's
    /// place in the bidding in `at`, the call made in `played` and the best
    /// in `best` (bids, 0 a pass); a trump drill holds suits there. Their
    /// figures are the calls' or the suits', not `expected`.
    DrillQuestion question = DrillQuestion::Play;
    std::vector<CallFigure> figures;
    /// A drill made on a fresh deal: its theme and its position (`game` 0,
    /// `hand` -1, `played` the rule player's card).
    std::string theme;
    std::optional<ThemeDrill> generated;
    friend bool operator==(const KeptDrill&, const KeptDrill&) = default;
};

/// Drills answered: how many, those answered best, and the card points
/// given away against the best.
struct DrillTally {
    int answers = 0;
    int best = 0;
    double givenAway = 0;
    void Add(const DrillTally& other) {
        answers += other.answers;
        best += other.best;
        givenAway += other.givenAway;
    }
    /// The card points given away a drill answered; 0 before any answer.
    [[nodiscard]] double GivenAwayADrill() const { return answers > 0 ? givenAway / answers : 0; }
};

/// The drills' record, overall, a month a row and a theme a row.
struct DrillRecord {
    int drills = 0;  // of the player's own hands
    DrillTally overall;
    struct Month {
        std::string month;  // "2026-12"
        DrillTally tally;
    };
    std::vector<Month> months;
    /// A theme a row: the player's own hands (no theme) first.
    struct Theme {
        std::string theme;
        int drills = 0;
        DrillTally tally;
    };
    std::vector<Theme> themes;
};

/// A game as export and import carry it: its start, seed, settings and moves.
struct KeptGame {
    std::string started;
    std::uint64_t seed = 0;
    GameSettings settings;
    std::vector<GameMove> moves;
    friend bool operator==(const KeptGame&, const KeptGame&) = default;
};

/// A game as one line of JSON, as the export writes it.
std::string GameLine(const KeptGame& game);

/// A line read back: the game and its moves replayed under its rules, or
/// none with why it was refused.
struct ReadGame {
    KeptGame game;
    std::optional<GameDriver> driver;
    std::string refused;
};
ReadGame ReadGameLine(const std::string& text);

struct ImportReport {
    int added = 0;
    int duplicates = 0;
    std::vector<std::string> refused;  // "line 3: …"
};

/// The game history: every game and every hand, kept in one SQLite file as
/// the game goes, a transaction a move. Opening never changes a file it
/// cannot read: the history is then unavailable and says why.
class GameHistory {
public:
    /// The schema this program writes; older files are brought up to it.
    static constexpr int kSchemaVersion = 6;

    /// The history at `path`, made when there is no file. None when the file
    /// cannot be used, with the reason in `problem`; `damaged` says the file
    /// cannot be read at all (empty, not SQLite, damaged), as against one
    /// from a newer program or in a folder that cannot be written.
    static std::unique_ptr<GameHistory> Open(const std::string& path, std::string* problem, bool* damaged = nullptr);
    ~GameHistory();
    GameHistory(const GameHistory&) = delete;
    GameHistory& operator=(const GameHistory&) = delete;

    /// A new game, started at the local time `started`.
    std::optional<std::int64_t> StartGame(const GameSettings& settings, std::uint64_t seed, const std::string& started);
    /// Brings the kept game in line with `moves`, the moves that made
    /// `game`, in one transaction: new moves added, moves taken back
    /// removed, new hands of the sheet and the game's totals written. False
    /// when it could not be written (`Problem` says why); nothing is then
    /// half written.
    bool Record(std::int64_t id, const Game& game, const std::vector<GameMove>& moves);
    /// The review's figures for a hand of a game, and the whole review where
    /// given, so that it opens again at once.
    bool RecordReview(std::int64_t id, int hand, int par, double lost, std::optional<int> bestBid,
                      const HandReview* review = nullptr);
    /// The drills of every review kept, in the order made.
    [[nodiscard]] std::vector<KeptDrill> Drills() const;
    /// Drills made on fresh deals, kept new, in one transaction.
    bool KeepThemeDrills(const std::vector<ThemeDrill>& drills);
    /// A drill answered on `day` (days since 1970-01-01, as the schedule
    /// counts them): the answer kept and the drill's schedule moved on, in
    /// one transaction.
    bool AnswerDrill(std::int64_t id, int card, bool best, double givenAway, std::int64_t day);
    /// The drills of the games the filter takes, and their answers.
    [[nodiscard]] DrillRecord DrillAnswers(const HistoryFilter& filter = {}) const;
    /// The review kept for a hand, if one was kept and reads whole.
    [[nodiscard]] std::optional<HandReview> KeptReview(std::int64_t id, int hand) const;

    [[nodiscard]] std::vector<GameSummary> Games(const HistoryFilter& filter = {}) const;
    [[nodiscard]] std::optional<GameSummary> Summary(std::int64_t id) const;
    /// The most recent game left unfinished, if any.
    [[nodiscard]] std::optional<GameSummary> Unfinished() const;
    [[nodiscard]] std::vector<GameMove> Moves(std::int64_t id) const;
    [[nodiscard]] std::vector<HandSummary> Hands(std::int64_t id) const;
    /// Marks an unfinished game as one not to be offered again.
    bool Abandon(std::int64_t id);
    [[nodiscard]] HistoryStatistics Statistics(const HistoryFilter& filter = {}) const;

    /// Every hand, a line each, with its game's start and seats, as CSV.
    void ExportCsv(std::ostream& out) const;
    /// Every game, a JSON object a line: its start, seed, settings and moves.
    void ExportJsonLines(std::ostream& out) const;
    /// Reads games written by ExportJsonLines; a game already kept (the same
    /// start and seed) is not added again, and a line that cannot be read or
    /// whose moves the rules refuse is refused with its number and the reason.
    ImportReport ImportJsonLines(std::istream& in);

    /// What went wrong with the last write.
    [[nodiscard]] const std::string& Problem() const { return problem_; }
    [[nodiscard]] const std::string& Path() const { return path_; }

    /// A file the history could not read, renamed beside itself so that a
    /// new history can start: the new name, or empty when it could not be
    /// moved.
    static std::string SetAside(const std::string& path, const std::string& stamp);

private:
    explicit GameHistory(sqlite3* db, std::string path);
    static std::unique_ptr<GameHistory> OpenAt(const std::string& path, const std::string& shown, bool create,
                                               std::string* problem, bool* damaged);
    bool Execute(const char* sql);
    bool WriteGame(std::int64_t id, const Game& game, const std::vector<GameMove>& moves);
    // The drills of a hand's review, added where not kept already.
    bool KeepDrills(std::int64_t game, int hand, const HandReview& review);
    // The drills of the reviews kept before drills were: run once, as the
    // file is brought up to the schema that keeps them.
    bool DrillsOfKeptReviews();

    sqlite3* db_ = nullptr;
    std::string path_;
    std::string problem_;
    // The moves and hands last written for the game being recorded, so that
    // a move costs one insert and not a rewrite.
    std::int64_t cachedGame_ = -1;
    std::vector<GameMove> cachedMoves_;
    std::size_t cachedHands_ = 0;
};

/// A whole review as the history keeps it, and read back: none when the
/// text does not read whole or holds a value out of range.
std::string ReviewJson(const HandReview& review);
std::optional<HandReview> ReviewOfJson(const std::string& text);

/// "Resume the game of 6 December at 14:03, 820 to 640?": the user's side first.
std::string ResumeQuestion(const GameSummary& game);

/// The statistics as rows of a table, name and figure.
std::vector<std::pair<std::string, std::string>> StatisticsRows(const HistoryStatistics& stats);

}  // namespace vantrel
