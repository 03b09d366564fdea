#pragma once

#include <string>
#include <vector>

#include "rules/cards.h"
#include "rules/rule_set.h"
#include "rules/suit_facts.h"

namespace vantrel {

inline constexpr int kNoTrump = -1;

/// A line of a hand's meld: its name, its value and the cards it uses. A card
/// may serve once in each group (runs, marriages and nines; the arounds; the
/// pinochle), never twice within one.
struct MeldLine {
    enum Group { Marriages, Arounds, Pinochles };
    std::string name;
    int value = 0;
    KindMask kinds = 0;  // the kinds of card it uses,
    int times = 1;       // each this many times
    Group group = Marriages;
    /// The cards it uses, as a hand of the 48-card deck (a line of it uses a
    /// kind at most twice).
    [[nodiscard]] HandCounts Cards() const;
    friend bool operator==(const MeldLine&, const MeldLine&) = default;
};

/// Every meld line of a hand for a trump suit (0..3, or kNoTrump), in the
/// order runs, royal marriages, marriages, nines, arounds, pinochle.
struct MeldReport {
    std::vector<MeldLine> lines;
    int total = 0;
    /// The cards the lines show: what the other seats learn the hand holds.
    [[nodiscard]] HandCounts Shown() const;
    /// The same for a hand of any deck.
    [[nodiscard]] KindCounts ShownCounts() const;
    /// The lines as text, one a line, e.g. "Run in Hearts  150  A♥ 10♥ K♥ Q♥ J♥".
    [[nodiscard]] std::string Text() const;
    friend bool operator==(const MeldReport&, const MeldReport&) = default;
};

/// How many times a hand holds a run (A 10 K Q J) in a suit, and a rank
/// (0..5) around the four suits: 0, 1 or 2.
int RunsIn(HandCounts hand, int suit);
int RunsIn(const KindCounts& hand, int suit);
int TimesAround(HandCounts hand, int rank);

/// The meld of a hand by the usual rules of partnership pinochle: runs (150,
/// double 1500) in trump only; aces, kings, queens and jacks around (100, 80,
/// 60, 40; double 1000, 800, 600, 400); the pinochle (40, double 300); royal
/// marriages 40 and other marriages 20 each, a run's own King and Queen
/// making none; each nine of trump 10. With no trump there are no runs, royal
/// marriages or nines.
MeldReport StandardMeldReport(HandCounts hand, int trump);

/// The meld of a hand of either deck by the usual rules, each meld counted
/// by how many times the hand holds it (up to the deck's copies) in the
/// values of the rule set's deck: the 48-card deck's as above, and the
/// 80-card deck's (a run 15, 150, 225 and 300 single to quadruple; aces 10,
/// kings 8, queens 6 and jacks 4 around, ten, fifteen and twenty times that
/// doubled to quadrupled; the pinochle 4, 30, 60, 90; royal marriages 4 and
/// other marriages 2). Names say how many times: "Triple run in Hearts".
MeldReport MeldReportOf(const RuleSet& rules, const KindCounts& hand, int trump);
/// Its total alone (CountsMeld's): for playouts.
int MeldOf(const RuleSet& rules, const KindCounts& hand, int trump);

/// The same total, read through a table of each suit once: fast enough for
/// the simulation.
class StandardMeld : public MeldByTrump {
public:
    explicit StandardMeld(HandCounts hand);
};

/// The totals of MeldReportOf in every trump, read in one pass over the
/// hand's counts: fast enough for the simulation of an 80-card hand.
class CountsMeld : public MeldByTrump {
public:
    CountsMeld(const RuleSet& rules, const KindCounts& hand);
};

/// A hand's meld for a trump under a rule set: the standard count, or the
/// program's own (the meld listing plus the nines of trump) as designed.
/// The designed count wants a hand of twelve cards.
int MeldOf(const RuleSet& rules, HandCounts hand, int trump);

}  // namespace vantrel
