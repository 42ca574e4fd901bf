#include "render/BoardImage.h"

#include <QPainter>
#include <algorithm>

#include "render/ProductInfo.h"
#include "render/SGIFFile.h"
#include "render/SGridAttr.h"
#include "render/TileStrip.h"

namespace varnock {

namespace {

constexpr int kGifDelay = 20;

}  // namespace

QImage BoardImage(const GridImageRequest& request) {
  const int a = std::max(request.tileSize, 1);
  const int side = BoardImageSide(a);
  const SGridAttr attributes(request.colours, request.fontIndex, request.defaultColours);
  TileStrip strip(attributes, a);
  QImage image(side, side, QImage::Format_RGB32);
  image.fill(attributes.Paper());
  QPainter painter(&image);
  DrawBoard(painter, strip, attributes, request.board, request.reversed, {4, 4}, request.overlay);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(attributes.Ink(), 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(0, 0, side - 1, side - 1);
  painter.drawRect(1, 1, side - 3, side - 3);
  return image;
}

int SaveImageAsGif(const QImage& image, const std::string& path, UserPrompt& prompt) {
  // The writer reads blue, green, red bytes, rows top first.
  const QImage raster = image.convertToFormat(QImage::Format_BGR888);
  GifRaster view{raster.constBits(), raster.width(), raster.height(), static_cast<std::size_t>(raster.bytesPerLine())};
  SGIFFile gif(false, raster.width(), raster.height(), kProductName, BuildVersionText(), prompt);
  if (!gif.Initialise(path, view)) return 0;
  if (!gif.WriteImage(view, kGifDelay)) return 0;
  return gif.Terminate(true);
}

int CreateGridImage(const GridImageRequest& request, const std::string& path, UserPrompt& prompt) {
  if (path.empty()) return 0;
  return SaveImageAsGif(BoardImage(request), path, prompt);
}

}  // namespace varnock
