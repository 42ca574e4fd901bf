// The game score as paragraphs: main-line moves, variations, comments,
// results and diagram places, for the game-text window (mode 0), the RTF
// export (mode 1) and the preview window (mode 2).
#pragma once

#include <string>
#include <vector>

#include "core/PieceInitials.h"
#include "core/UserPrompt.h"
#include "render/RtfOptions.h"
#include "render/ScoreParagraph.h"
#include "tree/GameTree.h"

namespace varnock {

enum ScoreLayoutMode : int { kGameTextLayout = 0, kRtfLayout = 1, kPreviewLayout = 2 };

struct ScoreLayoutOptions {
  std::string initials{kDefaultPieceInitials};
  bool shortNotation = false;  // game-text window and preview ("ShortNotation")
  RtfOptions rtf;              // the RTF export's options
};

// Comment texts longer than this many lines are cut in RTF output.
inline constexpr int kMaxCommentLines = 255;
// Comments in the game-text window are cut to this many characters.
inline constexpr std::size_t kMaxWindowComment = 250;

class ScoreLayout {
 public:
  // `prompt` hears of a paragraph that could not be had (it is left out).
  ScoreLayout(int mode, ScoreLayoutOptions options, UserPrompt* prompt = nullptr)
      : mode_(mode), options_(std::move(options)), prompt_(prompt) {}

  // Lays out the game: the main line (mode 2: the line of the current
  // move), with its variations when `allLines` is set (mode 1).
  const std::vector<ScoreParagraph>& Layout(GameTree& game, bool allLines);

  int Mode() const { return mode_; }
  const std::vector<ScoreParagraph>& Paragraphs() const { return paragraphs_; }
  int ParagraphCount() const { return static_cast<int>(paragraphs_.size()); }

 private:
  int mode_;
  ScoreLayoutOptions options_;
  UserPrompt* prompt_;
  std::vector<ScoreParagraph> paragraphs_;
  std::vector<NodeRef> nodes_;  // the working line of the preview
};

// The lines of a comment text (CR LF, LF or CR end a line).
std::vector<std::string> CommentLines(const std::string& text);

// A variation's text made tidy: tabs become blanks, runs of blanks become
// one, a blank follows "[" and "]" and precedes a move number that follows
// "]", and trailing blanks are cut.
std::string TidyVariation(const std::string& text);

}  // namespace varnock
