#include "render/SGIFFile.h"

#include "core/Format.h"
#include "render/GifLzw.h"

namespace varnock {

namespace {

constexpr int kInterlaceStart[4] = {0, 4, 2, 1};
constexpr int kInterlaceStep[4] = {8, 8, 4, 2};

void AppendU16(std::string& out, int value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

}  // namespace

SGIFFile::SGIFFile(bool transparent, int width, int height, std::string productName, std::string versionText,
                   UserPrompt& prompt)
    : transparent_(transparent),
      width_(width),
      height_(height),
      productName_(std::move(productName)),
      versionText_(std::move(versionText)),
      prompt_(prompt) {}

std::string SGIFFile::CommentText() const {
  return Format("Image created using version %s of the %s application", versionText_.c_str(), productName_.c_str());
}

int SGIFFile::Initialise(const std::string& fileName, const GifRaster& raster) {
  fileName_ = fileName;
  bytes_.clear();
  if (fileName.empty()) return 0;
  if (width_ < 1 || height_ < 1 || width_ > 0xFFFF || height_ > 0xFFFF || raster.pixels == nullptr ||
      raster.width != width_ || raster.height != height_ || raster.stride < static_cast<std::size_t>(width_) * 3) {
    prompt_.Inform("SGIFFile::Initialise()", Format("'%s'\r\n\r\nFile could not be opened", fileName.c_str()));
    return 0;
  }
  if (!file_.Open(fileName)) {
    prompt_.Inform("SGIFFile::Initialise()", Format("'%s'\r\n\r\nFile could not be opened", fileName.c_str()));
    return 0;
  }
  if (colours_.GetNumberOfColours(raster) < 0) {
    const int amount = static_cast<int>(colours_.failedAmount);
    if (colours_.failedAmount == kGifFirstTableBytes)
      prompt_.Inform("SGIFFile::Initialise()", Format("Unable to allocate memory.  Amount = %d", amount));
    else
      prompt_.Inform("GetNumberOfColours()", Format("Unable to re-allocate memory.  Amount = %d", amount));
    file_.Discard();
    return 0;
  }
  bytes_ += gif87a ? "GIF87a" : "GIF89a";
  AppendU16(bytes_, width_);
  AppendU16(bytes_, height_);
  bytes_ += static_cast<char>(0x80 | ((colourResolution - 1) & 7) << 4 | (colours_.TableBits() - 1));
  bytes_ += '\0';  // background colour index
  bytes_ += '\0';  // pixel aspect ratio
  colours_.AppendGlobalTable(bytes_);
  return 1;
}

std::vector<std::uint8_t> SGIFFile::PixelIndices(const GifRaster& raster) const {
  std::vector<std::uint8_t> indices;
  indices.reserve(static_cast<std::size_t>(raster.width) * static_cast<std::size_t>(raster.height));
  auto addRow = [&](int y) {
    const std::uint8_t* pixel = raster.pixels + raster.stride * static_cast<std::size_t>(y);
    for (int x = 0; x < raster.width; ++x, pixel += 3)
      indices.push_back(colours_.IndexOf(pixel[0], pixel[1], pixel[2]));
  };
  if (interlaced) {
    for (int pass = 0; pass < 4; ++pass)
      for (int y = kInterlaceStart[pass]; y < raster.height; y += kInterlaceStep[pass]) addRow(y);
  } else {
    for (int y = 0; y < raster.height; ++y) addRow(y);
  }
  return indices;
}

int SGIFFile::WriteImage(const GifRaster& raster, int delay) {
  if (!file_.IsOpen() || raster.pixels == nullptr || raster.width != width_ || raster.height != height_) return 0;
  if (!gif87a) {
    const char control[] = {'\x21', '\xF9', '\x04', static_cast<char>(transparent_ ? 1 : 0)};
    bytes_.append(control, sizeof control);
    AppendU16(bytes_, delay);
    bytes_ += '\0';  // transparent colour index
    bytes_ += '\0';  // block terminator
  }
  bytes_ += ',';
  AppendU16(bytes_, 0);
  AppendU16(bytes_, 0);
  AppendU16(bytes_, width_);
  AppendU16(bytes_, height_);
  bytes_ += static_cast<char>(interlaced ? 0x40 : 0);
  bytes_ += '\x08';  // LZW minimum code size
  AppendLzwSubBlocks(bytes_, PixelIndices(raster));
  return 1;
}

int SGIFFile::Terminate(bool report) {
  if (!file_.IsOpen()) return 0;
  if (!gif87a) {
    std::string comment = CommentText();
    if (comment.size() > 255) comment.resize(255);
    bytes_ += "\x21\xFE";
    bytes_ += static_cast<char>(comment.size());
    bytes_ += comment;
    bytes_ += '\0';
  }
  bytes_ += ';';
  if (!file_.Write(bytes_) || !file_.Commit()) {
    prompt_.Inform("SGIFFile::Terminate()",
                   Format("'%s'\n%s\nError Code is %d", fileName_.c_str(), file_.errorText.c_str(), file_.errorCode));
    bytes_.clear();
    return 0;
  }
  bytes_.clear();
  if (report) prompt_.Inform("SGIFFile::Terminate()", Format("'%s'\n\nFile created", fileName_.c_str()));
  return 1;
}

}  // namespace varnock
