// The packed move node of a game tree.
//
// A node is 12 bytes: the move word, two flag bytes, and 32-bit references to
// its continuation and its parent. Nodes that carry a board snapshot are
// followed by the 64-byte board after the move (76 bytes in all).
#pragma once

#include <cstdint>

#include "core/Board.h"
#include "core/Legality.h"

namespace varnock {

// A reference to a node slot in the node pools; 0 is no node.
using NodeRef = std::uint32_t;
constexpr NodeRef kNoNode = 0;

// Moving piece as stored in the move word.
enum StoredPiece : std::uint8_t {
  kStoredPawn = 0,
  kStoredQueen = 1,
  kStoredRook = 2,
  kStoredKnight = 3,
  kStoredBishop = 4,
  kStoredKing = 5,
};

StoredPiece StoredPieceOf(std::uint8_t code);  // from a piece code's type bit
std::uint8_t PieceTypeOf(StoredPiece piece);   // back to the type bit

// flags
constexpr std::uint8_t kFlagBlackToMove = 1 << 0;  // the move was made by White
constexpr std::uint8_t kFlagSnapshot = 1 << 1;
constexpr std::uint8_t kFlagCommentBefore = 1 << 2;
constexpr std::uint8_t kFlagCommentAfter = 1 << 3;
constexpr std::uint8_t kFlagBranch = 1 << 4;
constexpr std::uint8_t kFlagComposed = 1 << 5;
constexpr std::uint8_t kFlagDiagram = 1 << 6;
constexpr std::uint8_t kFlagKindLow = 1 << 7;
// flags 2
constexpr std::uint8_t kFlag2KindHigh = 1 << 0;
constexpr std::uint8_t kFlag2Rating = 1 << 1;
constexpr std::uint8_t kFlag2Assessment = 1 << 2;
constexpr std::uint8_t kFlag2Result = 1 << 3;
constexpr std::uint8_t kFlag2Capture = 1 << 4;
constexpr std::uint8_t kFlag2Check = 1 << 5;
constexpr std::uint8_t kFlag2Irregular = 1 << 6;
constexpr std::uint8_t kFlag2Stored = 1 << 7;

struct MoveNode {
  std::uint16_t move = 0;  // bits 0-5 from, 6-11 to, 12 in use, 13-15 moving piece
  std::uint8_t flags = 0;
  std::uint8_t flags2 = 0;
  NodeRef next = kNoNode;    // continuation on the line
  NodeRef parent = kNoNode;  // previous node; none for the root

  int From() const { return move & 0x3F; }
  int To() const { return (move >> 6) & 0x3F; }
  bool InUse() const { return (move >> 12) & 1; }
  StoredPiece Piece() const { return static_cast<StoredPiece>((move >> 13) & 7); }
  void SetMove(int from, int to, StoredPiece piece) {
    move = static_cast<std::uint16_t>((from & 0x3F) | ((to & 0x3F) << 6) | (1 << 12) | ((piece & 7) << 13));
  }
  // The setters compute rather than branch: what they are given while a file
  // is read (a check, a capture) follows no pattern.
  void SetInUse(bool inUse) { move = static_cast<std::uint16_t>((move & ~(1 << 12)) | (inUse << 12)); }

  MoveKind Kind() const {
    return static_cast<MoveKind>(((flags & kFlagKindLow) ? 1 : 0) | ((flags2 & kFlag2KindHigh) ? 2 : 0));
  }
  void SetKind(MoveKind kind) {
    Set(kFlagKindLow, kind & 1);
    Set2(kFlag2KindHigh, kind & 2);
  }

  bool Has(std::uint8_t flag) const { return flags & flag; }
  bool Has2(std::uint8_t flag) const { return flags2 & flag; }
  void Set(std::uint8_t flag, bool on) { flags = static_cast<std::uint8_t>((flags & ~flag) | (flag * on)); }
  void Set2(std::uint8_t flag, bool on) { flags2 = static_cast<std::uint8_t>((flags2 & ~flag) | (flag * on)); }

  // The colour that made the move (the side not to move after it).
  std::uint8_t Mover() const { return Has(kFlagBlackToMove) ? kWhite : kBlack; }
  std::uint8_t SideToMove() const { return Has(kFlagBlackToMove) ? kBlack : kWhite; }
};
static_assert(sizeof(MoveNode) == 12, "a move node is 12 bytes on every build");

struct SnapshotNode {
  MoveNode node;
  BoardSquares board;
};
static_assert(sizeof(SnapshotNode) == 76, "a node with its board snapshot is 76 bytes");

}  // namespace varnock
