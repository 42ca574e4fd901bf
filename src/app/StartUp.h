// The start of the program before the window shows a file, and the window's
// placement: which file to open, where the window goes.
#pragma once

#include <QRect>
#include <optional>
#include <string>
#include <vector>

#include "core/UserPrompt.h"
#include "settings/Records.h"
#include "settings/Settings.h"

namespace varnock {

// The file to open at start-up: the first file named on the command line
// (the others listed in a message), else the newest recent file when
// "OpenLast" is on. A named file that does not exist is reported and none is
// opened; a recent file that has gone is left out silently. A name from the
// command line comes back absolute.
std::optional<std::string> StartFile(const std::vector<std::string>& arguments, const Settings& settings,
                                     UserPrompt& prompt);

// The window's rectangle without a stored placement: 10 % to 90 % of the
// screen's width, 1/12 to 5/6 of its height.
QRect DefaultWindowRect(const QRect& screen);
// The rectangle of a stored placement, when it is usable on the screen;
// a minimised placement comes back as normal.
std::optional<QRect> StoredWindowRect(const WindowPlacement& placement, const QRect& screen);
WindowPlacement PlacementOf(const QRect& normal, bool maximised);

}  // namespace varnock
