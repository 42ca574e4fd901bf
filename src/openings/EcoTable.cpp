#include "openings/EcoTable.h"

#include "core/Legality.h"
#include "core/Placement.h"
#include "openings/MoveTextHash.h"

namespace varnock {

namespace {

// A square written as a file letter and a rank digit, or -1.
int SquareOf(char file, char rank) {
  if (file < 'a' || file > 'h' || rank < '1' || rank > '8') return -1;
  return SquareAt(file - 'a', 8 - (rank - '0'));
}

std::size_t FindFrom(std::string_view text, char c, std::size_t from) {
  const std::size_t at = text.find(c, from);
  return at == std::string_view::npos ? text.size() : at;
}

}  // namespace

bool ReplayEcoMoves(std::string_view moves, PositionBytes& position) {
  if (moves.empty() || moves.size() % 4 != 0) return false;
  BoardSquares board = StartBoard;
  KingSquares kings;
  std::uint8_t side = kWhite;
  for (std::size_t i = 0; i < moves.size(); i += 4) {
    const int from = SquareOf(moves[i], moves[i + 1]);
    const int to = SquareOf(moves[i + 2], moves[i + 3]);
    if (from < 0 || to < 0) return false;
    ApplyMove(board, kings, from, to, 0);
    side = Opponent(side);
  }
  position = PositionBytesOf(board, side);
  return true;
}

EcoTable::EcoTable(std::string text) : text_(std::move(text)) {
  const std::string_view all(text_);
  std::vector<std::uint32_t> moveKeys, positionKeys;
  for (std::size_t start = 0; start < all.size();) {
    const std::size_t lineEnd = FindFrom(all, '\n', start);
    std::string_view line = all.substr(start, lineEnd - start);
    const std::size_t offset = start;
    start = lineEnd + 1;
    while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;

    // CODE, TABs, MOVES, TABs, NAME (up to a TAB, if any).
    const std::size_t codeEnd = FindFrom(line, '\t', 0);
    std::size_t movesStart = codeEnd;
    while (movesStart < line.size() && line[movesStart] == '\t') ++movesStart;
    const std::size_t movesEnd = FindFrom(line, '\t', movesStart);
    std::size_t nameStart = movesEnd;
    while (nameStart < line.size() && line[nameStart] == '\t') ++nameStart;
    const std::size_t nameEnd = FindFrom(line, '\t', nameStart);

    EcoLine record;
    record.offset = static_cast<std::uint32_t>(offset);
    record.code = line.substr(0, codeEnd);
    record.moves = line.substr(movesStart, movesEnd - movesStart);
    record.name = line.substr(nameStart, nameEnd - nameStart);
    if (record.code.empty() || record.name.empty() || !ReplayEcoMoves(record.moves, record.finalPosition)) {
      ++skipped_;
      continue;
    }
    moveKeys.push_back(MoveTextHash(record.moves));
    positionKeys.push_back(PositionKey(record.finalPosition));
    lines_.push_back(record);
  }
  byMoves_.Build(moveKeys);
  byPosition_.Build(positionKeys);
}

const EcoLine* EcoTable::FirstByMoveKey(std::uint32_t key) const {
  const auto line = byMoves_.First(key);
  return line ? &lines_[*line] : nullptr;
}

const EcoLine* EcoTable::FirstByPositionKey(std::uint32_t key) const {
  const auto line = byPosition_.First(key);
  return line ? &lines_[*line] : nullptr;
}

const EcoLine* EcoTable::FindMoves(std::string_view moves, std::uint32_t key) const {
  for (const EcoIndex::Entry& entry : byMoves_.EqualRange(key))
    if (lines_[entry.line].moves == moves) return &lines_[entry.line];
  return nullptr;
}

const EcoLine* EcoTable::FindPosition(const PositionBytes& position, std::uint32_t key) const {
  for (const EcoIndex::Entry& entry : byPosition_.EqualRange(key))
    if (lines_[entry.line].finalPosition == position) return &lines_[entry.line];
  return nullptr;
}

}  // namespace varnock
