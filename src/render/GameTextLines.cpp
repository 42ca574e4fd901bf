#include "render/GameTextLines.h"

#include "tree/Bookmarks.h"

namespace varnock {

std::vector<ScoreParagraph> GameTextLines(GameTree& game, const ScoreLayoutOptions& options) {
  ScoreLayout layout(kGameTextLayout, options);
  std::vector<ScoreParagraph> rows = layout.Layout(game, false);
  for (ScoreParagraph& row : rows)
    if (row.kind == ParagraphKind::DiagramPlace) row.text = "\t" + MarkerLabels(game, row.node);
  return rows;
}

std::string GameTextListing(const std::vector<ScoreParagraph>& rows) {
  std::string out;
  for (const ScoreParagraph& row : rows) {
    out += row.text;
    out += '\n';
  }
  return out;
}

}  // namespace varnock
