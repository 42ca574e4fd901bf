#include "app/GameTextFonts.h"

#include <algorithm>

namespace varnock {

QFont QFontOf(const TextFont& font) {
  QFont out(QString::fromStdString(font.face));
  out.setPointSize(std::clamp(font.pointSize, 4, 72));
  out.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight, 100, 900)));
  out.setItalic(font.italic);
  out.setUnderline(font.underline);
  out.setStrikeOut(font.strikeOut);
  const bool fixed = font.face.find("Courier") != std::string::npos || font.face.find("Mono") != std::string::npos;
  out.setStyleHint(fixed ? QFont::TypeWriter : QFont::SansSerif);
  return out;
}

}  // namespace varnock
