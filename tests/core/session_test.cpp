// Long random sessions: every user action in random order, with the form's
// invariants checked after each one. A failure prints the seed and the
// shortest action list found that still fails.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <stdexcept>

#include "app/help_texts.h"
#include "table/deal_target.h"
#include "test_support.h"

namespace vantrel {
namespace {

// An action: its kind, an image index, check box value or help item, and a
// typed text.
struct Action {
    char kind;
    int index = 0;
    std::string text;
};

// What each kind does, and how often it comes in a thousand actions.
struct ActionKind {
    const char* name;
    int perThousand;
    std::function<void(Form1&, const Action&)> apply;
};
const std::map<char, ActionKind>& Kinds() {
    static const std::map<char, ActionKind> kinds{
        {'m', {"MoveCard", 250, [](Form1& f, const Action& a) { f.Image1_MouseMove(a.index); }}},
        {'b', {"MoveBackground", 100, [](Form1& f, const Action&) { f.Form_MouseMove(); }}},
        {'c', {"Click", 290, [](Form1& f, const Action& a) { f.Image1_Click(a.index); }}},
        // A double-click is a first click and then the double-click.
        {'d',
         {"DoubleClick", 80, [](Form1& f, const Action& a) { f.Image1_Click(a.index), f.Image1_DblClick(a.index); }}},
        {'s', {"Shuffle", 25, [](Form1& f, const Action&) { f.Shuffle_Click(); }}},
        {'p', {"Play", 40, [](Form1& f, const Action&) { f.cmdPlay_Click(); }}},
        {'M', {"CheckMeld", 40, [](Form1& f, const Action& a) { f.chkAutorun.SetValue(a.index % 2); }}},
        {'T', {"CheckTrump", 40, [](Form1& f, const Action& a) { f.chkTrump.SetValue(a.index % 2); }}},
        {'x', {"TypeMeld", 35, [](Form1& f, const Action& a) { f.txtRunToMeld.Text = a.text; }}},
        {'y', {"TypeTrump", 35, [](Form1& f, const Action& a) { f.txtRunToTrump.Text = a.text; }}},
        {'h',
         {"Help", 55,
          [](Form1& f, const Action& a) {
              void (Form1::*items[])() = {&Form1::mnuBid_Click, &Form1::mnuHandEvaluation_Click, &Form1::mnuMeld_Click,
                                          &Form1::mnuOpening_Click};
              (f.*items[a.index % 4])();
          }}},
        {'q', {"Quit", 10, [](Form1& f, const Action&) { f.btnEnd_Click(); }}},
    };
    return kinds;
}

std::string Describe(const Action& a) {
    std::ostringstream out;
    out << Kinds().at(a.kind).name << '(' << a.index;
    if (!a.text.empty()) {
        out << ", \"";
        for (unsigned char c : a.text.substr(0, 40))
            if (c >= 32 && c < 127 && c != '"')
                out << c;
            else
                out << "\\x" << std::hex << static_cast<int>(c) << std::dec;
        out << (a.text.size() > 40 ? "...\"" : "\"");
    }
    return out.str() + ')';
}

// Texts a user might type into a target box, odd ones included.
std::string RandomText(std::mt19937_64& random) {
    // clang-format off
    static const std::vector<std::string> kTexts = {
        "", " ", "   ", "0", "-5", "+3", "12", "100", "150", "200", "201", "250", "1e999", "-1e999", "1e-999",
        "nan", "NaN", "inf", "-inf", "0x10", "12x", "8", "8.5", "7", "1", "2.5e1", ".", "-", "+", "e5", "1e", "\t4",
        "\xC3\xA9", "\xFF\xFE\x00", "１２",  // full-width digits are not digits here
    };
    // clang-format on
    const auto roll = random() % 100;
    if (roll < 70) return kTexts[random() % kTexts.size()];
    if (roll < 72) return "9";  // the longest search, kept rare
    if (roll < 80) return std::string(1 + random() % 400, static_cast<char>('0' + random() % 10));
    std::string garbage(random() % 24, '\0');
    for (char& c : garbage) c = static_cast<char>(random() % 256);
    return garbage;
}

Action RandomAction(std::mt19937_64& random) {
    int roll = static_cast<int>(random() % 1000);
    for (const auto& [kind, info] : Kinds()) {
        if ((roll -= info.perThousand) >= 0) continue;
        const bool typed = kind == 'x' || kind == 'y';
        return {kind, static_cast<int>(random() % 49), typed ? RandomText(random) : std::string()};  // slot 0 included
    }
    return {'b', 0, {}};
}

constexpr std::uint64_t kMostDealsInOneSearch = 5'000'000;

// One session: a fresh form, the actions applied in turn, the invariants
// checked after each. Returns the failure and the index of the failing action.
class Session {
public:
    Session() {
        auto serviceWindow = [this] {
            if (++dealsInSearch_ > kMostDealsInOneSearch) throw std::runtime_error("a search did not end");
        };
        form_ = std::make_unique<Form1>(testing::FixedClock(1), WindowServices{{}, {}, serviceWindow, {}});
        form_->Form_Load();
        slotZero_ = form_->Image1[0];
    }

    std::string Apply(const Action& a) {
        dealsInSearch_ = 0;
        try {
            Kinds().at(a.kind).apply(*form_, a);
        } catch (const std::exception& e) {
            return e.what();
        }
        return Check(a);
    }

private:
    std::string Check(const Action& a) const {
        const Form1& f = *form_;
        std::map<int, int> copies;
        for (int p = 1; p <= 48; ++p) {
            const CardRec& card = f.Deck[static_cast<std::size_t>(p)];
            if (card.Seat != SeatOfIndex(p)->letter) return "seat letter of position " + std::to_string(p);
            if (card.Code < 101 || card.Code > 406 || card != MakeCard(card.Code / 100, card.Code % 100, card.Seat))
                return "record at position " + std::to_string(p);
            if ((p - 1) % 12 != 11 && card.Code > f.Deck[static_cast<std::size_t>(p + 1)].Code)
                return "hand not sorted at position " + std::to_string(p);
            ++copies[card.Code];
        }
        if (copies.size() != 24) return "not 24 distinct cards";
        for (const auto& [code, count] : copies)
            if (count != 2) return "card " + std::to_string(code) + " held " + std::to_string(count) + " times";
        const bool playing = f.module1.PlayFlag != 0;
        const auto& instructions = InstructionLines(playing);
        const ImageControl& zero = f.Image1[0];
        const std::pair<bool, const char*> broken[] = {
            {f.module1.PlayFlag != 0 && f.module1.PlayFlag != -1, "play flag neither true nor false"},
            {f.List2.Lines() != testing::Lines(instructions.begin(), instructions.end()), "instruction lines"},
            {f.cmdPlay.Caption != (playing ? "Stop Play" : "Play Hand"), "play button caption"},
            {f.chkAutorun.Value() != 0 && f.chkTrump.Value() != 0, "both search boxes checked"},
            {std::tie(zero.Picture, zero.Left, zero.Top, zero.Visible, zero.Stacking) !=
                 std::tie(slotZero_.Picture, slotZero_.Left, slotZero_.Top, slotZero_.Visible, slotZero_.Stacking),
             "image slot 0 was touched"},
            {f.KeepDealing != 0, "still dealing after a handler"},
            {!f.List1.Visible, "information list left hidden"},
            {f.module1.TrickCount < 0 || f.module1.TrickCount > 3, "trick count out of range"},
            {f.List1.ListIndex() != f.List1.ListCount() - 1 &&
                 std::string_view("xyMThqb").find(a.kind) == std::string_view::npos,
             "last line of the information list not selected"},
        };
        for (const auto& [bad, what] : broken)
            if (bad) return what;
        if (a.kind == 's' || (a.kind == 'p' && !playing)) {
            const double meld = ReadTarget(f.txtRunToMeld.Text);
            const double trump = ReadTarget(f.txtRunToTrump.Text);
            if (std::isnan(meld) || std::isnan(trump) || meld > 200 || trump > 9) return "a target out of range";
            const std::string_view last = f.List1.List(f.List1.ListCount() - 1);
            if (last.rfind("Number of Hands Dealt: ", 0) != 0) return "no count line after a deal";
        }
        for (int index = 1; index <= 48; ++index) {
            const ImageControl& image = f.Image1[index];
            if (image.Picture != f.Deck[static_cast<std::size_t>(index)].Pic)
                return "face of image " + std::to_string(index);
            if (!playing && (!image.Visible || image.Top != SeatOfIndex(index)->rowTop) && a.kind != 'p')
                return "card out of its row outside play";
        }
        return {};
    }

    std::unique_ptr<Form1> form_;
    ImageControl slotZero_;
    std::uint64_t dealsInSearch_ = 0;
};

struct Failure {
    std::size_t at;
    std::string what;
};

std::optional<Failure> RunSession(const std::vector<Action>& actions) {
    Session session;
    for (std::size_t i = 0; i < actions.size(); ++i)
        if (std::string what = session.Apply(actions[i]); !what.empty()) return Failure{i, what};
    return std::nullopt;
}

// Removes chunks of actions while the session still fails, halving the chunk
// until single actions, within a time budget.
std::vector<Action> Shrink(std::vector<Action> actions) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    for (std::size_t chunk = actions.size() / 2; chunk >= 1; chunk /= 2) {
        for (std::size_t start = 0; start < actions.size();) {
            if (std::chrono::steady_clock::now() > deadline) return actions;
            std::vector<Action> candidate(actions.begin(), actions.begin() + static_cast<long>(start));
            candidate.insert(candidate.end(),
                             actions.begin() + static_cast<long>(std::min(actions.size(), start + chunk)),
                             actions.end());
            if (auto failure = RunSession(candidate)) {
                candidate.resize(failure->at + 1);
                actions = std::move(candidate);
            } else {
                start += chunk;
            }
        }
    }
    return actions;
}

std::uint64_t EnvNumber(const char* name, std::uint64_t fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::strtoull(value, nullptr, 10) : fallback;
}

TEST(RandomSession, InvariantsHoldAfterEveryAction) {
    const std::uint64_t seed = EnvNumber("VANTREL_SESSION_SEED", 20261206);
    const std::uint64_t total = EnvNumber("VANTREL_SESSION_ACTIONS", 200000);
    std::mt19937_64 random(seed);
    std::vector<Action> actions;
    actions.reserve(static_cast<std::size_t>(total));
    for (std::uint64_t i = 0; i < total; ++i) actions.push_back(RandomAction(random));

    const std::optional<Failure> failure = RunSession(actions);
    if (!failure) {
        std::printf("%llu actions run, seed %llu\n", static_cast<unsigned long long>(total),
                    static_cast<unsigned long long>(seed));
        return;
    }
    std::vector<Action> prefix(actions.begin(), actions.begin() + static_cast<long>(failure->at + 1));
    const std::vector<Action> shortest = Shrink(prefix);
    std::ostringstream report;
    report << "seed " << seed << ": " << failure->what << " after action " << failure->at << "\nshortest failing list ("
           << shortest.size() << " actions):";
    for (const Action& a : shortest) report << "\n  " << Describe(a);
    FAIL() << report.str();
}

}  // namespace
}  // namespace vantrel
