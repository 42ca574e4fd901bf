// Games whose reading or writing once took time that grew with the square of
// their size: the hang-guard test reads and writes the largest of each, the
// size-shapes benchmark times them at three sizes.
#pragma once

#include <string>
#include <vector>

namespace varnock::testing {

struct SizeShape {
  const char* name;
  int unit;  // the size of the shape at 1x (moves or lines)
  std::string (*make)(int size);
};

// `moves` knight moves, each followed by a "%BM[0]" line (or, numbered, by
// "%BM[n]" counting down, which files each new one at the end of the list).
inline std::string BookmarkLines(int moves, bool numbered) {
  static const char* const kMoves[] = {"Nf3", "Nf6", "Ng1", "Ng8"};
  std::string text = "[Event \"Bookmarks\"]\r\n[Result \"*\"]\r\n\r\n";
  for (int i = 0; i < moves; ++i) {
    if (i % 2 == 0) text += std::to_string(i / 2 + 1) + ". ";
    text += kMoves[i % 4];
    text += "\r\n%BM[" + std::to_string(numbered ? moves - i : 0) + "]\r\n";
  }
  return text + "*\r\n";
}

// "1. e4 (1. d4 (1. c4 (1. Nf3 ...)))": every variation is one more
// alternative of the first move, so the first move collects `count` of them.
inline std::string FirstMoveAlternatives(int count) {
  static const char* const kFirst[] = {"d4", "c4", "Nf3", "b3", "g3", "f4", "Nc3", "b4",  "e3", "d3",
                                       "c3", "a3", "h3",  "a4", "h4", "g4", "Na3", "Nh3", "f3"};
  std::string text = "[Event \"Alternatives\"]\r\n[Result \"*\"]\r\n\r\n1. e4 ";
  for (int i = 0; i < count; ++i) text += std::string("(1. ") + kFirst[i % 19] + " ";
  text.append(static_cast<std::size_t>(count), ')');
  return text + " *\r\n";
}

// Variations nested one ply deeper each: "1. Nf3 1... Nc6 (1... Nf6 2. Nc3
// (2. Ng1 ...))", `depth` levels.
inline std::string NestedVariations(int depth) {
  static const char* const kChain[] = {"Nf3", "Nf6", "Ng1", "Ng8"};
  static const char* const kAside[] = {"Nc3", "Nc6"};
  auto number = [](int ply) { return std::to_string(ply / 2 + 1) + (ply % 2 == 0 ? ". " : "... "); };
  std::string text = "[Event \"Nested\"]\r\n[Result \"*\"]\r\n\r\n";
  for (int k = 0; k < depth; ++k) text += number(k) + kChain[k % 4] + " " + number(k + 1) + kAside[(k + 1) % 2] + " (";
  text.append(static_cast<std::size_t>(depth), ')');
  return text + " *\r\n";
}

// One move followed by `count` comments, which it collects.
inline std::string CommentsOnOneMove(int count) {
  std::string text = "[Event \"Comments\"]\r\n[Result \"*\"]\r\n\r\n1. e4 ";
  for (int i = 0; i < count; ++i) text += "{c} ";
  return text + "e5 *\r\n";
}

inline std::vector<SizeShape> SizeShapes() {
  return {
      {"bookmark lines %BM[0]", 25, [](int n) { return BookmarkLines(n, false); }},
      {"bookmark lines %BM[n], falling", 25, [](int n) { return BookmarkLines(n, true); }},
      {"alternatives of one move", 200, FirstMoveAlternatives},
      {"nested variations", 200, NestedVariations},
      {"comments on one move", 100, CommentsOnOneMove},
  };
}

}  // namespace varnock::testing
