// Fonts, tiles and whole boards as pixels.
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QRawFont>
#include <cstdlib>

#include "RenderTesting.h"
#include "render/BoardImage.h"
#include "render/ChessFontFiles.h"
#include "render/ChessFontMap.h"
#include "render/SGridAttr.h"
#include "render/TileStrip.h"
#include "support/ScriptedPrompt.h"

namespace varnock {
namespace {

using testing::ScratchFolder;
using testing::ScriptedPrompt;
using testing::StartRenderSession;

constexpr int kTile = 48;

// Pixels of a square that are clearly darker than the paper (ink or hatch).
int InkPixels(const QImage& image, int x0, int y0, int size) {
  int count = 0;
  for (int y = y0; y < y0 + size; ++y)
    for (int x = x0; x < x0 + size; ++x)
      if (qGray(image.pixel(x, y)) < 128) ++count;
  return count;
}

class ChessFonts : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override { StartRenderSession(); }
};

TEST_P(ChessFonts, LoadUnderTheirFaceNamesWithEveryMapCharacter) {
  const int index = GetParam();
  const QString face = QString::fromLatin1(ChessFaceName(index).data(), ChessFaceName(index).size());
  ASSERT_TRUE(QFontDatabase::families().contains(face)) << face.toStdString();
  const SGridAttr attributes(BoardColours{}, index);
  const QFont font = attributes.Font(kTile);
  EXPECT_EQ(QFontInfo(font).family(), face);
  const QRawFont raw = QRawFont::fromFont(font);
  ASSERT_TRUE(raw.isValid());
  const std::string_view map = CharacterMap(index);
  for (char c : map) EXPECT_TRUE(raw.supportsCharacter(QChar::fromLatin1(c))) << face.toStdString() << " '" << c << "'";
}

TEST_P(ChessFonts, StartPositionHasInkOnPiecesAndHatchOnDarkSquares) {
  const int index = GetParam();
  GridImageRequest request;
  request.fontIndex = index;
  request.tileSize = kTile;
  request.defaultColours = true;
  const QImage image = BoardImage(request);
  ASSERT_EQ(image.width(), BoardImageSide(kTile));
  for (int row = 0; row < 8; ++row) {
    for (int column = 0; column < 8; ++column) {
      const int ink = InkPixels(image, 4 + column * kTile, 4 + row * kTile, kTile);
      const bool piece = row < 2 || row > 5;
      const bool light = IsLightCell(column, row);
      SCOPED_TRACE(::testing::Message() << ChessFaceName(index) << " row " << row << " column " << column);
      if (piece) {
        EXPECT_GT(ink, kTile * kTile / 20);
      } else if (light) {
        EXPECT_EQ(ink, 0);
      } else {
        EXPECT_GT(ink, kTile * kTile / 8);  // the hatch
      }
    }
  }
  // Dark squares of the middle are the same picture everywhere.
  EXPECT_EQ(image.copy(4 + kTile, 4 + 2 * kTile, kTile, kTile), image.copy(4 + 3 * kTile, 4 + 4 * kTile, kTile, kTile));
  // Frame: two ink rectangles along the edge, paper inside them.
  EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(1, 200), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(2, 200), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(image.width() - 2, 3), qRgb(0, 0, 0));

  // VARNOCK_BOARD_PNG_DIR keeps the pictures (docs/boards holds one per font).
  if (const char* folder = std::getenv("VARNOCK_BOARD_PNG_DIR")) {
    request.defaultColours = false;
    std::string name(ChessFaceName(index).substr(6));
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_TRUE(BoardImage(request).save(QString::fromStdString(std::string(folder) + "/" + name + ".png")));
  }
}

INSTANTIATE_TEST_SUITE_P(AllFive, ChessFonts, ::testing::Range(0, kChessFontCount));

TEST(ChessFontFiles, AFontThatCannotBeLoadedIsReportedAndTheOthersStillLoad) {
  StartRenderSession();
  const auto folder = ScratchFolder("fonts");
  const auto source = std::filesystem::path(VARNOCK_SOURCE_DIR) / "data" / "Fonts";
  for (const char* name : {"merida.ttf", "alpha.ttf", "maya.ttf", "motif.ttf"})
    std::filesystem::copy_file(source / name, folder / name);
  ScriptedPrompt prompt;
  EXPECT_EQ(LoadChessFonts(folder, prompt), 4);
  ASSERT_EQ(prompt.Records().size(), 1u);
  EXPECT_EQ(prompt.Last().caption, "App::InitInstance");
  EXPECT_EQ(prompt.Last().text,
            "'" + (folder / "dervantis.ttf").string() + "'\n\nUnable to load the Dervantis chess font");
  EXPECT_TRUE(QFontDatabase::families().contains("Chess Motif"));
}

TEST(TileStrip, BoxMarksScratchTileAndInvertedStartSquare) {
  StartRenderSession();
  const SGridAttr attributes(BoardColours{}, 3);
  TileStrip strip(attributes, 40);
  const QImage& image = strip.Image();
  ASSERT_EQ(image.width(), 33 * 40);
  const int f = TileInset(40);  // (160 + 48) / 96 = 2
  ASSERT_EQ(f, 2);
  const int filled = kFilledBoxTile * 40, open = kOpenBoxTile * 40;
  EXPECT_EQ(image.pixelColor(filled, 0), attributes.Ink());
  EXPECT_EQ(image.pixelColor(filled + f, f), QColor(Qt::black));
  EXPECT_EQ(image.pixelColor(open + 1, 1), QColor(Qt::black));
  EXPECT_EQ(image.pixelColor(open + f, 20), QColor(Qt::white));
  // Tile 0 is plain paper; the marks' tiles are framed in paper on the muted shade.
  EXPECT_EQ(InkPixels(image, 0, 0, 40), 0);
  EXPECT_EQ(image.pixelColor(29 * 40, 0), attributes.Paper());
  EXPECT_EQ(image.pixelColor(29 * 40 + 5, 5), attributes.MutedShade());

  // A start square is shown inverted.
  const QImage before = strip.Tile(13);
  strip.InvertIntoScratch(13);
  QImage inverted = strip.Tile(kScratchTile);
  inverted.invertPixels();
  EXPECT_EQ(inverted, before);
}

TEST(BoardImage, ArrowsAreDrawnInTheirColoursOverTheSquares) {
  StartRenderSession();
  GridImageRequest request;
  request.tileSize = 51;
  request.colours.arrow1 = MakeColour(255, 0, 0);
  request.colours.arrow2 = MakeColour(0, 255, 0);
  request.overlay.previousArrow = ArrowMove{52, 36};  // e2-e4
  request.overlay.nextArrow = ArrowMove{62, 45};      // g1-f3
  request.overlay.selectedSquare = 20;                // e6, an empty light square
  const QImage image = BoardImage(request);
  // The e2-e4 line at x = 4 + 229 (and the pixel left of it), between the ends.
  EXPECT_EQ(image.pixel(233, 4 + 280), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(232, 4 + 280), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(233, 4 + 231 + 2), qRgb(255, 0, 0));  // inside the head
  // The knight arrow's corner on the g-file at the level of f3.
  EXPECT_EQ(image.pixel(4 + 331, 4 + 300), qRgb(0, 255, 0));
  // The selected square's paper is inverted.
  const QColor paper = ToQColor(request.colours.grid);
  EXPECT_EQ(image.pixelColor(4 + 4 * 51 + 1, 4 + 2 * 51 + 1),
            QColor(255 - paper.red(), 255 - paper.green(), 255 - paper.blue()));
}

}  // namespace
}  // namespace varnock
