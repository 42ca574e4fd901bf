#include "settings/SettingsIo.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <new>

#include "core/PieceInitials.h"
#include "settings/Base64.h"

namespace varnock {

namespace {

// The text a binary record key is read with when the file lacks it.
constexpr std::string_view kNoRecord = "NULL";

struct ReadContext {
  const IniFile& ini;
  std::string_view section;
  UserPrompt* prompt;
  const FontCheck* canMake;

  std::string Text(std::string_view key, std::string_view fallback) const {
    return ini.GetText(section, key, fallback);
  }
};

struct WriteContext {
  IniFile& ini;
  std::string_view section;
  UserPrompt& prompt;
};

// One key of a section: how it is read into and written from the section's
// values.
template <class Section>
struct Field {
  std::string_view key;
  std::function<void(const ReadContext&, Section&)> read;
  std::function<void(WriteContext&, const Section&)> write;
};

template <class Section>
Field<Section> YesNo(std::string_view key, bool Section::*member) {
  return {
      key,
      [key, member](const ReadContext& in, Section& s) {
        s.*member = ParseYesNo(in.Text(key, YesNoText(Section{}.*member)));
      },
      [key, member](WriteContext& out, const Section& s) { out.ini.SetText(out.section, key, YesNoText(s.*member)); }};
}

template <class Section>
Field<Section> Integer(std::string_view key, int Section::*member, int low = INT_MIN, int high = INT_MAX) {
  return {key,
          [key, member, low, high](const ReadContext& in, Section& s) {
            const int fallback = Section{}.*member;
            s.*member = std::clamp(ParseInteger(in.Text(key, IntegerText(fallback)), fallback), low, high);
          },
          [key, member](WriteContext& out, const Section& s) {
            out.ini.SetText(out.section, key, IntegerText(s.*member));
          }};
}

template <class Section>
Field<Section> Text(std::string_view key, std::string Section::*member) {
  return {key, [key, member](const ReadContext& in, Section& s) { s.*member = in.Text(key, Section{}.*member); },
          [key, member](WriteContext& out, const Section& s) { out.ini.SetText(out.section, key, s.*member); }};
}

template <class Section>
Field<Section> Proportion(std::string_view key, double Section::*member) {
  return {key,
          [key, member](const ReadContext& in, Section& s) {
            const int fallback = ProportionThousandths(Section{}.*member);
            s.*member = ProportionRatio(ParseInteger(in.Text(key, IntegerText(fallback)), fallback));
          },
          [key, member](WriteContext& out, const Section& s) {
            out.ini.SetText(out.section, key, IntegerText(ProportionThousandths(s.*member)));
          }};
}

// Reads a record: "NULL" (absent) or a text that does not decode to a
// record of the right size keeps the built-in value and clears `saved`.
template <class T>
bool ReadRecord(const ReadContext& in, std::string_view key, SavedRecord<T>& record, const T& fallback) {
  record.value = fallback;
  record.saved = false;
  const std::string text = in.Text(key, kNoRecord);
  if (text == kNoRecord) return true;
  const auto bytes = DecodeBase64(text);
  T value = fallback;
  if (!bytes || !FromRecord(*bytes, value)) return false;
  record.value = std::move(value);
  record.saved = true;
  return true;
}

template <class T>
void WriteRecord(WriteContext& out, std::string_view key, const T& value) {
  std::string text;
  try {
    text = EncodeBase64(ToRecord(value));
  } catch (const std::bad_alloc&) {
    out.prompt.Inform(kWriteSettingsCaption, "malloc failed!");
    return;
  }
  out.ini.SetText(out.section, key, text);
}

// A record written only when the file held one or the program set one.
template <class Section, class T>
Field<Section> Record(std::string_view key, SavedRecord<T> Section::*member) {
  return {
      key,
      [key, member](const ReadContext& in, Section& s) { ReadRecord(in, key, s.*member, (Section{}.*member).value); },
      [key, member](WriteContext& out, const Section& s) {
        if ((s.*member).saved) WriteRecord(out, key, (s.*member).value);
      }};
}

Field<SettingsSection> Colour(const ColourKey& colour) {
  return {colour.name,
          [colour](const ReadContext& in, SettingsSection& s) {
            s.colours.*colour.member = ParseColour(in.Text(colour.name, ColourText(colour.missing)), colour.missing);
          },
          [colour](WriteContext& out, const SettingsSection& s) {
            out.ini.SetText(out.section, colour.name, ColourText(s.colours.*colour.member));
          }};
}

Field<SettingsSection> Font(std::string_view key, SavedRecord<TextFont> SettingsSection::*member) {
  return {key,
          [key, member](const ReadContext& in, SettingsSection& s) {
            const TextFont fallback = (SettingsSection{}.*member).value;
            SavedRecord<TextFont>& font = s.*member;
            const bool decoded = ReadRecord(in, key, font, fallback);
            if (font.saved && (*in.canMake)(font.value)) return;
            if (!decoded || font.saved) {
              // A stored font that cannot be made: the default is taken instead.
              in.prompt->Inform(kReadSettingsCaption, "Font creation failed (1)");
              font = Unsaved(fallback);
            }
            if (!(*in.canMake)(font.value)) in.prompt->Inform(kReadSettingsCaption, "Font creation failed (2)");
          },
          // Fonts are always written, from their current values.
          [key, member](WriteContext& out, const SettingsSection& s) { WriteRecord(out, key, (s.*member).value); }};
}

// Six piece letters; a blank or control character in them (which would make
// moves unreadable, and a trailing blank would not survive the file) gives
// way to the default letter of that piece.
std::string UsablePieceInitials(std::string_view stored) {
  std::string initials = CompletePieceInitials(stored);
  for (std::size_t i = 0; i < initials.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(initials[i]);
    if (c <= 0x20 || c == 0x7F) initials[i] = kDefaultPieceInitials[i];
  }
  return initials;
}

const std::vector<Field<SettingsSection>>& SettingsFields() {
  using S = SettingsSection;
  static const std::vector<Field<S>> fields = [] {
    std::vector<Field<S>> list = {
        Record("DlgBM Dimensions", &S::bookmarksDialog),
        Record("DlgSearchComments", &S::searchCommentsDialog),
        Record("DlgEngine Dimensions_v14", &S::engineDialog),
        Record("DlgExplorer Dimensions", &S::explorerDialog),
        Record("DlgEngineOption Dimensions", &S::engineListDialog),
        Record("Folders Dimensions", &S::collectionList),
        Record("Results Dimensions", &S::resultsList),
        Record("Events Dimensions", &S::eventsList),
        Record("Players List Dimensions", &S::playersList),
    };
    for (const ColourKey& colour : ColourKeys()) list.push_back(Colour(colour));
    const std::vector<Field<S>> rest = {
        Integer("Backup Files", &S::backupFiles),
        {"User Colours",
         [](const ReadContext& in, S& s) {
           s.userColours = ParseUserColours(in.Text("User Colours", UserColoursText(WhiteUserColours())));
         },
         [](WriteContext& out, const S& s) {
           out.ini.SetText(out.section, "User Colours", UserColoursText(s.userColours));
         }},
        Integer("Chess Font Type", &S::chessFontType),
        Font("LogFont", &S::font),
        Font("LogFont ( Moves )", &S::fontMoves),
        Font("LogFont ( High Move )", &S::fontHighMove),
        Font("LogFont ( Branch )", &S::fontBranch),
        Font("LogFont ( Comment )", &S::fontComment),
        Font("LogFont ( Border )", &S::fontBorder),
        Text("PrintHeaderText", &S::printHeaderText),
        Text("PrintFooterText", &S::printFooterText),
        Integer("Graded Option", &S::gradedOption),
        YesNo("Bad Continuation", &S::badContinuation),
        YesNo("ShortNotation", &S::shortNotation),
        YesNo("PGNLongAlgebraic", &S::pgnLongAlgebraic),
        YesNo("OpenLast", &S::openLast),
        YesNo("Do ClassicFileOpen", &S::classicFileOpen),
        YesNo("ECOByTransposition", &S::ecoByTransposition),
        YesNo("ShowPreCommentWindow", &S::showPreCommentWindow),
        YesNo("PGNExtensions", &S::pgnExtensions),
        YesNo("ShowText", &S::showText),
        YesNo("ShowBevel", &S::showBevel),
        YesNo("ShowPlayers", &S::showPlayers),
        YesNo("ShowFile", &S::showFile),
        YesNo("AHLower", &S::ahLower),
        Integer("Option AH", &S::optionAH),
        YesNo("ArrowLast", &S::arrowLast),
        YesNo("ArrowNext", &S::arrowNext),
        YesNo("ArrowVariations", &S::arrowVariations),
        Text("FileViewer", &S::fileViewer),
        Text("RTFEditor", &S::rtfEditor),
        {"PieceInitials",
         [](const ReadContext& in, S& s) {
           s.pieceInitials = UsablePieceInitials(in.Text("PieceInitials", kDefaultPieceInitials));
         },
         [](WriteContext& out, const S& s) { out.ini.SetText(out.section, "PieceInitials", s.pieceInitials); }},
        {"Print Options",
         [](const ReadContext& in, S& s) {
           ReadRecord(in, "Print Options", s.printOptions, PrintOptions{});
           PrintOptions& options = s.printOptions.value;
           options.style = std::max(options.style, 0);
           options.textSize = std::max(options.textSize, 0);
           options.boardSquareSize = std::max(options.boardSquareSize, 0);
         },
         [](WriteContext& out, const S& s) { WriteRecord(out, "Print Options", s.printOptions.value); }},
        {"PGN Export Options",
         [](const ReadContext& in, S& s) { ReadRecord(in, "PGN Export Options", s.pgnExport, PgnExportFields{}); },
         [](WriteContext& out, const S& s) { WriteRecord(out, "PGN Export Options", s.pgnExport.value); }},
        Integer("DoModal_FontSize", &S::dialogFontSize, 7, 12),
    };
    list.insert(list.end(), rest.begin(), rest.end());
    return list;
  }();
  return fields;
}

const std::vector<Field<ApplicationSection>>& ApplicationFields() {
  using A = ApplicationSection;
  static const std::vector<Field<A>> fields = {
      YesNo("Toolbar", &A::toolbar),
      // Read as "NavigationBar", written as "Navigationbar": one key either way.
      {"Navigationbar",
       [](const ReadContext& in, A& a) { a.navigationBar = ParseYesNo(in.Text("NavigationBar", "YES")); },
       [](WriteContext& out, const A& a) {
         out.ini.SetText(out.section, "Navigationbar", YesNoText(a.navigationBar));
       }},
      Record("Window Placement", &A::windowPlacement),
      Record("dlgComment Placement FEN", &A::commentPlacementFen),
      Record("dlgComment Placement PGN", &A::commentPlacementPgn),
      Proportion("Display Width", &A::displayWidth),
      Proportion("Display Width HZ Pre", &A::displayWidthHzPre),
      Proportion("Display Width HZ Post", &A::displayWidthHzPost),
      Integer("SizeCHS", &A::sizeChs),
      Integer("UCI_Hash", &A::uciHash),
      Integer("UCI_MultiPV", &A::uciMultiPv),
      Integer("UCI_EngineSelection", &A::uciEngineSelection),
      YesNo("UCI_DoMultiPV", &A::uciDoMultiPv),
      YesNo("UCI_DoOneCPU", &A::uciDoOneCpu),
      {"UCI_Engines",
       [](const ReadContext& in, A& a) {
         a.uciEngines = in.Text("UCI_Engines", kNoRecord);
         if (a.uciEngines == kNoRecord) a.uciEngines.clear();
       },
       [](WriteContext& out, const A& a) { out.ini.SetText(out.section, "UCI_Engines", a.uciEngines); }},
  };
  return fields;
}

}  // namespace

bool PlausibleFont(const TextFont& font) {
  if (font.face.empty() || font.pointSize < 1 || font.pointSize > 1000) return false;
  return std::all_of(font.face.begin(), font.face.end(),
                     [](char c) { return static_cast<unsigned char>(c) >= 0x20 && c != 0x7F; });
}

bool PutFirstRunColours(IniFile& ini, ColourScheme scheme) {
  if (ini.Has(kSettingsSection, "Grid Colour")) return false;
  const DisplayColours colours = SchemeColours(scheme);
  for (const ColourKey& key : ColourKeys()) ini.SetText(kSettingsSection, key.name, ColourText(colours.*key.member));
  return true;
}

void ReadSettingsSection(const IniFile& ini, SettingsSection& out, UserPrompt& prompt, const FontCheck& canMake) {
  const ReadContext in{ini, kSettingsSection, &prompt, &canMake};
  for (const auto& field : SettingsFields()) field.read(in, out);
}

void WriteToINI(IniFile& ini, const SettingsSection& in, UserPrompt& prompt) {
  WriteContext out{ini, kSettingsSection, prompt};
  for (const auto& field : SettingsFields()) field.write(out, in);
}

void ReadApplicationSection(const IniFile& ini, ApplicationSection& out) {
  const ReadContext in{ini, kApplicationSection, nullptr, nullptr};
  for (const auto& field : ApplicationFields()) field.read(in, out);
}

void WriteApplicationSection(IniFile& ini, const ApplicationSection& in, UserPrompt& prompt) {
  WriteContext out{ini, kApplicationSection, prompt};
  for (const auto& field : ApplicationFields()) field.write(out, in);
}

Settings ReadSettings(const IniFile& ini, UserPrompt& prompt, const FontCheck& canMake) {
  Settings settings;
  ReadSettingsSection(ini, settings.settings, prompt, canMake);
  ReadApplicationSection(ini, settings.application);
  settings.recentFiles.Read(ini);
  return settings;
}

int ProportionThousandths(double ratio) {
  if (!std::isfinite(ratio)) return 0;
  // The small nudge keeps ratios read from thousandths (0.29 is a little
  // under 290 / 1000 in binary) from losing one each time they are written.
  const double thousandths = ratio * 1000.0;
  const double nudged = std::trunc(thousandths + (thousandths >= 0 ? 1e-6 : -1e-6));
  return static_cast<int>(std::clamp(nudged, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

const std::vector<std::string_view>& SettingsSectionKeys() {
  static const std::vector<std::string_view> keys = [] {
    std::vector<std::string_view> names;
    for (const auto& field : SettingsFields()) names.push_back(field.key);
    return names;
  }();
  return keys;
}

}  // namespace varnock
