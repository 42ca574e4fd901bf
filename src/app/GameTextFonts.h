// The settings' fonts and colours as Qt takes them, for the game text and
// the comment panes.
#pragma once

#include <QColor>
#include <QFont>

#include "render/ColourWord.h"
#include "settings/Records.h"

namespace varnock {

// A stored font; a face this system lacks falls back to one of its kind
// (fixed pitch for the Courier faces).
QFont QFontOf(const TextFont& font);

inline QColor QColorOf(ColourWord colour) { return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)); }

}  // namespace varnock
