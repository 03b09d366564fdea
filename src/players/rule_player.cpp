#include "players/rule_player.h"

#include "players/seat_view.h"
#include "rules/trick_rules.h"

namespace vantrel {

int RuleCard(const SeatView& view) {
    const KindMask legal = LegalPlays(view.Hand(), view.Trick(), view.Trump(), view.Rules().play);
    return RuleCard(
        {view.Hand(), view.Unseen(), view.Trick(), view.Seat(), view.Trump(), view.Declarer(), legal, &view.Rules()});
}

}  // namespace vantrel
