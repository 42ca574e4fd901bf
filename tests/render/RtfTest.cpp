// The score layout and the RTF document, piece by piece and as a whole.
#include <gtest/gtest.h>

#include "RenderTesting.h"
#include "render/RtfExport.h"
#include "render/RtfText.h"
#include "render/ScoreLayout.h"
#include "support/Corpus.h"
#include "support/ScriptedPrompt.h"

namespace varnock {
namespace {

using testing::ReadPgnGame;
using testing::ScriptedPrompt;

std::vector<ScoreParagraph> LayOut(SGridFrame& game, const RtfOptions& rtf, int mode = kRtfLayout) {
  ScoreLayoutOptions options;
  options.rtf = rtf;
  ScoreLayout layout(mode, options);
  return layout.Layout(game.Tree(), rtf.allLines);
}

std::string Document(SGridFrame& game, const RtfOptions& options, const std::string& path = "") {
  RtfGameSource source;
  source.header = &game.header;
  source.filePath = path;
  source.place = 2;
  source.count = 5;
  return GameRtf(game.Tree(), source, options);
}

// Group depth never below zero and back to zero at the end.
bool Balanced(const std::string& rtf) {
  int depth = 0;
  for (std::size_t i = 0; i < rtf.size(); ++i) {
    if (rtf[i] == '\\') {
      ++i;
      continue;
    }
    if (rtf[i] == '{') ++depth;
    if (rtf[i] == '}' && --depth < 0) return false;
  }
  return depth == 0;
}

constexpr const char* kBlackFirst =
    "[White \"A\"]\n[Black \"B\"]\n[SetUp \"1\"]\n"
    "[FEN \"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 12\"]\n\n12... e5 13. Nf3 Nc6 *\n";

TEST(ScoreLayout, AMainLineStartingWithBlackIsNumberedInEachFormat) {
  NodeStore store;
  auto game = ReadPgnGame(kBlackFirst, store);
  ASSERT_TRUE(game);
  RtfOptions options;
  options.endDiagramMainLine = false;
  options.indentMainLine = false;
  auto paragraphs = LayOut(*game, options);
  ASSERT_FALSE(paragraphs.empty());
  EXPECT_EQ(paragraphs[0].kind, ParagraphKind::DiagramPlace);  // the set-up position
  EXPECT_EQ(paragraphs[1].text.substr(0, 7), " 12...\t");

  options.indentMainLine = true;
  paragraphs = LayOut(*game, options);
  EXPECT_EQ(paragraphs[1].text, "\\tab 12.\\tab ...\\tab e7-e5");
  EXPECT_EQ(paragraphs[2].text.substr(0, 10), "\\tab 13.\\t");  // a new pair after Black's move
  options.courierMainLine = true;
  EXPECT_EQ(LayOut(*game, options)[1].text.substr(0, 18), "\\tab 12.\\tab  ...\\");
}

TEST(ScoreLayout, VariationsCommentsResultsAndDiagrams) {
  NodeStore store;
  auto game =
      ReadPgnGame("[Result \"1-0\"]\n\n{Start} 1. e4 e5 (1... c5 {Sicilian} 2. Nf3 (2. c3) d6) 2. Nf3 1-0\n", store);
  ASSERT_TRUE(game);
  game->Store().StoreComment(game->Tree().lineEnd, NodeStore::kAfter, "A {brace}");
  RtfOptions options;
  const auto paragraphs = LayOut(*game, options);
  std::vector<std::string> texts;
  for (const auto& p : paragraphs) texts.push_back(std::to_string(static_cast<int>(p.kind)) + ":" + p.text);
  const std::vector<std::string> expected = {
      "2:Start",
      "0:\\tab 1.\\tab e2-e4\\tab e7-e5",
      "1: [ 1... c7-c5",
      "2:Sicilian",
      "1: 2. Ng1-f3 [ 2. c2-c3 ] 2... d7-d6 ]",
      "0:\\tab 2.\\tab Ng1-f3",
      "3:\\tab\\tab 1-0  ",
      "4:",  // end diagram of the main line
      "2:A {brace}",
  };
  EXPECT_EQ(texts, expected);

  // Without variations, and in the game-text window's columns.
  options.allLines = false;
  for (const auto& p : LayOut(*game, options)) EXPECT_NE(p.kind, ParagraphKind::Variation);
  const auto window = LayOut(*game, options, kGameTextLayout);
  ASSERT_GE(window.size(), 4u);
  EXPECT_EQ(window[0].text, "Start");
  EXPECT_EQ(window[1].text, "\t  1.   e2-e4\t e7-e5");
  EXPECT_EQ(window[2].text, "\t\t c7-c5 (3)");

  // The preview follows the line of the current move.
  GameTree& tree = game->Tree();
  const SBranchDetails* line = store.Alternatives(store.Node(tree.root).next)->front();
  tree.current = store.Node(line->first).next;  // 2. Nf3 of the variation
  const auto preview = LayOut(*game, options, kPreviewLayout);
  ASSERT_GE(preview.size(), 3u);
  EXPECT_EQ(preview[1].text, "\t  1.   e2-e4\t c7-c5");
  EXPECT_EQ(preview[2].kind, ParagraphKind::Comment);  // "Sicilian"
  ASSERT_EQ(preview.size(), 6u);
  EXPECT_EQ(preview[3].text, "\t  2.  Ng1-f3");
  EXPECT_EQ(preview[4].kind, ParagraphKind::Variation);  // 2. c3 interrupts the row
  EXPECT_EQ(preview[4].text, "\t       c2-c3 (1)");
  EXPECT_EQ(preview[5].text, "\t\t d7-d6");
}

TEST(RtfText, ConversionEscapesAndSymbols) {
  EXPECT_EQ(ConvertRtfText("a {b} c\r\nnext", true), "a \\{b\\} c");
  EXPECT_EQ(ConvertRtfText("Nf3 +/- x -/+ y +/= z =/+ w =", false),
            "Nf3 {\\'bc} x {\\'be} y {\\u8540\\'3f} z {\\u8541\\'3f} w {\\'bd}");
  EXPECT_EQ(ConvertRtfText("c:\\x", true), "c:\\\\x");
  EXPECT_EQ(ConvertRtfText("\\tab e4", false), "\\tab e4");
  EXPECT_EQ(TidyVariation(" [\t1...  c5 ]  [ 2. Nf3]2. c3  "), " [ 1... c5 ] [ 2. Nf3] 2. c3");
  EXPECT_EQ(CommentLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
}

TEST(RtfDocument, InformationTableRowsAndLayoutPieces) {
  NodeStore store;
  auto game = ReadPgnGame(
      "[Event \"Open {1}\"]\n[Date \"2024.01.02\"]\n[White \"W\"]\n[Black \"\"]\n[ECO \"E60\"]\n"
      "[Opening \"King's Indian\"]\n\n1. d4 Nf6 *\n",
      store);
  ASSERT_TRUE(game);
  RtfOptions options;
  std::string rtf = Document(*game, options, "C:\\Games\\a.pgn");
  EXPECT_TRUE(rtf.starts_with(
      "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss Microsoft Sans Serif;}{\\f1\\froman\\fcharset2 "
      "Symbol;}{\\f2\\fswiss\\fprq2 Arial;}{\\f3\\froman Times New Roman;}{\\f4\\fmodern Courier "
      "New;}{\\f5\\fswiss\\fprq2\\fcharset2 Chess Merida;}}{\\colortbl\\red0\\green0\\blue0;\\red0\\green0\\blue68;"
      "\\red0\\green0\\blue140;}\\deflang2057\\pard\\cf0\r\n\\paperw11904\\paperh16836\\margl1152\\margr1152\\margt1152"
      "\\margb1152\r\n{\\footer "));
  EXPECT_NE(rtf.find("\r\n{\\info{\\author Varnock v17 Portable}}\r\n{\\b\\f3\\fs36\\cf0 Varnock v17 Portable}\r\n"
                     "\\par\\par\\par\\fs20\\f2"),
            std::string::npos);
  EXPECT_NE(rtf.find("\\cellx9708"), std::string::npos);
  EXPECT_NE(rtf.find("\r\n\\par {\\b File:} \\tab C:\\\\Games\\\\a.pgn  [ 2/5 ]"), std::string::npos);
  EXPECT_NE(rtf.find("\r\n\\par\\par {\\b Players:} \\tab W, (null)"), std::string::npos);
  EXPECT_NE(rtf.find(" {\\b Event:} \\tab Open \\{1\\}"), std::string::npos);
  EXPECT_NE(rtf.find(" {\\b Opening:} \\tab King's Indian  ( E60 )\\par\\pard\\intbl\\cell\\row\\pard"),
            std::string::npos);
  EXPECT_NE(rtf.find("\r\n\\par\r\n\\tx1440\\tx2160\\tx3700"), std::string::npos);
  EXPECT_TRUE(rtf.ends_with(" \\i0 ]\r\n}"));
  EXPECT_TRUE(Balanced(rtf));

  game->header.Set(HeaderField::Opening, "");
  options.twoColumns = true;
  options.shortMainLine = true;
  options.justify = true;
  options.courierMainLine = true;
  options.pageNumbers = false;
  rtf = Document(*game, options);
  EXPECT_NE(rtf.find(" {\\b Opening:} \\tab E60\\par"), std::string::npos);
  EXPECT_EQ(rtf.find("File:"), std::string::npos);
  EXPECT_EQ(rtf.find("\\footer"), std::string::npos);
  EXPECT_NE(rtf.find("\r\n\\qj\r\n\\par\\f4\\par\\par\r\n\\tx520\\tx1240\\tx2680\r\n\\sect\\sectd\\sbknone\\cols2"
                     "\\colno1\\colw4440\\colsr720\\colno2\\colw4440"),
            std::string::npos);
  // The end diagram, centred in two columns, in font 3's characters.
  EXPECT_NE(rtf.find("{\\keep\\keepn\\qc\\f5\\fs36 !\"\"\"\"\"\"\"\"#\\par$tMvWlV T%\\par"), std::string::npos);
  EXPECT_TRUE(Balanced(rtf));
}

TEST(RtfExport, ClipboardDiagramsAndSavedFile) {
  const std::string grid = GridRtfText(StartBoard, 3, 50, false);
  EXPECT_TRUE(
      grid.starts_with("{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset2 Chess "
                       "Merida;}}{\\colortbl\\red0\\green0"
                       "\\blue0}\\deflang2057\\pard\\cf0{\\qc\\f5\\fs80 !"));
  EXPECT_TRUE(grid.ends_with("/(((((((()\\par}}"));
  EXPECT_NE(GridRtfText(StartBoard, 0, 5, true).find("\\fs20 1222222223\\par 4rHbKqBhR5"), std::string::npos);
  EXPECT_EQ(AsciiDiagramText(StartBoard, false, "KQRBNP").substr(0, 42),
            " -----------------\r\n| r n b q k b n r | \r\n");

  NodeStore store;
  auto game = ReadPgnGame("1. e4 {x} *\n", store);
  ASSERT_TRUE(game);
  const auto folder = testing::ScratchFolder("rtf-save");
  ScriptedPrompt prompt;
  RtfGameSource source;
  source.header = &game->header;
  const std::string path = (folder / "game.rtf").string();
  ASSERT_EQ(CmSaveRTF(game->Tree(), source, RtfOptions{}, path, prompt), 1);
  const std::string written = testing::ReadWholeFile(path);
  EXPECT_EQ(prompt.Last().caption, "FrameWin::CmSaveRTF()");
  EXPECT_EQ(prompt.Last().text, "File '" + path + "' saved\r\n\r\n( " + std::to_string(written.size()) + "  bytes )");
  EXPECT_EQ(TemporaryRtfPath(folder), folder / "1.rtf");

  const std::string refused = (folder / "missing" / "game.rtf").string();
  EXPECT_EQ(CmSaveRTF(game->Tree(), source, RtfOptions{}, refused, prompt), 0);
  EXPECT_EQ(prompt.Last().caption, "CreateFile()");
  EXPECT_EQ(prompt.Last().text, "'" + refused + "'\nNo such file or directory\nError Code is 2");
}

TEST(RtfExport, CorpusGameReadsBackThroughUnrtf) {
  const auto files = testing::CorpusFiles({"annotated"});
  const auto file = std::find_if(files.begin(), files.end(),
                                 [](const auto& path) { return path.filename() == "cori-vishnu.pgn.xz"; });
  if (file == files.end()) GTEST_SKIP() << "corpus not found";
  NodeStore store;
  auto game = ReadPgnGame(testing::ReadCorpusFile(*file), store);
  ASSERT_TRUE(game);
  RtfOptions options;
  options.diagramEveryComment = true;
  const auto folder = testing::ScratchFolder("rtf-corpus");
  ScriptedPrompt prompt;
  RtfGameSource source;
  source.header = &game->header;
  source.filePath = file->string();
  ASSERT_EQ(CmSaveRTF(game->Tree(), source, options, (folder / "game.rtf").string(), prompt), 1);
  const std::string rtf = testing::ReadWholeFile(folder / "game.rtf");
  EXPECT_TRUE(Balanced(rtf));
  const auto result = testing::RunCommand("unrtf --text '" + (folder / "game.rtf").string() + "' 2>&1");
  ASSERT_EQ(result.status, 0) << result.out;
  const std::string& text = result.out;
  EXPECT_NE(text.find("Cori, Deysi, Vishnu, Prasanna"), std::string::npos);
  EXPECT_NE(text.find("Montcada Open"), std::string::npos);
  EXPECT_NE(text.find("Ng1-f3"), std::string::npos);                                  // main line
  EXPECT_NE(text.find("[ 7... Ra8-b8 8. Bc1-f4"), std::string::npos);                 // a variation
  EXPECT_NE(text.find("It is clear that White is not fighting"), std::string::npos);  // a comment
  EXPECT_NE(text.find("!\"\"\"\"\"\"\"\"#"), std::string::npos) << "no diagram";
}

}  // namespace
}  // namespace varnock
