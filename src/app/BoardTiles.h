// The tile strip of a board widget, kept between paints: the chess font is
// rendered into tiles only when the tile size, the font or a colour changes.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <memory>
#include <string>

#include "render/ColourWord.h"
#include "render/SGridAttr.h"
#include "render/TileStrip.h"
#include "settings/ColourSchemes.h"
#include "settings/Records.h"

namespace varnock {

struct SettingsSection;

// The board colours of the display colours.
BoardColours BoardColoursOf(const DisplayColours& colours);

// A text font of the settings at a size in device pixels (the point size at
// the screen's logical resolution, times the device pixel ratio).
QFont DeviceFont(const TextFont& font, double logicalDpi, double devicePixelRatio);

class BoardTiles {
 public:
  // The attributes and strip for the settings' colours and chess font with
  // tiles of `tileSize` device pixels; rebuilt only when one of them changed.
  void Update(const SettingsSection& settings, int tileSize);

  bool Ready() const { return strip_ != nullptr; }
  const SGridAttr& Attributes() const { return *attributes_; }
  TileStrip& Strip() { return *strip_; }

  // Chess font at the tile size, made once per strip.
  const QFont& PieceFont() const { return pieceFont_; }

 private:
  BoardColours colours_;
  int fontIndex_ = -1;
  std::unique_ptr<SGridAttr> attributes_;
  std::unique_ptr<TileStrip> strip_;
  QFont pieceFont_;
};

}  // namespace varnock
