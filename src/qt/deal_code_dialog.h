#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace vantrel {

/// "Deal from Code": asks for a code and hands it to `deal`, which lays the
/// deal or says why it cannot. A refused code gets that message and is
/// offered again as typed, to be mended or cancelled. The dialog is wide
/// enough for its title in the window manager's bar and a whole code.
void AskDealFromCode(QWidget* parent, const std::function<QString(const QString&)>& deal);

}  // namespace vantrel
