#include "render/SGridAttr.h"

#include <QString>

#include "render/ChessFontMap.h"

namespace varnock {

QColor ToQColor(ColourWord colour) { return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)); }

SGridAttr::SGridAttr(const BoardColours& colours, int fontIndex, bool defaultColours)
    : fontIndex_(fontIndex), defaultColours_(defaultColours) {
  const ColourWord paper = defaultColours ? kWhiteColour : colours.grid;
  paper_ = ToQColor(paper);
  ink_ = ToQColor(defaultColours ? kBlackColour : colours.border);
  arrows_[0] = ToQColor(colours.arrow1);
  arrows_[1] = ToQColor(colours.arrow2);
  arrows_[2] = ToQColor(colours.arrow3);
  const int r = RedOf(paper), g = GreenOf(paper), b = BlueOf(paper);
  light_ = QColor((r + 255) / 2, (g + 255) / 2, (b + 255) / 2);
  dark_ = QColor(r / 2, g / 2, b / 2);
  muted_ = QColor(r * 13 / 16, g * 13 / 16, b * (defaultColours ? 13 : 15) / 16);
}

QColor SGridAttr::Arrow(int kind) const { return arrows_[kind >= 1 && kind <= 3 ? kind - 1 : 0]; }

QFont SGridAttr::Font(int tileSize) const {
  QFont font(QString::fromLatin1(ChessFaceName(fontIndex_).data(), ChessFaceName(fontIndex_).size()));
  font.setPixelSize(tileSize > 0 ? tileSize : 1);
  font.setWeight(QFont::Normal);
  font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoFontMerging));
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

}  // namespace varnock
