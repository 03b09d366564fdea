#pragma once

#include <string>

#include "practice/play_record.h"

namespace vantrel {

class Form1;

/// Starts a record on the main window's play as it has just begun: its deal,
/// trump, declarer and the declarer's bid value as the list gives it.
void StartRecordOnForm(PlayRecord& record, const Form1& form, std::string dealCode);

}  // namespace vantrel
