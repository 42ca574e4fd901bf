// Every user option of the program as typed values: the "Settings" section
// (display, notation, file and export options), the "Application" section
// (main-window layout and engine options) and the recent-file list. The
// member defaults are the values a key takes when the file lacks it.
#pragma once

#include <string>
#include <utility>

#include "settings/ColourSchemes.h"
#include "settings/ProfileValues.h"
#include "settings/RecentFiles.h"
#include "settings/Records.h"

namespace varnock {

inline TextFont DefaultFont(const char* face, int pointSize) {
  TextFont font;
  font.face = face;
  font.pointSize = pointSize;
  return font;
}

template <class T>
SavedRecord<T> Unsaved(T value) {
  return SavedRecord<T>{std::move(value), false};
}

struct SettingsSection {
  // Window layouts, kept for the windows that own them.
  SavedRecord<DialogLayout> bookmarksDialog;       // "DlgBM Dimensions"
  SavedRecord<DialogLayout> searchCommentsDialog;  // "DlgSearchComments"
  SavedRecord<DialogLayout> engineDialog;          // "DlgEngine Dimensions_v14"
  SavedRecord<DialogLayout> explorerDialog;        // "DlgExplorer Dimensions"
  SavedRecord<DialogLayout> engineListDialog;      // "DlgEngineOption Dimensions"
  SavedRecord<DialogLayout> collectionList;        // "Folders Dimensions"
  SavedRecord<DialogLayout> resultsList;           // "Results Dimensions"
  SavedRecord<DialogLayout> eventsList;            // "Events Dimensions"
  SavedRecord<DialogLayout> playersList;           // "Players List Dimensions"

  DisplayColours colours = SchemeColours(FirstRunColourScheme());
  int backupFiles = 120;                         // "Backup Files"
  UserColours userColours = WhiteUserColours();  // "User Colours"
  int chessFontType = 3;                         // "Chess Font Type": 3 is "Chess Merida"

  // Fonts; `saved` tells whether the file held a usable record.
  SavedRecord<TextFont> font = Unsaved(DefaultFont("Courier New", 12));                  // "LogFont"
  SavedRecord<TextFont> fontMoves = Unsaved(DefaultFont("Courier New", 12));             // "LogFont ( Moves )"
  SavedRecord<TextFont> fontHighMove = Unsaved(DefaultFont("Courier New", 12));          // "LogFont ( High Move )"
  SavedRecord<TextFont> fontBranch = Unsaved(DefaultFont("Courier New", 12));            // "LogFont ( Branch )"
  SavedRecord<TextFont> fontComment = Unsaved(DefaultFont("Microsoft Sans Serif", 12));  // "LogFont ( Comment )"
  SavedRecord<TextFont> fontBorder = Unsaved(DefaultFont("Arial", 15));                  // "LogFont ( Border )"

  std::string printHeaderText = "Varnock v17 Portable";  // "PrintHeaderText"
  std::string printFooterText = "Varnock Game Editor";   // "PrintFooterText"
  int gradedOption = 3;                                  // "Graded Option"

  bool badContinuation = true;           // "Bad Continuation"
  bool shortNotation = false;            // "ShortNotation"
  bool pgnLongAlgebraic = false;         // "PGNLongAlgebraic"
  bool openLast = true;                  // "OpenLast"
  bool classicFileOpen = false;          // "Do ClassicFileOpen"
  bool ecoByTransposition = false;       // "ECOByTransposition"
  bool showPreCommentWindow = false;     // "ShowPreCommentWindow"
  bool pgnExtensions = false;            // "PGNExtensions"
  bool showText = true;                  // "ShowText"
  bool showBevel = false;                // "ShowBevel"
  bool showPlayers = true;               // "ShowPlayers"
  bool showFile = true;                  // "ShowFile"
  bool ahLower = true;                   // "AHLower"
  int optionAH = 0;                      // "Option AH": 1 draws the board coordinates
  bool arrowLast = false;                // "ArrowLast"
  bool arrowNext = false;                // "ArrowNext"
  bool arrowVariations = false;          // "ArrowVariations"
  std::string fileViewer;                // "FileViewer": empty for the desktop's default
  std::string rtfEditor;                 // "RTFEditor": empty for the desktop's default
  std::string pieceInitials = "KQRBNP";  // "PieceInitials", always six letters

  SavedRecord<PrintOptions> printOptions;  // "Print Options", also the RTF options
  SavedRecord<PgnExportFields> pgnExport;  // "PGN Export Options"
  int dialogFontSize = 8;                  // "DoModal_FontSize", 7 to 12
};

struct ApplicationSection {
  bool toolbar = true;                           // "Toolbar"
  bool navigationBar = true;                     // "NavigationBar"
  SavedRecord<WindowPlacement> windowPlacement;  // "Window Placement"
  SavedRecord<RecordRect> commentPlacementFen;   // "dlgComment Placement FEN"
  SavedRecord<RecordRect> commentPlacementPgn;   // "dlgComment Placement PGN"
  // Pane proportions, stored in thousandths.
  double displayWidth = 0.35;        // "Display Width"
  double displayWidthHzPre = 0.36;   // "Display Width HZ Pre"
  double displayWidthHzPost = 0.18;  // "Display Width HZ Post"
  int sizeChs = 42;                  // "SizeCHS"
  int uciHash = 32;                  // "UCI_Hash", megabytes
  int uciMultiPv = 8;                // "UCI_MultiPV"
  int uciEngineSelection = 0;        // "UCI_EngineSelection"
  bool uciDoMultiPv = true;          // "UCI_DoMultiPV"
  bool uciDoOneCpu = false;          // "UCI_DoOneCPU"
  std::string uciEngines;            // "UCI_Engines"
};

struct Settings {
  SettingsSection settings;
  ApplicationSection application;
  RecentFiles recentFiles;
};

}  // namespace varnock
