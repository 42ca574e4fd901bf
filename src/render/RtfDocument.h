// A game as an RTF document: title, game information, the laid-out score
// with diagrams in the chess font, and a closing line.
#pragma once

#include <string>
#include <vector>

#include "formats/GameHeader.h"
#include "render/RtfOptions.h"
#include "render/ScoreParagraph.h"
#include "tree/GameTree.h"

namespace varnock {

// The game and what the document says about its collection.
struct RtfGameSource {
  const GameTree* tree = nullptr;
  const GameHeader* header = nullptr;
  std::string filePath;  // the collection's file; empty when it has none
  int place = 1;         // the game's place in the collection, 1-based
  int count = 1;         // games in the collection
  int fontIndex = 3;     // "Chess Font Type"
  bool reversed = false;
  std::string initials = "KQRBNP";
};

// Page size and margins, twips.
inline constexpr int kRtfPaperWidth = 11904;
inline constexpr int kRtfPaperHeight = 16836;
inline constexpr int kRtfMargin = 1152;

// The web page the closing line links to.
inline constexpr const char* kProductWebPage = "https://varnock.org/";

// The whole document for paragraphs laid out in RTF mode.
std::string RtfDocument(const RtfGameSource& source, const RtfOptions& options,
                        const std::vector<ScoreParagraph>& paragraphs);

}  // namespace varnock
