#include "render/RtfDocument.h"

#include "core/Format.h"
#include "render/ChessFontMap.h"
#include "render/ProductInfo.h"
#include "render/RtfText.h"
#include "render/ScoreLayout.h"
#include "render/TextDiagram.h"
#include "tree/Positions.h"

namespace varnock {

namespace {

std::string Field(const GameHeader& header, HeaderField field) { return std::string(header.Get(field)); }
std::string NameOrNull(const std::string& name) { return name.empty() ? "(null)" : EscapeRtfField(name); }

void AppendPreamble(std::string& out, const RtfOptions& options, const SChessFont& font) {
  out += Format(
      "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss Microsoft Sans Serif;}{\\f1\\froman\\fcharset2 "
      "Symbol;}{\\f2\\fswiss\\fprq2 Arial;}{\\f3\\froman Times New Roman;}{\\f4\\fmodern Courier "
      "New;}{\\f5\\fswiss\\fprq2\\fcharset%d "
      "%s;}}{\\colortbl\\red0\\green0\\blue0;\\red0\\green0\\blue68;\\red%d\\green%"
      "d\\blue%d;}\\deflang2057\\pard\\cf0",
      font.charset, std::string(font.faceName).c_str(), RedOf(options.variationColour),
      GreenOf(options.variationColour), BlueOf(options.variationColour));
  out += Format("\r\n\\paperw%d\\paperh%d\\margl%d\\margr%d\\margt%d\\margb%d", kRtfPaperWidth, kRtfPaperHeight,
                kRtfMargin, kRtfMargin, kRtfMargin, kRtfMargin);
  if (options.pageNumbers)
    out +=
        "\r\n{\\footer \\fs\\fs20\\qr\\brdrt\\brdrs\\brdrw15\\brsp20 Page "
        "{\\field{\\*\\fldinst {PAGE}}{\\fldrslt }}{\\par }}";
  out += "\r\n{\\info";
  out += "{\\author ";
  out += kProductName;
  out += " v";
  out += kDocumentVersionText;
  out += "}";
  out += "}";
  if (options.printHeader && !options.headerText.empty()) {
    out += "\r\n{\\b\\f3\\fs36\\cf0 ";
    out += ConvertRtfText(options.headerText, true);
    out += Format("}\r\n\\par\\par\\par\\fs%d\\f2", 2 * options.textSize);
  } else {
    out += Format("\r\n\\fs%d\\f2", 2 * options.textSize);
  }
}

void AppendInformation(std::string& out, const RtfGameSource& source, const RtfOptions& options) {
  const GameHeader& header = *source.header;
  out += Format(
      "\r\n\\trowd\\trgaph108\\trleft-108\\trbrdrl\\brdrs\\brdrw10\\brdrcf0 \\trbrdrt\\brdrs\\brdrw10\\brdrcf0 "
      "\\trbrdrr\\brdrs\\brdrw10\\brdrcf0 \\trbrdrb\\brdrs\\brdrw10\\brdrcf0 "
      "\\trpaddl%d\\trpaddr%d\\trpaddfl3\\trpaddfr3\\clbrdrl\\brdrw10\\brdrs\\brdrcf0\\clbrdrt\\brdrw10\\brdrs\\brdrcf0"
      "\\clbrdrr\\brdrw10\\brdrs\\brdrcf0\\clbrdrb\\brdrw10\\brdrs\\brdrcf0 "
      "\\cellx%d\\pard\\intbl\\nowidctlpar\\pard\\intbl\\nowidctlpar",
      360, 360, kRtfPaperWidth - kRtfMargin - kRtfMargin + 108);
  out += "\r\n\\qj";
  out += "\\fi-1430\\li1430\\tx4320";
  bool written = false;
  auto row = [&](const std::string& text) {
    out += "\r\n\\par";
    if (written) out += "\\par";
    out += text;
    written = true;
  };
  if (options.infoFileName && !source.filePath.empty()) {
    std::string text = " {\\b File:} \\tab " + EscapeRtfField(source.filePath);
    if (source.count > 1) text += Format("  [ %d/%d ]", source.place, source.count);
    row(text);
  }
  const std::string white = Field(header, HeaderField::White), black = Field(header, HeaderField::Black);
  if (options.infoPlayers && (!white.empty() || !black.empty()))
    row(" {\\b Players:} \\tab " + NameOrNull(white) + ", " + NameOrNull(black));
  if (const std::string event = Field(header, HeaderField::Event); options.infoEvent && !event.empty())
    row(" {\\b Event:} \\tab " + EscapeRtfField(event));
  if (const std::string date = Field(header, HeaderField::Date); options.infoDate && !date.empty())
    row(" {\\b Date:} \\tab " + EscapeRtfField(date));
  const std::string opening = Field(header, HeaderField::Opening), eco = Field(header, HeaderField::ECO);
  if (options.infoOpening && (!opening.empty() || !eco.empty())) {
    std::string text = " {\\b Opening:} \\tab ";
    text += opening.empty() ? EscapeRtfField(eco) : EscapeRtfField(opening);
    if (!opening.empty() && !eco.empty()) text += "  ( " + EscapeRtfField(eco) + " )";
    row(text);
  }
  const std::string comment = Field(header, HeaderField::GameComment);
  if (options.infoDescription && !comment.empty()) {
    std::string text = " {\\b Comment:} ";
    bool first = true;
    for (const std::string& line : CommentLines(comment)) {
      if (line.empty()) continue;
      if (!first) text += "\\par ";
      text += "\\tab " + EscapeRtfField(line);
      first = false;
    }
    row(text);
  }
  out += "\\par\\pard\\intbl\\cell\\row\\pard";
}

void AppendLayoutSettings(std::string& out, const RtfOptions& options) {
  if (options.justify) out += "\r\n\\qj";
  out += "\r\n\\par";
  if (options.courierMainLine) out += "\\f4";
  if (options.twoColumns) out += "\\par\\par";
  if (options.twoColumns && options.shortMainLine)
    out += "\r\n\\tx520\\tx1240\\tx2680";
  else if (options.shortMainLine)
    out += "\r\n\\tx1440\\tx2160\\tx3600";
  else if (options.twoColumns)
    out += "\r\n\\tx520\\tx1240\\tx2780";
  else
    out += "\r\n\\tx1440\\tx2160\\tx3700";
  if (options.twoColumns)
    out += Format("\r\n\\sect\\sectd\\sbknone\\cols2\\colno1\\colw%d\\colsr%d\\colno2\\colw%d", 4440, 720, 4440);
}

class ParagraphWriter {
 public:
  ParagraphWriter(std::string& out, const RtfGameSource& source, const RtfOptions& options)
      : out_(out), source_(source), options_(options) {}

  void Write(const ScoreParagraph& paragraph) {
    if (!first_) out_ += "\r\n\\par";
    if (groupOpen_) out_ += "}";
    groupOpen_ = false;
    const bool diagram = paragraph.kind == ParagraphKind::DiagramPlace;
    if (!first_ && ((paragraph.kind != previous_ && !diagram && previous_ != ParagraphKind::DiagramPlace) ||
                    (paragraph.kind == ParagraphKind::Variation && previous_ == ParagraphKind::Variation)))
      out_ += "\r\n\\par";
    switch (paragraph.kind) {
      case ParagraphKind::DiagramPlace:
        Diagram(paragraph);
        break;
      case ParagraphKind::MainLine:
        if (options_.boldMainLine) out_ += "{\\b";
        out_ += ' ';
        out_ += ConvertRtfText(paragraph.text, false);
        if (options_.boldMainLine) out_ += '}';
        break;
      case ParagraphKind::Result:
        out_ += "{" + ConvertRtfText(paragraph.text, false) + "}";
        break;
      case ParagraphKind::Variation:
        out_ += "{\\cf2\\f2 " + ConvertRtfText(paragraph.text, false) + "}";
        break;
      case ParagraphKind::Comment:
        Comment(paragraph);
        break;
    }
    first_ = false;
    previous_ = paragraph.kind;
  }

  void Finish() {
    if (groupOpen_) out_ += "\r\n\\par}";
    groupOpen_ = false;
  }

 private:
  void Diagram(const ScoreParagraph& paragraph) {
    out_ += (options_.indentMainLine && !options_.twoColumns) ? "{\\keep\\keepn\\li1440" : "{\\keep\\keepn\\qc";
    out_ += Format("\\f5\\fs%d ", 2 * options_.boardSquareSize);
    TextDiagramOptions diagram;
    diagram.mode = DiagramModeOf(source_.fontIndex);
    diagram.rtf = true;
    diagram.reversed = source_.reversed;
    diagram.initials = source_.initials;
    const BoardSquares board = paragraph.node != kNoNode ? BoardAt(source_.tree->Store(), paragraph.node) : StartBoard;
    AppendTextDiagram(out_, board, diagram);
    groupOpen_ = true;
  }

  void Comment(const ScoreParagraph& paragraph) {
    out_ += "{";
    out_ += "\\f2 ";
    if (options_.indentComments && !options_.indentMainLine) {
      if (!options_.justify) out_ += "\\qj";
      out_ += options_.twoColumns ? "\\li360 " : "\\li720 ";
    } else if (!options_.justify) {
      out_ += "\\qj ";
    }
    out_ += ConvertRtfText(paragraph.text, true);
    groupOpen_ = true;
  }

  std::string& out_;
  const RtfGameSource& source_;
  const RtfOptions& options_;
  bool first_ = true;
  bool groupOpen_ = false;
  ParagraphKind previous_ = ParagraphKind::MainLine;
};

}  // namespace

std::string RtfDocument(const RtfGameSource& source, const RtfOptions& options,
                        const std::vector<ScoreParagraph>& paragraphs) {
  std::string out;
  AppendPreamble(out, options, ChessFontOf(source.fontIndex));
  if (options.gameInformation && source.header) AppendInformation(out, source, options);
  AppendLayoutSettings(out, options);

  ParagraphWriter writer(out, source, options);
  std::size_t start = 0;
  while (start < paragraphs.size() && paragraphs[start].kind == ParagraphKind::Comment &&
         paragraphs[start].text.empty())
    ++start;
  for (std::size_t i = start; i < paragraphs.size(); ++i) writer.Write(paragraphs[i]);
  writer.Finish();

  if (options.printFooter && !options.footerText.empty()) {
    out += "\r\n\\par\\par\\par\\par{\\b\\f3\\fs36\\cf0 ";
    out += ConvertRtfText(options.footerText, true);
    out += "}";
  }
  out += "\r\n\\par\\par\\par [ \\i Generated by ";
  out += Format("{\\field{\\*\\fldinst {HYPERLINK \"%s\"}}{\\fldrslt {%s}}}", kProductWebPage, kProductName);
  out += " \\i0 ]";
  out += "\r\n}";
  return out;
}

}  // namespace varnock
