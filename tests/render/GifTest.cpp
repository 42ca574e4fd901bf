// GIF files checked byte by byte and decoded by an independent decoder
// (Pillow) back to the raster's pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <functional>
#include <random>

#include "RenderTesting.h"
#include "render/BoardImage.h"
#include "render/GifLzw.h"
#include "render/SGIFFile.h"
#include "support/ScriptedPrompt.h"

namespace varnock {
namespace {

using testing::ReadWholeFile;
using testing::RunCommand;
using testing::ScratchFolder;
using testing::ScriptedPrompt;

struct Rgb {
  std::uint8_t r, g, b;
  bool operator==(const Rgb&) const = default;
};

// A raster as the writer reads it: blue, green, red, rows padded to 4 bytes.
struct TestRaster {
  int width, height;
  std::vector<std::uint8_t> bytes;
  TestRaster(int w, int h)
      : width(w), height(h), bytes(GifRaster::PaddedStride(w) * static_cast<std::size_t>(h), 0xAB) {}
  void Set(int x, int y, Rgb c) {
    std::uint8_t* p =
        &bytes[GifRaster::PaddedStride(width) * static_cast<std::size_t>(y) + 3 * static_cast<std::size_t>(x)];
    p[0] = c.b, p[1] = c.g, p[2] = c.r;
  }
  Rgb Get(int x, int y) const {
    const std::uint8_t* p =
        &bytes[GifRaster::PaddedStride(width) * static_cast<std::size_t>(y) + 3 * static_cast<std::size_t>(x)];
    return {p[2], p[1], p[0]};
  }
  GifRaster View() const { return {bytes.data(), width, height, GifRaster::PaddedStride(width)}; }
};

std::string WriteGif(const TestRaster& raster, const std::filesystem::path& path, ScriptedPrompt& prompt) {
  SGIFFile gif(false, raster.width, raster.height, "Varnock", "1.2.3", prompt);
  EXPECT_EQ(gif.Initialise(path.string(), raster.View()), 1);
  EXPECT_EQ(gif.WriteImage(raster.View(), 20), 1);
  EXPECT_EQ(gif.Terminate(true), 1);
  return ReadWholeFile(path);
}

// Decodes with Pillow and compares with `expected` (the colour each pixel
// must come back as).
void ExpectDecodesTo(
    const std::filesystem::path& gif, const TestRaster& raster,
    const std::function<Rgb(Rgb)>& expected = [](Rgb c) { return c; }) {
  const auto rgbPath = std::filesystem::path(gif).replace_extension(".rgb");
  std::ofstream rgb(rgbPath, std::ios::binary);
  for (int y = 0; y < raster.height; ++y)
    for (int x = 0; x < raster.width; ++x) {
      const Rgb c = expected(raster.Get(x, y));
      rgb.put(static_cast<char>(c.r)).put(static_cast<char>(c.g)).put(static_cast<char>(c.b));
    }
  rgb.close();
  const auto result =
      RunCommand(std::string(VARNOCK_DEBIAN_PYTHON) + " '" VARNOCK_SOURCE_DIR "/tests/render/decode_gif.py' '" +
                 gif.string() + "' '" + rgbPath.string() + "' 2>&1");
  EXPECT_EQ(result.status, 0) << result.out;
}

// The parts of a GIF after its colour table.
struct GifParts {
  std::size_t tableEnd = 0;
  std::vector<std::size_t> subBlocks;  // lengths of the image data sub-blocks
  std::string comment;
  bool trailer = false;
};

GifParts Walk(const std::string& bytes) {
  GifParts parts;
  const int bits = (static_cast<std::uint8_t>(bytes[10]) & 7) + 1;
  std::size_t at = 13 + 3 * (std::size_t{1} << bits);
  parts.tableEnd = at;
  at += 8;   // graphic control extension
  at += 10;  // image descriptor
  at += 1;   // minimum code size
  while (at < bytes.size() && bytes[at] != 0) {
    const std::size_t length = static_cast<std::uint8_t>(bytes[at]);
    parts.subBlocks.push_back(length);
    at += 1 + length;
  }
  at += 1;
  if (at + 3 <= bytes.size() && bytes.compare(at, 2, "\x21\xFE") == 0) {
    const std::size_t length = static_cast<std::uint8_t>(bytes[at + 2]);
    parts.comment = bytes.substr(at + 3, length);
    at += 3 + length;
    if (at < bytes.size() && bytes[at] == 0) ++at;
  }
  parts.trailer = at + 1 == bytes.size() && bytes[at] == ';';
  return parts;
}

TEST(GifFile, TwoColoursGiveAFourEntryTableAndTheFullBlockStructure) {
  const auto folder = ScratchFolder("gif-two");
  TestRaster raster(13, 11);  // odd width: rows carry padding
  for (int y = 0; y < raster.height; ++y)
    for (int x = 0; x < raster.width; ++x) raster.Set(x, y, (x * y) % 3 == 0 ? Rgb{10, 20, 30} : Rgb{200, 100, 0});
  ScriptedPrompt prompt;
  const auto path = folder / "two.gif";
  const std::string bytes = WriteGif(raster, path, prompt);
  ASSERT_GT(bytes.size(), 40u);
  EXPECT_EQ(bytes.substr(0, 6), "GIF89a");
  EXPECT_EQ(bytes.substr(6, 4), std::string("\x0D\x00\x0B\x00", 4));
  EXPECT_EQ(static_cast<std::uint8_t>(bytes[10]), 0xF1);
  EXPECT_EQ(bytes.substr(11, 2), std::string("\0\0", 2));
  // Most frequent colour first ((x * y) % 3 == 0 holds for 87 of 143 pixels), then white.
  EXPECT_EQ(bytes.substr(13, 12), std::string("\x0A\x14\x1E\xC8\x64\x00\xFF\xFF\xFF\xFF\xFF\xFF", 12));
  EXPECT_EQ(bytes.substr(25, 8), std::string("\x21\xF9\x04\x00\x14\x00\x00\x00", 8));
  EXPECT_EQ(bytes.substr(33, 11), std::string(",\0\0\0\0\x0D\0\x0B\0\x40\x08", 11));
  const GifParts parts = Walk(bytes);
  EXPECT_EQ(parts.comment, "Image created using version 1.2.3 of the Varnock application");
  EXPECT_TRUE(parts.trailer);
  ASSERT_EQ(prompt.Records().size(), 1u);
  EXPECT_EQ(prompt.Last().caption, "SGIFFile::Terminate()");
  EXPECT_EQ(prompt.Last().text, "'" + path.string() + "'\n\nFile created");
  // Only the finished file is in the folder.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
  ExpectDecodesTo(path, raster);
}

TEST(GifFile, BoardImageDecodesToItsOwnPixels) {
  testing::StartRenderSession();
  const auto folder = ScratchFolder("gif-board");
  GridImageRequest request;
  request.tileSize = 40;
  request.overlay.previousArrow = ArrowMove{52, 36};
  const QImage image = BoardImage(request);
  ASSERT_EQ(image.width(), 328);
  ASSERT_EQ(image.height(), 328);
  ScriptedPrompt prompt;
  ASSERT_EQ(CreateGridImage(request, (folder / "board.gif").string(), prompt), 1);
  TestRaster raster(328, 328);
  for (int y = 0; y < 328; ++y)
    for (int x = 0; x < 328; ++x) {
      const QRgb p = image.pixel(x, y);
      raster.Set(x, y,
                 {static_cast<std::uint8_t>(qRed(p)), static_cast<std::uint8_t>(qGreen(p)),
                  static_cast<std::uint8_t>(qBlue(p))});
    }
  GifColourTable table;
  const int colours = table.GetNumberOfColours(raster.View());
  ASSERT_GT(colours, 4);
  ASSERT_LE(colours, 254);  // every colour kept exactly
  const std::string bytes = ReadWholeFile(folder / "board.gif");
  EXPECT_EQ(static_cast<std::uint8_t>(bytes[10]) & 7, table.TableBits() - 1);
  ExpectDecodesTo(folder / "board.gif", raster);
}

TEST(GifFile, MoreThan254ColoursUseTheNearestOfTheMostFrequent) {
  const auto folder = ScratchFolder("gif-many");
  // Colour i (0..299) on 310 - i pixels, so the order by count is i.
  std::vector<Rgb> colours;
  for (int i = 0; i < 300; ++i)
    colours.push_back({static_cast<std::uint8_t>(i * 37 % 256), static_cast<std::uint8_t>(i * 91 % 256),
                       static_cast<std::uint8_t>(i * 53 % 256 ^ (i / 256) * 7)});
  std::vector<int> pixels;
  for (int i = 0; i < 300; ++i) pixels.insert(pixels.end(), static_cast<std::size_t>(310 - i), i);
  const int width = 250, height = static_cast<int>((pixels.size() + width - 1) / width);
  pixels.resize(static_cast<std::size_t>(width * height), 0);
  std::shuffle(pixels.begin(), pixels.end(), std::mt19937(7));
  TestRaster raster(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      raster.Set(x, y, colours[static_cast<std::size_t>(pixels[static_cast<std::size_t>(y * width + x)])]);

  GifColourTable table;
  ASSERT_EQ(table.GetNumberOfColours(raster.View()), 300);
  EXPECT_EQ(table.TableBits(), 8);
  auto nearest = [&](Rgb c) {
    int best = 0, bestDistance = INT32_MAX;
    for (int j = 0; j < 254; ++j) {
      const Rgb k = colours[static_cast<std::size_t>(j)];
      const int d = (c.r - k.r) * (c.r - k.r) + (c.g - k.g) * (c.g - k.g) + (c.b - k.b) * (c.b - k.b);
      if (d < bestDistance) best = j, bestDistance = d;
    }
    return colours[static_cast<std::size_t>(best)];
  };
  for (int i = 0; i < 300; ++i) {
    const auto& entry = table.Entries()[static_cast<std::size_t>(i)];
    EXPECT_EQ((Rgb{entry.red, entry.green, entry.blue}), colours[static_cast<std::size_t>(i)]);
    if (i < 254) {
      EXPECT_EQ(entry.substitute, static_cast<std::uint32_t>(i));
    } else {
      EXPECT_LT(entry.substitute, 254u);
    }
  }
  ScriptedPrompt prompt;
  const std::string bytes = WriteGif(raster, folder / "many.gif", prompt);
  EXPECT_EQ(static_cast<std::uint8_t>(bytes[10]), 0xF7);
  EXPECT_EQ(Walk(bytes).tableEnd, 13u + 768u);
  ExpectDecodesTo(folder / "many.gif", raster, [&](Rgb c) {
    const auto at = std::find(colours.begin(), colours.end(), c) - colours.begin();
    return at < 254 ? c : nearest(c);
  });
}

TEST(GifFile, NoiseFillsTheCodeTableAndStartsAgain) {
  const auto folder = ScratchFolder("gif-noise");
  TestRaster raster(301, 207);
  std::mt19937 random(11);
  for (int y = 0; y < raster.height; ++y)
    for (int x = 0; x < raster.width; ++x) {
      const auto v = static_cast<std::uint8_t>(random() % 180);
      raster.Set(x, y, {v, static_cast<std::uint8_t>(255 - v), static_cast<std::uint8_t>(v / 2)});
    }
  ScriptedPrompt prompt;
  const std::string bytes = WriteGif(raster, folder / "noise.gif", prompt);
  const GifParts parts = Walk(bytes);
  ASSERT_GT(parts.subBlocks.size(), 100u);
  for (std::size_t i = 0; i + 1 < parts.subBlocks.size(); ++i) EXPECT_EQ(parts.subBlocks[i], 254u);
  EXPECT_TRUE(parts.trailer);
  ExpectDecodesTo(folder / "noise.gif", raster);
}

TEST(GifLzw, DataOfExactlyOneFullSubBlockEndsWithTheTerminator) {
  std::mt19937 random(3);
  std::vector<std::uint8_t> indices;
  bool found = false;
  for (int n = 1; n < 600 && !found; ++n) {
    indices.push_back(static_cast<std::uint8_t>(random() % 250));
    std::string out;
    AppendLzwSubBlocks(out, indices);
    if (out.size() == 256) {
      found = true;
      EXPECT_EQ(static_cast<std::uint8_t>(out[0]), 254);
      EXPECT_EQ(out.back(), '\0');
    }
  }
  EXPECT_TRUE(found);
}

TEST(GifFile, InterlacedRowOrderAndRefusedFiles) {
  TestRaster raster(1, 10);
  for (int y = 0; y < 10; ++y) raster.Set(0, y, {static_cast<std::uint8_t>(y), 0, 0});
  ScriptedPrompt prompt;
  SGIFFile gif(false, 1, 10, "Varnock", "1", prompt);
  const auto folder = ScratchFolder("gif-rows");
  ASSERT_EQ(gif.Initialise((folder / "rows.gif").string(), raster.View()), 1);
  // One pixel per row, all colours counted once: the table keeps the order met.
  EXPECT_EQ(gif.PixelIndices(raster.View()), (std::vector<std::uint8_t>{0, 8, 4, 2, 6, 1, 3, 5, 7, 9}));
  gif.interlaced = false;
  EXPECT_EQ(gif.PixelIndices(raster.View()), (std::vector<std::uint8_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));

  const std::string missing = (folder / "no-such-folder" / "x.gif").string();
  SGIFFile refused(false, 1, 10, "Varnock", "1", prompt);
  EXPECT_EQ(refused.Initialise(missing, raster.View()), 0);
  EXPECT_EQ(prompt.Last().caption, "SGIFFile::Initialise()");
  EXPECT_EQ(prompt.Last().text, "'" + missing + "'\r\n\r\nFile could not be opened");
  EXPECT_EQ(refused.WriteImage(raster.View(), 20), 0);
  EXPECT_EQ(refused.Terminate(true), 0);
  EXPECT_FALSE(std::filesystem::exists(missing));
}

}  // namespace
}  // namespace varnock
