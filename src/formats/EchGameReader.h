// The working state of reading one ECH game.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "formats/EchReader.h"
#include "tree/GameTree.h"

namespace varnock {

class EchGameReader {
 public:
  // `quietBefore`: reports about text before this position were made by an
  // earlier read of the same game and are not repeated.
  EchGameReader(SGridFrame& game, ReadMode mode, EchReadSource& source, std::size_t start, std::size_t quietBefore);

  // Reads the game; returns the position just after it.
  std::size_t Read();

  bool Marked() const { return marked_; }
  // A scan met "XS[]" after skipping moves: the game must be read again in
  // full. Read() stopped at that property.
  bool RereadInFull() const { return rereadInFull_; }
  // Where the scan began to skip: nothing after it was reported.
  std::size_t SkippedFrom() const { return skippedFrom_; }

 private:
  // What "(" saved: the node and line to return to at the matching ")", or
  // nothing when moves were not being read.
  struct Saved {
    bool reading = false;
    NodeRef node = kNoNode;  // kNoNode: the root
    SBranchDetails* line = nullptr;
  };

  // Lexical level (EchReader.cpp).
  void Open(std::size_t at);
  bool Close(std::size_t at);  // true when the ")" ends the game
  void MarkHeaderEnd(std::size_t at);
  void Finish();

  // Properties (EchPropertyReader.cpp).
  void Apply(std::string_view name, std::string_view body, std::size_t at);
  void ApplyMove(std::string_view name, std::string_view body, std::size_t at);
  void ApplyPosition(std::string_view body, std::size_t at);
  void ApplyNodeProperty(std::string_view name, std::string_view body);
  void ApplyMarkedGame();
  void StopScanning(std::size_t at);

  // The tree, made on first use; the current node (the root before the tree
  // exists).
  GameTree& Tree();
  NodeRef CurrentNode() const { return tree_ ? tree_->current : kNoNode; }
  void ReturnTo(const Saved& saved);

  void Report(std::string message, std::size_t at);
  void ReportMove(std::string_view name, std::string_view body, std::size_t at);

  SGridFrame& game_;
  ReadMode mode_;
  EchReadSource& source_;
  const std::string_view text_;
  const std::size_t start_;
  const std::size_t quietBefore_;
  GameTree* tree_ = nullptr;

  bool accepting_ = true;

  bool lineStart_ = false;  // the next move is the first of a variation
  bool skipping_ = false;   // scanning, and the moves have begun: nothing more is read
  bool marked_ = false;
  bool rereadInFull_ = false;
  std::size_t skippedFrom_ = 0;
  bool moveMet_ = false;      // a W or B property was met
  bool positionMet_ = false;  // an FN property was met
  bool nodeRead_ = false;     // a move or set-up position was entered
  bool flippedMet_ = false;
  bool closeMet_ = false;
  NodeRef remembered_ = kNoNode;  // the current node at the first ")": the end of the root's line
  bool viewedMet_ = false;
  NodeRef viewed_ = kNoNode;
  std::vector<Saved> saved_;
  std::array<std::string, kHeaderFieldCount> header_;
};

}  // namespace varnock
