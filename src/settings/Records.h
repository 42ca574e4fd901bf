// The binary records of the settings file: fixed-size byte blocks, stored as
// Base64 text, that hold dialog layouts, window places, fonts and option
// sets. Every typed record has a fixed little-endian byte layout of its own
// size; a stored block of any other size is not taken.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "settings/ProfileValues.h"

namespace varnock {

using RecordBytes = std::vector<std::uint8_t>;

// A record value and whether the file held one: records read as "NULL"
// (absent) keep their built-in value with `saved` false.
template <class T>
struct SavedRecord {
  T value{};
  bool saved = false;
};

// A dialog's or list window's layout: 72 bytes whose meaning belongs to the
// window that keeps it.
struct DialogLayout {
  static constexpr std::size_t kSize = 72;
  std::array<std::uint8_t, kSize> bytes{};
  bool operator==(const DialogLayout&) const = default;
};

struct RecordPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const RecordPoint&) const = default;
};

// A rectangle: left, top, right, bottom (16 bytes).
struct RecordRect {
  static constexpr std::size_t kSize = 16;
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  bool operator==(const RecordRect&) const = default;
};

// The main window's place (44 bytes): how it is shown, where it goes when
// minimised and maximised, and its normal rectangle.
struct WindowPlacement {
  static constexpr std::size_t kSize = 44;
  enum ShowState : std::int32_t { kNormal = 1, kMinimised = 2, kMaximised = 3 };
  std::int32_t length = kSize;
  std::int32_t flags = 0;
  std::int32_t showState = kNormal;
  RecordPoint minimisedPosition;
  RecordPoint maximisedPosition;
  RecordRect normalPosition;
  bool operator==(const WindowPlacement&) const = default;
};

// A text font (60 bytes): size in points, weight (400 normal, 700 bold),
// style switches and a face name of at most 31 characters.
struct TextFont {
  static constexpr std::size_t kSize = 60;
  static constexpr std::size_t kFaceBytes = 32;
  std::string face;
  std::int32_t pointSize = 12;
  std::int32_t weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  bool operator==(const TextFont&) const = default;
};

// The options of printed and RTF output (116 bytes). `style` is the printed
// page style; the sizes are in points.
struct PrintOptions {
  static constexpr std::size_t kSize = 116;
  std::int32_t style = 6;
  std::int32_t textSize = 10;
  std::int32_t boardSquareSize = 18;
  SettingColour variationColour = 0x8C0000;
  bool indentMainLine = true;
  bool boldMainLine = true;
  bool courierMainLine = false;
  bool shortMainLine = false;
  bool indentComments = true;
  bool allLines = true;
  bool justify = false;
  bool shortVariations = false;
  bool endDiagramMainLine = true;
  bool endDiagramAllLines = false;
  bool diagramEveryComment = false;
  bool diagramEveryBookmark = false;
  bool gameInformation = true;
  bool infoDate = true;
  bool infoEvent = true;
  bool infoPlayers = true;
  bool infoOpening = true;
  bool infoFileName = true;
  bool infoDescription = true;
  bool twoColumns = false;
  bool pageNumbers = true;
  bool printHeader = true;
  bool printFooter = true;
  bool temporaryFile = false;
  bool operator==(const PrintOptions&) const = default;
};

// The six 32-bit fields of the PGN export dialog (24 bytes).
struct PgnExportFields {
  static constexpr std::size_t kSize = 24;
  std::int32_t includeVariations = 0;
  std::int32_t oneLine = 0;
  std::int32_t symbols = 0;
  std::int32_t preview = 0;
  std::int32_t format = 0;
  std::int32_t extensions = 0;
  bool operator==(const PgnExportFields&) const = default;
};

RecordBytes ToRecord(const DialogLayout& layout);
RecordBytes ToRecord(const RecordRect& rect);
RecordBytes ToRecord(const WindowPlacement& placement);
RecordBytes ToRecord(const TextFont& font);
RecordBytes ToRecord(const PrintOptions& options);
RecordBytes ToRecord(const PgnExportFields& fields);

// Each takes a block of exactly the record's size; false (and `out`
// untouched) otherwise. A font record must also hold a face name ended
// within its 32 bytes.
bool FromRecord(std::span<const std::uint8_t> bytes, DialogLayout& out);
bool FromRecord(std::span<const std::uint8_t> bytes, RecordRect& out);
bool FromRecord(std::span<const std::uint8_t> bytes, WindowPlacement& out);
bool FromRecord(std::span<const std::uint8_t> bytes, TextFont& out);
bool FromRecord(std::span<const std::uint8_t> bytes, PrintOptions& out);
bool FromRecord(std::span<const std::uint8_t> bytes, PgnExportFields& out);

}  // namespace varnock
