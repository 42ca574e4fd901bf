#include "app/CommandActions.h"

#include <filesystem>

#include "app/AppClipboard.h"
#include "app/BoardTiles.h"
#include "app/Workspace.h"
#include "collection/GameAdditions.h"
#include "formats/GetPgn.h"
#include "openings/CollectionEco.h"
#include "openings/FetchEco.h"
#include "render/BoardImage.h"
#include "render/RtfExport.h"
#include "render/StoredOptions.h"
#include "tree/CommentSearch.h"
#include "tree/GameFen.h"

namespace varnock {

namespace {

GridImageRequest BoardRequest(Workspace& w) {
  GridImageRequest request;
  request.colours = BoardColoursOf(w.settings.settings.colours);
  request.fontIndex = w.settings.settings.chessFontType;
  request.tileSize = w.settings.application.sizeChs;
  request.board = w.Tree().board;
  request.reversed = w.Tree().boardFlipped;
  return request;
}

EcoMethod EcoMethodOf(const Workspace& w) {
  return w.settings.settings.ecoByTransposition ? EcoMethod::Transposition : EcoMethod::MoveOrder;
}

}  // namespace

void LoadCommand(Workspace& w) { w.files.Load(); }

void ReloadCommand(Workspace& w) { w.files.CmReLoad(); }

void ExportRtf(Workspace& w) {
  const RtfOptions options = RtfOptionsOf(w.settings.settings);
  std::string path;
  if (options.temporaryFile) {
    path = TemporaryRtfPath(w.collection.settings.tempFolder).string();
  } else {
    std::optional<std::string> chosen = w.prompt.ChooseFileToSave(
        "Export as an RTF File", "RTF Files  ( *.rtf )|*.rtf|All Files  ( *.* )|*.*||", "rtf");
    if (!chosen || chosen->empty()) return;
    path = *chosen;
  }
  RtfGameSource source;
  source.tree = &w.Tree();
  source.header = &w.Game().header;
  source.filePath = w.collection.fileName;
  source.place = static_cast<int>(w.collection.CurrentPosition()) + 1;
  source.count = static_cast<int>(w.collection.Count());
  source.fontIndex = w.settings.settings.chessFontType;
  source.reversed = w.Tree().boardFlipped;
  source.initials = w.settings.settings.pieceInitials;
  if (CmSaveRTF(w.Tree(), source, options, path, w.prompt) == 1 && options.temporaryFile) w.window.OpenWithViewer(path);
}

void PasteFen(Workspace& w) {
  bool unused = false;
  std::optional<std::string> text = w.window.AskImportText(kFenImportTitle, false, unused, "");
  if (text) CmCollAddFEN(w.collection, *text);
}

void PastePgn(Workspace& w) {
  bool braces = false;
  std::string typed;
  // The dialog stays open (shown again with the text) while the user declines
  // to go on after reader errors.
  for (;;) {
    std::optional<std::string> text = w.window.AskImportText(kPgnImportTitle, true, braces, typed);
    if (!text) return;
    typed = *text;
    std::optional<GameList> games = ReadPastedPgn(w.collection, typed, braces);
    if (!games) continue;
    CmCollAddPGN(w.collection, std::move(*games));
    return;
  }
}

void ClassifyCurrentGame(Workspace& w) {
  FetchECO(w.Game(), true, static_cast<int>(w.collection.CurrentPosition()) + 1, EcoMethodOf(w), w.eco, w.prompt);
  if (w.Game().StateFlags() & kHeaderChanged) w.collection.modified = true;
}

void ClassifyAllGames(Workspace& w) {
  CollectionEco games(w.collection);
  CmFetchAllECO(games, w.eco, EcoMethodOf(w), w.prompt);
}

void SaveGif(Workspace& w) {
  std::optional<std::string> path = w.prompt.ChooseFileToSave(
      "Export Image as a GIF File", "GIF Files  ( *.gif )|*.gif|All Files  ( *.* )|*.*||", "gif");
  if (!path || path->empty()) return;
  CreateGridImage(BoardRequest(w), *path, w.prompt);
}

void CopyBitmap(Workspace& w) {
  w.clipboard.SetImage(BoardImage(BoardRequest(w)));
  w.prompt.Inform(kBitmapCopiedCaption, kBitmapCopied);
}

void CopyAscii(Workspace& w) {
  w.clipboard.SetText(AsciiDiagramText(w.Tree().board, w.Tree().boardFlipped, w.settings.settings.pieceInitials));
  w.prompt.Inform(kAsciiCaption, kAsciiCopied);
}

void CopyFen(Workspace& w) { GetFEN(w.Tree(), true, &w.prompt, &w.clipboard); }

void CopyRtf(Workspace& w) {
  w.clipboard.SetRtf(GridRtfText(w.Tree().board, w.settings.settings.chessFontType,
                                 w.settings.settings.printOptions.value.boardSquareSize, w.Tree().boardFlipped));
  w.prompt.Inform(kGridRtfCaption, kGridRtfCopied);
}

void CopyPgn(Workspace& w) {
  GetPgnContext context(w.prompt, w.clipboard);
  if (w.collection.fileType == kFilePgn && w.collection.rollback.present)
    context.fileText = w.collection.rollback.text.view();
  context.pieceInitials = w.settings.settings.pieceInitials;
  const PgnExportOptions options = PgnExportOptionsOf(w.settings.settings);
  if (options.preview) context.preview = [&w](const std::string& text) { w.window.PreviewText(text); };
  GetPGN(w.Game(), options, context);
}

void FindComment(Workspace& w, bool forward) {
  FindSettings settings = w.find;
  settings.forward = forward;
  CmFindNext(w.Tree(), w.prompt, settings);
}

}  // namespace varnock
