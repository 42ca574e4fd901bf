// The drawing attributes of board diagrams: colours, shades and the chess
// font at the size of one tile.
#pragma once

#include <QColor>
#include <QFont>

#include "render/ColourWord.h"

namespace varnock {

class SGridAttr {
 public:
  // Attributes from the board colours, or, in default-colour mode, with white
  // paper and black ink (the arrows keep their colours).
  SGridAttr(const BoardColours& colours, int fontIndex, bool defaultColours = false);

  QColor Paper() const { return paper_; }
  QColor Ink() const { return ink_; }
  // Arrow kind 1 (previous move), 2 (next move) or 3 (variation).
  QColor Arrow(int kind) const;
  QColor LightShade() const { return light_; }
  QColor DarkShade() const { return dark_; }
  QColor MutedShade() const { return muted_; }
  bool DefaultColours() const { return defaultColours_; }
  int FontIndex() const { return fontIndex_; }

  // The chess font with its cell (and em) `tileSize` pixels high.
  QFont Font(int tileSize) const;

 private:
  QColor paper_, ink_, arrows_[3], light_, dark_, muted_;
  int fontIndex_;
  bool defaultColours_;
};

QColor ToQColor(ColourWord colour);

}  // namespace varnock
