#include "formats/EchMarks.h"

namespace varnock {

namespace {

constexpr std::string_view kRatings[] = {"!", "!!", "?", "??", "!?", "?!"};
constexpr std::string_view kAssessments[] = {"-/+", "=/+", "=", "+/=", "+/-"};
constexpr std::string_view kResults[] = {"1-0", "0-1", "1/2-1/2"};

struct SymbolCode {
  std::string_view symbol;
  MarkSymbol mark;
};

constexpr SymbolCode kSymbols[] = {
    {"!", {1, 0}},  {"!!", {2, 0}}, {"?", {3, 0}},   {"??", {4, 0}}, {"!?", {5, 0}},
    {"?!", {6, 0}}, {"-+", {0, 1}}, {"-/+", {0, 1}}, {"=+", {0, 2}}, {"=/+", {0, 2}},
    {"=", {0, 3}},  {"+=", {0, 4}}, {"+/=", {0, 4}}, {"+-", {0, 5}}, {"+/-", {0, 5}},
};

}  // namespace

std::string_view RatingSymbol(std::uint8_t rating) {
  return rating >= 1 && rating <= 6 ? kRatings[rating - 1] : std::string_view{};
}

std::string_view AssessmentSymbol(std::uint8_t assessment) {
  return assessment >= 1 && assessment <= 5 ? kAssessments[assessment - 1] : std::string_view{};
}

MarkSymbol ParseMarkSymbol(std::string_view value) {
  for (const SymbolCode& entry : kSymbols)
    if (entry.symbol == value) return entry.mark;
  return {};
}

std::string_view ResultSymbol(std::uint8_t result) {
  return result >= 1 && result <= 3 ? kResults[result - 1] : std::string_view{};
}

std::uint8_t ParseResultSymbol(std::string_view value) {
  for (std::uint8_t code = 1; code <= 3; ++code)
    if (value.starts_with(kResults[code - 1])) return code;
  return 0;
}

}  // namespace varnock
