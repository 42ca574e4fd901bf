#include "app/BoardTiles.h"

#include <algorithm>
#include <cmath>

#include "settings/Settings.h"

namespace varnock {

namespace {

bool SameColours(const BoardColours& a, const BoardColours& b) {
  return a.grid == b.grid && a.border == b.border && a.arrow1 == b.arrow1 && a.arrow2 == b.arrow2 &&
         a.arrow3 == b.arrow3;
}

}  // namespace

BoardColours BoardColoursOf(const DisplayColours& colours) {
  BoardColours board;
  board.grid = colours.grid;
  board.border = colours.border;
  board.arrow1 = colours.arrow;
  board.arrow2 = colours.arrow2;
  board.arrow3 = colours.arrow3;
  return board;
}

QFont DeviceFont(const TextFont& font, double logicalDpi, double devicePixelRatio) {
  QFont result(QString::fromStdString(font.face));
  const double points = std::clamp(font.pointSize, 4, 96);
  result.setPixelSize(std::max(1, static_cast<int>(std::lround(points * logicalDpi / 72.0 * devicePixelRatio))));
  result.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight / 10 * 10, 100, 900)));
  result.setItalic(font.italic);
  result.setUnderline(font.underline);
  result.setStrikeOut(font.strikeOut);
  return result;
}

void BoardTiles::Update(const SettingsSection& settings, int tileSize) {
  const BoardColours colours = BoardColoursOf(settings.colours);
  tileSize = std::max(tileSize, 1);
  if (strip_ && strip_->TileSize() == tileSize && fontIndex_ == settings.chessFontType &&
      SameColours(colours, colours_))
    return;
  colours_ = colours;
  fontIndex_ = settings.chessFontType;
  attributes_ = std::make_unique<SGridAttr>(colours_, fontIndex_);
  strip_ = std::make_unique<TileStrip>(*attributes_, tileSize);
  pieceFont_ = attributes_->Font(tileSize);
}

}  // namespace varnock
