#include "core/Notation.h"

#include <iterator>

#include "core/Format.h"
#include "core/Legality.h"

namespace varnock {

namespace {

constexpr char kPgnLetters[] = "KQRBNP";

std::uint8_t At(const BoardSquares& board, int square) { return board[static_cast<std::size_t>(square)]; }
bool IsSquare(int square) { return square >= 0 && square < 64; }

void AppendSquare(std::string& text, int square) {
  text += static_cast<char>('a' + FileOf(square));
  text += static_cast<char>('0' + RankOf(square));
}

// The letter of the piece a pawn promoted to, or 0 when the code is no
// queen, rook, bishop or knight.
char PromotionLetter(std::string_view initials, std::uint8_t promotedTo) {
  const int index = PieceInitialIndex(promotedTo & kTypeMask);
  if (index < 1 || index > 4) return 0;
  return PieceInitial(initials, promotedTo & kTypeMask);
}

// The move number in front of a White move, or nothing for a Black move or
// no ply.
void AppendMoveNumber(std::string& text, const MoveFacts& move, int ply, int mode, bool shortNotation,
                      const NotationOptions& options) {
  if (ply <= 0 || ply % 2 == 0) return;
  const int number = (ply + 1) / 2;
  if (move.root || move.composed) {
    if (mode != kRtf) text += "      ";
  } else if (mode == kRtf && !options.alignedNumbers) {
    text += Format("%d.\\tab ", number);
  } else {
    text += Format(number > 999 ? "%4d. " : "%3d.  ", number);
  }
  if (mode != kRtf && shortNotation) text += "  ";
}

// A promotion is always a pawn move, whatever piece the node records.
bool IsPawnMove(const MoveFacts& move) { return (move.piece & kPawn) || move.kind == kPromotion; }

bool LandsOnQueenSide(int to) { return to == kC1 || to == kC8; }
bool LandsOnKingSide(int to) { return to == kG1 || to == kG8; }

void AppendMoveBody(std::string& text, const MoveFacts& move, int mode, bool shortNotation,
                    const NotationOptions& options) {
  const bool columns = mode == kColumns || mode == kColumnsPlain;
  if (move.kind == kCastling && move.from != move.to && LandsOnQueenSide(move.to)) {
    text += "O-O-O ";
  } else if (move.kind == kCastling && move.from != move.to && LandsOnKingSide(move.to)) {
    text += (!shortNotation && mode != kRtf) ? "  O-O " : "O-O";
  } else if (move.composed) {
    if (mode == kSingleLine) {
      text += " ( composed )";
    } else if (mode == kRtf) {
      text += "( compose )";
    } else if (columns) {
      text += shortNotation ? "--c" : "   --c ";
    }
  } else if (move.root) {
    // The root of a game holds no move.
  } else if (move.from == move.to) {
    if (mode == kSingleLine) {
      text += " ( pass )";
    } else if (mode == kRtf) {
      text += "--";
    } else if (columns) {
      text += shortNotation ? "--n" : "   --n ";
    }
  } else if (shortNotation && IsPawnMove(move)) {
    if (FileOf(move.from) != FileOf(move.to)) {
      text += static_cast<char>('a' + FileOf(move.from));
      text += 'x';
    }
    AppendSquare(text, move.to);
  } else {
    if (!IsPawnMove(move)) {
      text += PieceInitial(options.initials, move.piece);
    } else if (mode != kRtf || options.alignedPawnMoves) {
      text += ' ';
    }
    if (shortNotation) {
      text += Disambiguation(move.before, move.from, move.to);
      if (move.capture) text += 'x';
    } else {
      AppendSquare(text, move.from);
      text += move.capture ? ':' : '-';
    }
    AppendSquare(text, move.to);
  }
}

const char* RatingSuffix(std::uint8_t rating) {
  static constexpr const char* kSuffixes[] = {"", " !", " !!", " ?", " ??", " !?", " ?!"};
  return rating < std::size(kSuffixes) ? kSuffixes[rating] : "";
}

const char* AssessmentSuffix(std::uint8_t assessment) {
  static constexpr const char* kSuffixes[] = {"", " -/+", " =/+", " =", " +/=", " +/-"};
  return assessment < std::size(kSuffixes) ? kSuffixes[assessment] : "";
}

}  // namespace

std::string Disambiguation(const BoardSquares& before, int from, int to) {
  if (!IsSquare(from) || !IsSquare(to)) return {};
  const std::uint8_t code = At(before, from);
  if (code == 0) return {};
  int found[64];
  int count = 0;
  const int file = FileOf(to), row = RowOf(to);

  if (code & kKnight) {
    static constexpr int kSteps[8][2] = {{-1, -2}, {1, -2}, {-2, -1}, {2, -1}, {-2, 1}, {2, 1}, {-1, 2}, {1, 2}};
    for (const auto& step : kSteps) {
      const int f = file + step[0], r = row + step[1];
      if (OnBoard(f, r) && At(before, SquareAt(f, r)) == code) found[count++] = SquareAt(f, r);
    }
  }
  const bool diagonal = (code & kDiagonalSlider) != 0, straight = (code & kStraightSlider) != 0;
  if (diagonal || straight) {
    for (int df = -1; df <= 1; ++df) {
      for (int dr = -1; dr <= 1; ++dr) {
        if (df == 0 && dr == 0) continue;
        if ((df != 0 && dr != 0) ? !diagonal : !straight) continue;
        for (int f = file + df, r = row + dr; OnBoard(f, r); f += df, r += dr) {
          const std::uint8_t there = At(before, SquareAt(f, r));
          if (there == 0) continue;
          if (there == code) found[count++] = SquareAt(f, r);
          break;
        }
      }
    }
  }

  std::string text;
  if (count == 2) {
    if (FileOf(found[0]) == FileOf(found[1])) {
      text += static_cast<char>('0' + RankOf(from));
    } else {
      text += static_cast<char>('a' + FileOf(from));
    }
  } else if (count >= 3) {
    AppendSquare(text, from);
  }
  return text;
}

std::string MoveText(const MoveFacts& move, int ply, int mode, bool shortNotation, const NotationOptions& options) {
  std::string text;
  AppendMoveNumber(text, move, ply, mode, shortNotation, options);
  AppendMoveBody(text, move, mode, shortNotation, options);
  if (move.kind == kPromotion) {
    if (char letter = PromotionLetter(options.initials, move.promotedTo)) {
      text += '=';
      text += letter;
    }
  }
  if (move.check) text += '+';
  if (mode != kColumnsPlain) {
    text += RatingSuffix(move.rating);
    text += AssessmentSuffix(move.assessment);
  }
  return text;
}

std::string PGNMoveText(const MoveFacts& move, bool longAlgebraic) {
  if (move.irregular || move.composed) return "--";
  if (move.root || !IsSquare(move.from) || !IsSquare(move.to)) return {};
  std::string text;
  if (move.kind == kCastling && move.from != move.to && LandsOnQueenSide(move.to)) {
    text = "O-O-O";
  } else if (move.kind == kCastling && move.from != move.to && LandsOnKingSide(move.to)) {
    text = "O-O";
  } else if (IsPawnMove(move)) {
    if (FileOf(move.from) != FileOf(move.to)) {
      if (longAlgebraic) {
        AppendSquare(text, move.from);
      } else {
        text += static_cast<char>('a' + FileOf(move.from));
      }
      text += 'x';
    } else if (longAlgebraic) {
      AppendSquare(text, move.from);
      text += '-';
    }
    AppendSquare(text, move.to);
  } else {
    text += kPgnLetters[PieceInitialIndex(move.piece)];
    if (longAlgebraic) {
      AppendSquare(text, move.from);
    } else {
      text += Disambiguation(move.before, move.from, move.to);
    }
    if (At(move.before, move.to) != 0) {
      text += 'x';
    } else if (longAlgebraic) {
      text += '-';
    }
    AppendSquare(text, move.to);
  }
  if (move.kind == kPromotion) {
    if (char letter = PromotionLetter(kDefaultPieceInitials, move.promotedTo)) {
      text += '=';
      text += letter;
    }
  }
  if (move.check) text += '+';
  return text;
}

std::string EngineMoveText(std::uint16_t engineMove, BoardSquares& scratch, const std::string& initials) {
  const int from = engineMove & 63;
  const int to = (engineMove >> 6) & 63;
  const bool check = (engineMove & 0x1000) != 0;
  const std::uint8_t code = At(scratch, from);
  const bool pawn = (code & kPawn) != 0;
  const int fileStep = FileOf(to) - FileOf(from);
  const bool kingTwoFiles = (code & kKing) && RowOf(from) == RowOf(to) && (fileStep == 2 || fileStep == -2);
  const bool pawnChangesFile = pawn && fileStep != 0;
  const bool enPassant = pawnChangesFile && At(scratch, to) == 0;

  std::string text;
  if (kingTwoFiles) {
    text = fileStep > 0 ? "O-O" : "O-O-O";
  } else {
    if (code != 0 && !pawn) text += PieceInitial(initials, code & kTypeMask);
    AppendSquare(text, from);
    text += (At(scratch, to) != 0 || pawnChangesFile) ? ':' : '-';
    AppendSquare(text, to);
  }
  if (check) text += '+';
  if (enPassant) text += " ep";

  // An empty origin or a move that goes nowhere leaves the board alone.
  if (code == 0 || from == to) return text;
  if (enPassant) scratch[static_cast<std::size_t>(SquareAt(FileOf(to), RowOf(from)))] = 0;
  if (kingTwoFiles) MoveCastlingRook(scratch, from, to);
  scratch[static_cast<std::size_t>(to)] = code;
  scratch[static_cast<std::size_t>(from)] = 0;
  return text;
}

}  // namespace varnock
