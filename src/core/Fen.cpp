#include "core/Fen.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>

#include "core/Attack.h"
#include "core/Format.h"
#include "core/Placement.h"

namespace varnock {

void FENExtras::SetEnPassant(std::string_view text) {
  std::size_t n = std::min<std::size_t>(text.size(), 2);
  std::memset(enPassant, 0, sizeof enPassant);
  std::memcpy(enPassant, text.data(), n);
}

bool FENExtras::CastlingFlag(std::uint8_t colour, bool kingSide) const {
  if (colour == kWhite) return kingSide ? whiteKingSide != 0 : whiteQueenSide != 0;
  return kingSide ? blackKingSide != 0 : blackQueenSide != 0;
}

namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// The decimal number beginning at text[i], saturated so that a long run of
// digits cannot overflow.
long long NumberAt(std::string_view text, std::size_t i) {
  long long value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) value = std::min<long long>(value * 10 + (text[i] - '0'), INT_MAX);
  return value;
}

int ClampToInt(long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX)); }

void SkipSpaces(std::string_view text, std::size_t& i) {
  while (i < text.size() && text[i] == ' ') ++i;
}

// Leading optional sign and digits of a token, as a C library atoi would read
// them, but saturated.
std::int32_t TokenNumber(std::string_view token) {
  std::size_t i = 0;
  bool negative = false;
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) negative = token[i++] == '-';
  long long value = 0;
  for (; i < token.size() && IsDigit(token[i]); ++i)
    value = std::min<long long>(value * 10 + (token[i] - '0'), INT_MAX);
  return static_cast<std::int32_t>(negative ? -value : value);
}

std::string_view NextToken(std::string_view text, std::size_t& i) {
  SkipSpaces(text, i);
  std::size_t start = i;
  while (i < text.size() && text[i] != ' ') ++i;
  return text.substr(start, i - start);
}

int Fail(std::string& message, bool& rejected, std::string text, bool reject) {
  message = std::move(text);
  rejected = reject;
  return 0;
}

}  // namespace

int ParseFEN(std::string_view text, std::string& message, FENExtras& extras, bool& rejected) {
  rejected = false;
  message.clear();
  extras = FENExtras{};

  // 1. Row count over the placement run.
  std::size_t runEnd = 0;
  int rows = 1;
  while (runEnd < text.size() && (IsAsciiLetter(text[runEnd]) || IsDigit(text[runEnd]) || IsSeparator(text[runEnd]))) {
    if (IsSeparator(text[runEnd])) ++rows;
    ++runEnd;
  }
  if (rows != 8) return Fail(message, rejected, Format("Program has counted %d FEN lines.  Should be 8.", rows), true);

  // 2. Squares per row.
  long long count = 0;
  for (std::size_t i = 0; i < runEnd; ++i) {
    char c = text[i];
    if (IsSeparator(c)) {
      if (count != 8)
        return Fail(message, rejected,
                    Format("Program has counted %d inside a line.\r\nShould be 8.", ClampToInt(count)), true);
      count = 0;
    } else if (IsDigit(c)) {
      count = std::min<long long>(count + NumberAt(text, i), INT_MAX);
    } else if (std::strchr("KQRBNPkqrbnp", c)) {
      ++count;
    } else {
      return Fail(message, rejected, Format("FEN string contains invalid character '%c'", c), true);
    }
  }
  if (count != 8)
    return Fail(message, rejected, Format("Program has counted %d inside a line.\r\nShould be 8.", ClampToInt(count)),
                true);

  // 3. Side to move.
  std::size_t i = runEnd;
  SkipSpaces(text, i);
  // A warning about the form of a field does not end the reading: the board
  // is still filled and checked, so that a position the check refuses is
  // refused whatever came before it. The first warning is the one reported.
  std::string warning;
  auto warn = [&](std::string text) {
    if (warning.empty()) warning = std::move(text);
  };
  auto skipField = [&] {
    while (i < text.size() && text[i] != ' ') ++i;
  };
  bool sideSeen = false;
  for (; i < text.size() && text[i] != ' '; ++i) {
    char c = text[i];
    if (c == 'b' || c == 'w') {
      if (sideSeen) {
        warn("Invalid whose go parameter");
        skipField();
        break;
      }
      sideSeen = true;
      extras.sideToMove = c == 'b' ? kBlack : kWhite;
    } else {
      return Fail(message, rejected, Format("Invalid whose go parameter '%c'", c), true);
    }
  }

  // 4. The working board.
  BoardFromPlacement(text, extras.board);

  // 5. Castling.
  SkipSpaces(text, i);
  int seen[4] = {0, 0, 0, 0};  // K, Q, k, q
  for (; i < text.size() && text[i] != ' '; ++i) {
    switch (text[i]) {
      case 'K':
        extras.whiteKingSide = 1;
        ++seen[0];
        break;
      case 'Q':
        extras.whiteQueenSide = 1;
        ++seen[1];
        break;
      case 'k':
        extras.blackKingSide = 1;
        ++seen[2];
        break;
      case 'q':
        extras.blackQueenSide = 1;
        ++seen[3];
        break;
      case '-':
        break;
      default:
        warn(Format("Invalid castling parameter '%c'", text[i]));
        skipField();
        break;
    }
    if (i >= text.size() || text[i] == ' ') break;
  }
  if (std::any_of(std::begin(seen), std::end(seen), [](int n) { return n > 1; })) warn("Invalid FEN castling string");

  // 6. En passant.
  SkipSpaces(text, i);
  std::size_t epStart = i;
  while (i < text.size() && text[i] != ' ' && i - epStart < 2) ++i;
  extras.SetEnPassant(text.substr(epStart, i - epStart));
  if (i < text.size() && text[i] != ' ') {
    warn("The FEN en-passant string has too many characters");
    skipField();
  }

  // 7. Counters.
  std::string_view half = NextToken(text, i);
  if (!half.empty()) extras.halfMoveClock = TokenNumber(half);
  std::string_view full = NextToken(text, i);
  if (!full.empty()) extras.fullMoveNumber = TokenNumber(full);

  // 8. The position itself; a refusal outranks an earlier warning.
  const int valid = ValidatePosition(extras.board, extras, message, rejected);
  if (rejected || warning.empty()) return valid;
  return Fail(message, rejected, warning, false);
}

FenCheck ParseFEN(std::string_view text, FENExtras& extras) {
  FenCheck check;
  check.ok = ParseFEN(text, check.message, extras, check.rejected) == 1;
  return check;
}

int ValidatePosition(const BoardSquares& board, const FENExtras& extras, std::string& message, bool& rejected) {
  rejected = false;
  message.clear();
  // The first warning is the one reported, but a warning never hides a
  // position that must be refused (kings that touch, the side not to move in
  // check): those two tests run whatever was found before them.
  std::string warning;
  auto warn = [&](std::string text) {
    if (warning.empty()) warning = std::move(text);
  };
  for (int file = 0; file < 8; ++file) {
    if (board[static_cast<std::size_t>(SquareAt(file, 0))] & kPawn) warn("A pawn cannot be placed on the top rank");
  }
  for (int file = 0; file < 8; ++file) {
    if (board[static_cast<std::size_t>(SquareAt(file, 7))] & kPawn) warn("A pawn cannot be placed on the bottom rank");
  }

  struct Counts {
    int pawns = 0, knights = 0, bishops = 0, rooks = 0, queens = 0;
    int Surplus() const {
      return std::max(0, queens - 1) + std::max(0, rooks - 2) + std::max(0, bishops - 2) + std::max(0, knights - 2);
    }
  } white, black;
  for (std::uint8_t code : board) {
    Counts* side = (code & kWhite) ? &white : (code & kBlack) ? &black : nullptr;
    if (!side) continue;
    if (code & kPawn) ++side->pawns;
    if (code & kKnight) ++side->knights;
    if (code & kBishop) ++side->bishops;
    if (code & kRook) ++side->rooks;
    if (code & kQueen) ++side->queens;
  }
  if (black.pawns > 8 || white.pawns > 8)
    warn(Format("There are an irregular number of pawns.\r\n\r\nWhite pawns = %d\r\nBlack pawns = %d", white.pawns,
                black.pawns));
  if (black.pawns + black.Surplus() > 8)
    warn(Format("Too many promotions ( %d ) for black.\r\nNumber of pawns = %d", black.Surplus(), black.pawns));
  if (white.pawns + white.Surplus() > 8)
    warn(Format("Too many promotions ( %d ) for white.\r\nNumber of pawns = %d", white.Surplus(), white.pawns));

  KingSearch whiteKing = FindKing(board, kWhite);
  KingSearch blackKing = FindKing(board, kBlack);
  if (whiteKing.count != 1 || blackKing.count != 1)
    warn(
        Format("There are an irregular number of kings.  Varnock might not be able to resolve checks or "
               "identify invalid king moves.\r\n\r\nWhite kings = %d\r\nBlack kings = %d",
               whiteKing.count, blackKing.count));
  const bool oneKingEach = whiteKing.count == 1 && blackKing.count == 1;
  if (oneKingEach && std::abs(FileOf(whiteKing.square) - FileOf(blackKing.square)) <= 1 &&
      std::abs(RowOf(whiteKing.square) - RowOf(blackKing.square)) <= 1)
    return Fail(message, rejected, "Kings may not touch.", true);

  auto at = [&](int square) { return board[static_cast<std::size_t>(square)]; };
  if (extras.blackQueenSide && !(at(kA8) == (kRook | kBlack) && at(kE8) == (kKing | kBlack)))
    warn("Invalid castling.  Black may not castle queen side.");
  if (extras.blackKingSide && !(at(kH8) == (kRook | kBlack) && at(kE8) == (kKing | kBlack)))
    warn("Invalid castling.  Black may not castle king side.");
  if (extras.whiteQueenSide && !(at(kA1) == (kRook | kWhite) && at(kE1) == (kKing | kWhite)))
    warn("Invalid castling.  White may not castle queen side.");
  if (extras.whiteKingSide && !(at(kH1) == (kRook | kWhite) && at(kE1) == (kKing | kWhite)))
    warn("Invalid castling.  White may not castle king side.");

  if (!oneKingEach) {
    // No single king to test.
  } else if (extras.sideToMove == kBlack) {
    if (IsSquareAttacked(board, kWhite, whiteKing.square).attacked)
      return Fail(message, rejected, "It is Black to play.  The White king is in check.", true);
  } else {
    if (IsSquareAttacked(board, kBlack, blackKing.square).attacked)
      return Fail(message, rejected, "It is White to play.  The Black king is in check.", true);
  }

  if (extras.HasEnPassant()) {
    const char* ep = extras.enPassant;
    bool fits = false;
    if (ep[0] >= 'a' && ep[0] <= 'h' && (ep[1] == '3' || ep[1] == '6') && ep[2] == 0) {
      int file = ep[0] - 'a';
      if (ep[1] == '3') {
        fits = extras.sideToMove == kBlack && at(SquareAt(file, 6)) == 0 && at(SquareAt(file, 5)) == 0 &&
               at(SquareAt(file, 4)) == (kPawn | kWhite);
      } else {
        fits = extras.sideToMove == kWhite && at(SquareAt(file, 1)) == 0 && at(SquareAt(file, 2)) == 0 &&
               at(SquareAt(file, 3)) == (kPawn | kBlack);
      }
    }
    if (!fits)
      warn(Format("Invalid en-passant string '%s'.\r\n\r\nIt is %s to play.", extras.EnPassantText().c_str(),
                  extras.sideToMove == kBlack ? "black" : "white"));
    if (extras.halfMoveClock != 0)
      warn(Format("EnPassant and half move values cannot both be set (  '%s', %d )", extras.EnPassantText().c_str(),
                  extras.halfMoveClock));
  }

  long long limit = 2LL * extras.fullMoveNumber - (extras.sideToMove == kWhite ? 1 : 0);
  if (extras.halfMoveClock != 0 && extras.halfMoveClock > limit)
    warn(Format("The number of half moves is excessive.\r\n\r\nHalf moves = %d\r\nFull moves = %d",
                extras.halfMoveClock, extras.fullMoveNumber));
  if (!warning.empty()) return Fail(message, rejected, warning, false);
  return 1;
}

std::string FormatFEN(const BoardSquares& board, const FENExtras& extras) {
  std::string fen = PlacementFromBoard(board);
  fen += extras.sideToMove == kBlack ? " b " : " w ";
  std::string castling;
  if (extras.whiteKingSide) castling += 'K';
  if (extras.whiteQueenSide) castling += 'Q';
  if (extras.blackKingSide) castling += 'k';
  if (extras.blackQueenSide) castling += 'q';
  fen += castling.empty() ? "-" : castling;
  fen += ' ';
  std::string ep = extras.EnPassantText();
  fen += ep.empty() ? "-" : ep;
  fen += Format(" %d %d", extras.halfMoveClock, extras.fullMoveNumber);
  return fen;
}

}  // namespace varnock
