// The options of PGN output: the export dialog's six fields, kept in the
// settings file as one 24-byte record, and the fixed set a save uses.
#pragma once

#include <cstdint>

namespace varnock {

// Move notation and layout of the movetext.
enum PgnFormat : std::int32_t {
  kPgnShort = 0,          // short algebraic
  kPgnShortColumned = 1,  // short, main line moves in columns
  kPgnLong = 2,           // long algebraic
  kPgnLongColumned = 3,   // long, main line moves in columns
};

struct PgnExportOptions {
  std::int32_t includeVariations = 0;
  std::int32_t oneLine = 0;  // no line breaks in the movetext
  std::int32_t symbols = 0;  // "!?" and "+/=" in place of NAGs
  std::int32_t preview = 0;  // clipboard export: show in the file viewer instead
  std::int32_t format = kPgnShort;
  std::int32_t extensions = 0;  // the "%" escape lines

  // The format; a stored value outside 0..3 counts as short algebraic.
  constexpr PgnFormat Format() const {
    return format >= kPgnShort && format <= kPgnLongColumned ? static_cast<PgnFormat>(format) : kPgnShort;
  }
  constexpr bool LongAlgebraic() const { return Format() == kPgnLong || Format() == kPgnLongColumned; }
  constexpr bool Columned() const { return Format() == kPgnShortColumned || Format() == kPgnLongColumned; }
};
static_assert(sizeof(PgnExportOptions) == 24, "the settings record is six 32-bit fields");

// The options every save writes with: variations, line breaks, NAGs, no
// preview; long algebraic only when asked for; the escape lines per setting.
constexpr PgnExportOptions SaveExportOptions(bool longAlgebraic, bool extensions) {
  PgnExportOptions options;
  options.includeVariations = 1;
  options.format = longAlgebraic ? kPgnLong : kPgnShort;
  options.extensions = extensions ? 1 : 0;
  return options;
}

}  // namespace varnock
