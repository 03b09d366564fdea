#include "analysis/hand_analysis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "rules/card_records.h"
#include "rules/card_text.h"
#include "rules/designed_meld.h"
#include "rules/meld_rules.h"
#include "rules/playing_points.h"
#include "rules/seats.h"

namespace vantrel {

namespace {

std::string Fixed(double value, int decimals) {
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// Decimals enough to show two significant digits of a half-width (one at
// least), so that a small error stays visible: 13.9, 0.34, 0.034.
int DecimalsForTwoDigits(double halfWidth) {
    int decimals = 1;
    for (double shown = 1; halfWidth > 0 && halfWidth < shown && decimals < 6; shown /= 10) ++decimals;
    return decimals;
}

std::string Whole(std::int64_t value) { return std::to_string(value); }

// Thousands grouped with commas, as the window shows counts of deals.
std::string Grouped(std::uint64_t value) {
    char digits[24];
    const int size = std::snprintf(digits, sizeof digits, "%llu", static_cast<unsigned long long>(value));
    std::string grouped;
    for (int i = 0; i < size; ++i) {
        if (i > 0 && (size - i) % 3 == 0) grouped.push_back(',');
        grouped.push_back(digits[i]);
    }
    return grouped;
}

}  // namespace

std::array<OwnFigures, 4> OwnFiguresOf(const CardRec* hand, MeldRules rules) {
    std::array<OwnFigures, 4> figures{};
    const StandardMeld standard(CountsOfHand(hand));
    for (std::size_t s = 0; s < 4; ++s) {
        const std::string_view trump = kSuitLetters[s];
        const PlayingPointsCount points = CountPlayingPoints(hand, trump);
        figures[s].meld = rules == MeldRules::Standard ? standard.WithTrump(static_cast<int>(s))
                                                       : CountMeld(hand, trump).total + points.DixMeld();
        figures[s].playPoints = points.PlayPoints();
        figures[s].bidValue = figures[s].meld + figures[s].playPoints;
    }
    return figures;
}

int LongestSuit(const CardRec* hand) {
    std::array<int, 4> length{};
    for (int i = 0; i < 12; ++i)
        if (const int suit = SuitNumber(hand[i].Suit); suit > 0) ++length[static_cast<std::size_t>(suit - 1)];
    int longest = 0;
    for (int s = 1; s < 4; ++s)
        if (length[static_cast<std::size_t>(s)] > length[static_cast<std::size_t>(longest)]) longest = s;
    return longest;
}

std::string HandText(const CardRec* hand) {
    std::array<std::vector<int>, 4> ranks;
    for (int i = 0; i < 12; ++i)
        if (const int suit = SuitNumber(hand[i].Suit); suit > 0 && RankNumber(hand[i].Rank) > 0)
            ranks[static_cast<std::size_t>(suit - 1)].push_back(RankNumber(hand[i].Rank));
    for (auto& suit : ranks) std::sort(suit.begin(), suit.end());
    return SuitsText(ranks);
}

std::string PercentText(double share) { return Fixed(100 * share, 1) + "%"; }

std::vector<FigureRow> FigureRows(const std::array<OwnFigures, 4>& own, const SimulationTally& tally) {
    std::vector<FigureRow> rows;
    auto row = [&](std::string name, auto cell) {
        FigureRow r{std::move(name), {}};
        for (std::size_t t = 0; t < 4; ++t) r.cells[t] = cell(t);
        rows.push_back(std::move(r));
    };
    row("Own meld", [&](std::size_t t) { return Whole(own[t].meld); });
    row("Playing points", [&](std::size_t t) { return Whole(own[t].playPoints); });
    row("Bid value", [&](std::size_t t) { return Whole(own[t].bidValue); });

    const std::uint64_t n = tally.deals;
    // Each trump's spreads are read off its histograms once, for all the rows.
    std::array<MeldSpread, 4> partnerSpread{};
    std::array<MeldSpread, 4> opponentsSpread{};
    for (std::size_t t = 0; t < 4; ++t) {
        const auto& trump = tally.trumps[t];
        partnerSpread[t] = SpreadOf(trump.partner, trump.partnerSum, trump.partnerSquares, n);
        opponentsSpread[t] = SpreadOf(trump.opponents, trump.opponentsSum, trump.opponentsSquares, n);
    }
    auto partner = [&](std::size_t t) { return partnerSpread[t]; };
    auto opponents = [&](std::size_t t) { return opponentsSpread[t]; };
    auto unknown = [&](auto text) { return [=](std::size_t t) { return n == 0 ? std::string("\u2026") : text(t); }; };
    auto meanText = [](const MeldSpread& s) {
        const int decimals = DecimalsForTwoDigits(s.halfWidth);
        return Fixed(s.mean, decimals) + " \u00b1 " + Fixed(s.halfWidth, decimals);
    };
    auto percentiles = [](const MeldSpread& s) { return Whole(s.p10) + "/" + Whole(s.p50) + "/" + Whole(s.p90); };

    row("Partner, mean", unknown([&](std::size_t t) { return meanText(partner(t)); }));
    row("Partner, 10th/50th/90th", unknown([&](std::size_t t) { return percentiles(partner(t)); }));
    for (int at : {20, 40, 60, 100})
        row("Partner, " + Whole(at) + " or more",
            unknown([&, at](std::size_t t) { return PercentText(ShareAtLeast(tally.trumps[t].partner, at, n)); }));
    row("Partnership, mean", unknown([&](std::size_t t) { return Fixed(own[t].meld + partner(t).mean, 1); }));
    row("Partnership, 10th/50th/90th", unknown([&](std::size_t t) {
            const MeldSpread s = partner(t);
            const int m = own[t].meld;
            return Whole(m + s.p10) + "/" + Whole(m + s.p50) + "/" + Whole(m + s.p90);
        }));
    row("Opponents, mean", unknown([&](std::size_t t) { return meanText(opponents(t)); }));
    row("Opponents, 10th/50th/90th", unknown([&](std::size_t t) { return percentiles(opponents(t)); }));
    row("Expected reach", unknown([&](std::size_t t) { return Fixed(own[t].bidValue + partner(t).mean, 1); }));
    return rows;
}

std::vector<OddsRow> OddsRows(const std::vector<NearMeld>& nearMelds, const SimulationTally& tally) {
    std::vector<OddsRow> rows;
    for (std::size_t i = 0; i < nearMelds.size(); ++i) {
        OddsRow row{nearMelds[i].meld, PercentText(nearMelds[i].exact), "\u2026", "\u2026"};
        if (tally.deals > 0 && i < tally.nearMeldHits.size()) {
            const double n = static_cast<double>(tally.deals);
            const double p = static_cast<double>(tally.nearMeldHits[i]) / n;
            row.simulated = PercentText(p);
            row.error = "\u00b1 " + PercentText(1.96 * std::sqrt(p * (1 - p) / n));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string AnalysisText(const AnalysisHeader& header, const std::vector<FigureRow>& figures,
                         const std::vector<OddsRow>& odds, const std::vector<std::string>& notes,
                         std::uint64_t dealsDone) {
    std::string text = "Hand Analysis: " + header.seatName + "\n";
    text += "Rules: " + header.rules + "\n";
    if (!header.dealCode.empty()) text += "Deal code: " + header.dealCode + "\n";
    text += "Hand: " + header.hand + "\n";
    text += "Seed " + std::to_string(header.seed) + ", " + Grouped(dealsDone) + " of " + Grouped(header.dealsAsked) +
            " deals simulated\n\n";
    auto pad = [](std::string cell, std::size_t width) {
        // Pads by characters, not bytes, so the suit symbols line up.
        std::size_t shown = 0;
        for (const char c : cell) shown += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
        if (shown < width) cell.append(width - shown, ' ');
        return cell;
    };
    text += pad("Trump", 38);
    for (std::string_view suit : kSuitNames) text += pad(std::string(suit), 18);
    text += "\n";
    for (const FigureRow& row : figures) {
        std::string line = pad(row.name, 38);
        for (const std::string& cell : row.cells) line += pad(cell, 18);
        while (!line.empty() && line.back() == ' ') line.pop_back();
        text += line + "\n";
    }
    for (const std::string& note : notes) text += note + "\n";
    text += "\nCards partner may hold\n";
    if (odds.empty()) text += "No meld lacks just one or two cards.\n";
    for (const OddsRow& row : odds)
        text +=
            pad(row.meld, 38) + pad("exact " + row.exact, 18) + "simulated " + row.simulated + " " + row.error + "\n";
    return text;
}

}  // namespace vantrel
