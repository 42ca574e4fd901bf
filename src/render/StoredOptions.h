// The stored export options as the exports take them, for the window and
// varnock-cli alike.
#pragma once

#include "formats/PgnExportOptions.h"
#include "render/RtfOptions.h"
#include "settings/Settings.h"

namespace varnock {

RtfOptions RtfOptionsOf(const SettingsSection& settings);
PgnExportOptions PgnExportOptionsOf(const SettingsSection& settings);

}  // namespace varnock
