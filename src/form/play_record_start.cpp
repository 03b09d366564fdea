#include "form/play_record_start.h"

#include "analysis/hand_analysis.h"
#include "form/form1.h"
#include "rules/design_codes.h"

namespace vantrel {

void StartRecordOnForm(PlayRecord& record, const Form1& form, std::string dealCode) {
    // The form's letters become the engine's seat and suit here, once.
    const Suit trump = SuitFromLetter(form.module1.TrumpSuit);
    const std::optional<Seat> declarer = SeatFromLetter(form.CurSeat);
    const int bid =
        declarer && trump != Suit::None
            ? OwnFiguresOf(&form.Deck[FirstPosition(*declarer)])[static_cast<std::size_t>(Index(trump))].bidValue
            : 0;
    record.Start(form.Deck, trump, declarer, bid, std::move(dealCode));
}

}  // namespace vantrel
