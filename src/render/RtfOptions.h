// The options of the " RTF Format Options" dialog, with their defaults.
#pragma once

#include <string>

#include "render/ColourWord.h"

namespace varnock {

struct RtfOptions {
  bool indentMainLine = true;         // "Indent main line moves"
  bool boldMainLine = true;           // "Print main line moves in bold"
  bool courierMainLine = false;       // "Print main line moves in Courier New font"
  bool shortMainLine = false;         // "Print main line moves in PGN short notation"
  bool indentComments = true;         // "Indent comments"
  bool allLines = true;               // "Print all lines of play ( otherwise just the current line )"
  bool justify = false;               // "Print inline moves in full justification"
  bool shortVariations = false;       // "Print variations in PGN short notation"
  bool endDiagramMainLine = true;     // "Include an end diagram for the main line of play"
  bool endDiagramAllLines = false;    // "Include an end diagram for all lines of play"
  bool diagramEveryComment = false;   // "Include a diagram for every position with a comment"
  bool diagramEveryBookmark = false;  // "Include a diagram for every bookmarked position"
  bool gameInformation = true;        // "Include game information"
  bool infoDate = true;               // "Date"
  bool infoEvent = true;              // "Event"
  bool infoPlayers = true;            // "Players"
  bool infoOpening = true;            // "Opening"
  bool infoFileName = true;           // "File name"
  bool infoDescription = true;        // "Game description"
  bool twoColumns = false;            // "Print in two columns"
  bool pageNumbers = true;            // "Include page numbers"
  int textSize = 10;                  // "Text size", points
  int boardSquareSize = 18;           // "Board square size", points
  bool printHeader = true;            // "Header"
  std::string headerText = "Varnock v17 Portable";
  bool printFooter = true;  // "Footer"
  std::string footerText = "Varnock Game Editor";
  bool temporaryFile = false;  // "Do not prompt for a file name.  Use temporary file and display after creating it."
  ColourWord variationColour = 0x8C0000;  // "Print Variations Colour"
};

}  // namespace varnock
