#include "render/StoredOptions.h"

namespace varnock {

RtfOptions RtfOptionsOf(const SettingsSection& settings) {
  const PrintOptions& print = settings.printOptions.value;
  RtfOptions rtf;
  rtf.indentMainLine = print.indentMainLine;
  rtf.boldMainLine = print.boldMainLine;
  rtf.courierMainLine = print.courierMainLine;
  rtf.shortMainLine = print.shortMainLine;
  rtf.indentComments = print.indentComments;
  rtf.allLines = print.allLines;
  rtf.justify = print.justify;
  rtf.shortVariations = print.shortVariations;
  rtf.endDiagramMainLine = print.endDiagramMainLine;
  rtf.endDiagramAllLines = print.endDiagramAllLines;
  rtf.diagramEveryComment = print.diagramEveryComment;
  rtf.diagramEveryBookmark = print.diagramEveryBookmark;
  rtf.gameInformation = print.gameInformation;
  rtf.infoDate = print.infoDate;
  rtf.infoEvent = print.infoEvent;
  rtf.infoPlayers = print.infoPlayers;
  rtf.infoOpening = print.infoOpening;
  rtf.infoFileName = print.infoFileName;
  rtf.infoDescription = print.infoDescription;
  rtf.twoColumns = print.twoColumns;
  rtf.pageNumbers = print.pageNumbers;
  rtf.textSize = print.textSize;
  rtf.boardSquareSize = print.boardSquareSize;
  rtf.printHeader = print.printHeader;
  rtf.headerText = settings.printHeaderText;
  rtf.printFooter = print.printFooter;
  rtf.footerText = settings.printFooterText;
  rtf.temporaryFile = print.temporaryFile;
  rtf.variationColour = print.variationColour;
  return rtf;
}

PgnExportOptions PgnExportOptionsOf(const SettingsSection& settings) {
  const PgnExportFields& fields = settings.pgnExport.value;
  PgnExportOptions options;
  options.includeVariations = fields.includeVariations;
  options.oneLine = fields.oneLine;
  options.symbols = fields.symbols;
  options.preview = fields.preview;
  options.format = fields.format;
  options.extensions = fields.extensions;
  return options;
}

}  // namespace varnock
