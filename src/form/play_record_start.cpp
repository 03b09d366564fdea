#include "form/play_record_start.h"

#include "analysis/hand_analysis.h"
#include "form/form1.h"
#include "rules/seats.h"

namespace vantrel {

void StartRecordOnForm(PlayRecord& record, const Form1& form, std::string dealCode) {
    const int trump = SuitNumber(form.module1.TrumpSuit);
    const SeatInfo* declarer = SeatOfLetter(form.CurSeat);
    const int bid =
        declarer != nullptr && trump > 0
            ? OwnFiguresOf(&form.Deck[static_cast<std::size_t>(declarer->first)])[static_cast<std::size_t>(trump - 1)]
                  .bidValue
            : 0;
    record.Start(form.Deck, trump, form.CurSeat, bid, std::move(dealCode));
}

}  // namespace vantrel
