// The commands of the table that take more than one library call: each
// gathers what its library operation needs from the workspace (options from
// the settings, a file name from a dialog) and calls it.
#pragma once

namespace varnock {

class Workspace;

void LoadCommand(Workspace& w);
void ReloadCommand(Workspace& w);
void ExportRtf(Workspace& w);
void PasteFen(Workspace& w);
void PastePgn(Workspace& w);
void ClassifyCurrentGame(Workspace& w);
void ClassifyAllGames(Workspace& w);
void SaveGif(Workspace& w);
void CopyBitmap(Workspace& w);
void CopyAscii(Workspace& w);
void CopyFen(Workspace& w);
void CopyRtf(Workspace& w);
void CopyPgn(Workspace& w);
void FindComment(Workspace& w, bool forward);

}  // namespace varnock
