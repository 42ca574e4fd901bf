#include "render/TileStrip.h"

#include <QPainter>
#include <QString>
#include <algorithm>

#include "render/ChessFontMap.h"

namespace varnock {

namespace {

void DrawCharacter(QPainter& painter, const QRect& tile, char character) {
  painter.save();
  painter.setClipRect(tile);
  painter.drawText(tile, Qt::AlignCenter, QString(QChar::fromLatin1(character)));
  painter.restore();
}

}  // namespace

TileStrip::TileStrip(const SGridAttr& attributes, int tileSize)
    : tileSize_(std::max(tileSize, 1)), image_(kTileCount * tileSize_, tileSize_, QImage::Format_RGB32) {
  const int a = tileSize_;
  const int f = TileInset(a);
  image_.fill(attributes.Paper());
  QPainter painter(&image_);
  painter.fillRect(QRect(kFirstMarkTile * a, 0, (kTileCount - kFirstMarkTile) * a, a), attributes.MutedShade());
  painter.fillRect(TileRect(kFilledBoxTile), attributes.Ink());
  painter.fillRect(TileRect(kFilledBoxTile).adjusted(f, f, -f, -f), Qt::black);
  painter.fillRect(TileRect(kOpenBoxTile), Qt::black);
  painter.fillRect(TileRect(kOpenBoxTile).adjusted(f, f, -f, -f), Qt::white);

  painter.setFont(attributes.Font(a));
  painter.setPen(attributes.Ink());
  painter.setBackgroundMode(Qt::TransparentMode);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  const std::string_view map = CharacterMap(attributes.FontIndex());
  for (int tile = 1; tile < kSquareTileCount; ++tile)
    DrawCharacter(painter, TileRect(tile), map[static_cast<std::size_t>(tile)]);
  DrawCharacter(painter, TileRect(30), 'k');
  DrawCharacter(painter, TileRect(31), 'r');
  DrawCharacter(painter, TileRect(32), 'o');

  painter.setPen(QPen(attributes.Paper(), 1));
  painter.setBrush(Qt::NoBrush);
  for (int tile = kFirstMarkTile; tile < kTileCount; ++tile) painter.drawRect(TileRect(tile).adjusted(0, 0, -1, -1));
}

void TileStrip::InvertIntoScratch(int from) {
  QImage tile = Tile(from);
  tile.invertPixels();
  QPainter painter(&image_);
  painter.drawImage(TileRect(kScratchTile).topLeft(), tile);
}

}  // namespace varnock
