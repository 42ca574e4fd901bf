#include "settings/Records.h"

#include <algorithm>
#include <optional>

namespace varnock {

namespace {

class ByteWriter {
 public:
  explicit ByteWriter(std::size_t size) { bytes_.reserve(size); }
  void Int(std::int32_t value) { Word(static_cast<std::uint32_t>(value)); }
  void Word(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) bytes_.push_back(static_cast<std::uint8_t>(value >> shift));
  }
  void Byte(std::uint8_t value) { bytes_.push_back(value); }
  void Text(const std::string& text, std::size_t width) {
    // Always ended by at least one NUL inside its field.
    const std::size_t length = std::min(text.size(), width - 1);
    bytes_.insert(bytes_.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length));
    bytes_.resize(bytes_.size() + width - length, 0);
  }
  void PadTo(std::size_t size) { bytes_.resize(size, 0); }
  RecordBytes Take() { return std::move(bytes_); }

 private:
  RecordBytes bytes_;
};

class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint32_t Word() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= std::uint32_t{bytes_[at_ + i]} << (8 * i);
    at_ += 4;
    return value;
  }
  std::int32_t Int() { return static_cast<std::int32_t>(Word()); }
  std::uint8_t Byte() { return bytes_[at_++]; }
  // A NUL-ended text in a field of `width` bytes; nothing when no NUL ends it.
  std::optional<std::string> Text(std::size_t width) {
    const auto field = bytes_.subspan(at_, width);
    at_ += width;
    const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
    if (end == field.end()) return std::nullopt;
    return std::string(field.begin(), end);
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

void WriteRect(ByteWriter& out, const RecordRect& rect) {
  out.Int(rect.left);
  out.Int(rect.top);
  out.Int(rect.right);
  out.Int(rect.bottom);
}

RecordRect ReadRect(ByteReader& in) {
  RecordRect rect;
  rect.left = in.Int();
  rect.top = in.Int();
  rect.right = in.Int();
  rect.bottom = in.Int();
  return rect;
}

// The on/off switches of the print options, in their order in the record.
constexpr bool PrintOptions::*kPrintSwitches[] = {
    &PrintOptions::indentMainLine,
    &PrintOptions::boldMainLine,
    &PrintOptions::courierMainLine,
    &PrintOptions::shortMainLine,
    &PrintOptions::indentComments,
    &PrintOptions::allLines,
    &PrintOptions::justify,
    &PrintOptions::shortVariations,
    &PrintOptions::endDiagramMainLine,
    &PrintOptions::endDiagramAllLines,
    &PrintOptions::diagramEveryComment,
    &PrintOptions::diagramEveryBookmark,
    &PrintOptions::gameInformation,
    &PrintOptions::infoDate,
    &PrintOptions::infoEvent,
    &PrintOptions::infoPlayers,
    &PrintOptions::infoOpening,
    &PrintOptions::infoFileName,
    &PrintOptions::infoDescription,
    &PrintOptions::twoColumns,
    &PrintOptions::pageNumbers,
    &PrintOptions::printHeader,
    &PrintOptions::printFooter,
    &PrintOptions::temporaryFile,
};

static_assert(16 + std::size(kPrintSwitches) <= PrintOptions::kSize);

}  // namespace

RecordBytes ToRecord(const DialogLayout& layout) { return RecordBytes(layout.bytes.begin(), layout.bytes.end()); }

RecordBytes ToRecord(const RecordRect& rect) {
  ByteWriter out(RecordRect::kSize);
  WriteRect(out, rect);
  return out.Take();
}

RecordBytes ToRecord(const WindowPlacement& placement) {
  ByteWriter out(WindowPlacement::kSize);
  out.Int(placement.length);
  out.Int(placement.flags);
  out.Int(placement.showState);
  out.Int(placement.minimisedPosition.x);
  out.Int(placement.minimisedPosition.y);
  out.Int(placement.maximisedPosition.x);
  out.Int(placement.maximisedPosition.y);
  WriteRect(out, placement.normalPosition);
  return out.Take();
}

// Font: point size, weight, italic, underline, strike-out, 1 reserved byte,
// 32 bytes of face name, 16 reserved bytes.
RecordBytes ToRecord(const TextFont& font) {
  ByteWriter out(TextFont::kSize);
  out.Int(font.pointSize);
  out.Int(font.weight);
  out.Byte(font.italic);
  out.Byte(font.underline);
  out.Byte(font.strikeOut);
  out.Byte(0);
  out.Text(font.face, TextFont::kFaceBytes);
  out.PadTo(TextFont::kSize);
  return out.Take();
}

// Print options: style, text size, board square size, variation colour,
// one byte for each switch, the rest reserved.
RecordBytes ToRecord(const PrintOptions& options) {
  ByteWriter out(PrintOptions::kSize);
  out.Int(options.style);
  out.Int(options.textSize);
  out.Int(options.boardSquareSize);
  out.Word(options.variationColour & 0xFFFFFF);
  for (bool PrintOptions::*option : kPrintSwitches) out.Byte(options.*option ? 1 : 0);
  out.PadTo(PrintOptions::kSize);
  return out.Take();
}

RecordBytes ToRecord(const PgnExportFields& fields) {
  ByteWriter out(PgnExportFields::kSize);
  for (std::int32_t field :
       {fields.includeVariations, fields.oneLine, fields.symbols, fields.preview, fields.format, fields.extensions})
    out.Int(field);
  return out.Take();
}

bool FromRecord(std::span<const std::uint8_t> bytes, DialogLayout& out) {
  if (bytes.size() != DialogLayout::kSize) return false;
  std::copy(bytes.begin(), bytes.end(), out.bytes.begin());
  return true;
}

bool FromRecord(std::span<const std::uint8_t> bytes, RecordRect& out) {
  if (bytes.size() != RecordRect::kSize) return false;
  ByteReader in(bytes);
  out = ReadRect(in);
  return true;
}

bool FromRecord(std::span<const std::uint8_t> bytes, WindowPlacement& out) {
  if (bytes.size() != WindowPlacement::kSize) return false;
  ByteReader in(bytes);
  WindowPlacement placement;
  placement.length = in.Int();
  placement.flags = in.Int();
  placement.showState = in.Int();
  placement.minimisedPosition.x = in.Int();
  placement.minimisedPosition.y = in.Int();
  placement.maximisedPosition.x = in.Int();
  placement.maximisedPosition.y = in.Int();
  placement.normalPosition = ReadRect(in);
  out = placement;
  return true;
}

bool FromRecord(std::span<const std::uint8_t> bytes, TextFont& out) {
  if (bytes.size() != TextFont::kSize) return false;
  ByteReader in(bytes);
  TextFont font;
  font.pointSize = in.Int();
  font.weight = in.Int();
  font.italic = in.Byte() != 0;
  font.underline = in.Byte() != 0;
  font.strikeOut = in.Byte() != 0;
  in.Byte();
  std::optional<std::string> face = in.Text(TextFont::kFaceBytes);
  if (!face) return false;
  font.face = std::move(*face);
  out = std::move(font);
  return true;
}

bool FromRecord(std::span<const std::uint8_t> bytes, PrintOptions& out) {
  if (bytes.size() != PrintOptions::kSize) return false;
  ByteReader in(bytes);
  PrintOptions options;
  options.style = in.Int();
  options.textSize = in.Int();
  options.boardSquareSize = in.Int();
  options.variationColour = in.Word() & 0xFFFFFF;
  for (bool PrintOptions::*option : kPrintSwitches) options.*option = in.Byte() != 0;
  out = options;
  return true;
}

bool FromRecord(std::span<const std::uint8_t> bytes, PgnExportFields& out) {
  if (bytes.size() != PgnExportFields::kSize) return false;
  ByteReader in(bytes);
  for (std::int32_t* field :
       {&out.includeVariations, &out.oneLine, &out.symbols, &out.preview, &out.format, &out.extensions})
    *field = in.Int();
  return true;
}

}  // namespace varnock
