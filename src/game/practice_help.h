#pragma once

#include <array>
#include <string_view>

namespace vantrel {

/// The help on the practice windows, shown from the Help menu beside the
/// main window's own four texts.
struct PracticeHelp {
    std::string_view title;
    std::string_view text;
};

/// The Game window, the Hand Review, the Game History and the keys, in that order.
const std::array<PracticeHelp, 4>& PracticeHelpTopics();

}  // namespace vantrel
