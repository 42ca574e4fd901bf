#include "formats/EchReports.h"

namespace varnock {

namespace {

std::string Where(int gameNumber, bool ech, int line) {
  std::string text = "Error in game number " + std::to_string(gameNumber);
  text += ech ? " of the ECH collection" : " of the collection";
  text += ", on line number " + std::to_string(line) + ".\r\n";
  return text;
}

std::string FenText(int gameNumber, int line, std::string_view message, std::string_view extract) {
  std::string text = Where(gameNumber, false, line);
  text += "The FEN string is invalid.\r\n( ";
  text += message;
  text += " ).\r\n\r\nThe error occurred within the following extract from the file.\r\n\r\n";
  text += extract;
  return text;
}

}  // namespace

std::string EchMoveErrorText(int gameNumber, int line, std::string_view move) {
  std::string text = Where(gameNumber, true, line);
  text += "The following move caused the error.\r\n\r\n";
  text += move;
  text += "\r\n\r\nThe game branch was truncated at this point.";
  return text;
}

std::string EchFenErrorText(int gameNumber, int line, std::string_view message, std::string_view extract) {
  return FenText(gameNumber, line, message, extract) + "\r\n\r\nThe game branch was truncated at this point.";
}

std::string EchFenWarningText(int gameNumber, int line, std::string_view message, std::string_view extract) {
  return "Warning.\r\n" + FenText(gameNumber, line, message, extract);
}

}  // namespace varnock
