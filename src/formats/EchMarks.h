// The marks of a node as ECH values: ratings and assessments ("XG"), result
// marks ("RS").
#pragma once

#include <cstdint>
#include <string_view>

namespace varnock {

// "!", "!!", "?", "??", "!?", "?!" for ratings 1..6; "" otherwise.
std::string_view RatingSymbol(std::uint8_t rating);
// "-/+", "=/+", "=", "+/=", "+/-" for assessments 1..5; "" otherwise.
std::string_view AssessmentSymbol(std::uint8_t assessment);

// What an XG value names: a rating or an assessment (the other stays 0), or
// nothing.
struct MarkSymbol {
  std::uint8_t rating = 0;
  std::uint8_t assessment = 0;
};
MarkSymbol ParseMarkSymbol(std::string_view value);

// "1-0", "0-1", "1/2-1/2" for result marks 1..3; "" otherwise.
std::string_view ResultSymbol(std::uint8_t result);
// The result mark of a value beginning "1-0", "0-1" or "1/2-1/2"; else 0.
std::uint8_t ParseResultSymbol(std::string_view value);

}  // namespace varnock
