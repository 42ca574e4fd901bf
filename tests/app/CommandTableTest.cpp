// The command table against the menu vocabulary: every label once, every
// key once, each action's text and shortcut taken from its label.
#include <gtest/gtest.h>

#include <QAction>
#include <QKeySequence>
#include <map>
#include <set>

#include "app/CommandRouter.h"
#include "app/CommandTable.h"
#include "app/FrameWin.h"
#include "app/MenuLayout.h"
#include "settings/Settings.h"
#include "support/ScriptedPrompt.h"

namespace varnock {
namespace {

// The labels of the main menus, exactly as the menus show them, toggled
// forms included.
const char* const kMenuLabels[] = {
    "&Load File\tCtrl+O",
    "&ReLoad\tCtrl+L",
    "Save\tCtrl+S",
    "Save &As\tCtrl+A",
    "&Export the Current Game ( RTF File )\tCtrl+R",
    "&Export the Current Game ( PGN )\tCtrl+X",
    "E&xit\tAlt+F4",
    "Start a new &Collection\tCtrl+E",
    "Add a new Game\tCtrl+N",
    "Paste Game from a &FEN String\tAlt+F",
    "Paste Game(s) from PGN Text\tAlt+P",
    "&Delete Current Game\tCtrl+Delete",
    "&Import File(s)\tCtrl+Insert",
    "&Reorder Games in the Collection",
    "&Display Games in Collection\tF6",
    "Go to &First Game\tCtrl+Home",
    "Go to &Last Game\tCtrl+End",
    "Go to &Previous Game\tCtrl+Left",
    "Go to &Next Game\tCtrl+Right",
    "Go &Up Eight Games\tCtrl+PageUp",
    "Go &Down Eight Games\tCtrl+PageDown",
    "&Compose a Game Position\tCtrl+C",
    "Add a Print &Diagram\tCtrl+D",
    "Remove Print &Diagram\tCtrl+D",
    "&Pass",
    "Make &Invalid Move",
    "Launch &UCI Interface\tCtrl+U",
    "&View Game File\tCtrl+V",
    "Set &ECO Classification for Current Game\tCtrl+W",
    "Set &ECO Classifications for all Games",
    "Set &Event Information for all Games",
    "Launch &Explorer Interface\tCtrl+Y",
    "Build Explorer Database from this Collection",
    "Save Board Position as GIF &Image\tCtrl+F",
    "Copy &BMP Image to Clipboard\tCtrl+G",
    "Copy &ASCII to Clipboard\tShift+Ctrl+A",
    "Copy &FEN String to Clipboard\tShift+Ctrl+F",
    "Copy to Clipboard ( MS &Word Format )\tShift+Ctrl+U",
    "Copy &PGN Text to Clipboard\tShift+Ctrl+P",
    "Add a &Game Result\tShift+Ctrl+G",
    "Rate the Game &Move\tShift+Ctrl+M",
    "Rate the Positional &Advantage\tShift+Ctrl+V",
    "Show &Openings Statistics\tF7",
    "Show &Player Statistics\tF8",
    "Show &Event Statistics\tCtrl+F9",
    "&Game Information\tF9",
    "Remove all &Comments in Current Game",
    "Remove all &Comments from all Games",
    "Delete Current Move\tDelete",
    "&Delete Branch\tCtrl+Alt+D",
    "Remove &Higher Branching\tCtrl+Alt+H",
    "Remove &Lower Branching\tCtrl+Alt+L",
    "&Truncate\tCtrl+Alt+T",
    "&Remove Neighbouring Branches\tCtrl+Alt+X",
    "&Previous Position\tLeft,  F11",
    "&Next Position\tRight,  F12",
    "Go to &Start Position\tHome",
    "Go to &End Position\tEnd",
    "Go to &Previous Junction\tPageUp",
    "Go to &Next Junction\tPageDown",
    "Go to &Neighbouring Branch\tBackSpace",
    "&Find Comment\tCtrl+Alt+C",
    "Find &Next Comment\tCtrl+Alt+N",
    "Find &Previous Comment\tCtrl+Alt+P",
    "Go to Previous Pawn / &Capture Move\tCtrl+Alt+U",
    "Go to Next Pawn / &Capture Move\tCtrl+Alt+V",
    "Go to &Move Number\tCtrl+Alt+W",
    "Cycle through Branch &Ends - Rev\tCtrl+Alt+E",
    "Cycle through Branch &Ends - Fwd\tCtrl+Alt+F",
    "Set &Bookmark\tAlt+F2",
    "Remove &Bookmark\tAlt+F2",
    "Delete &all Bookmarks",
    "&Display Bookmarks\tF2",
    "Mark Current Position as &Primary\tAlt+F3",
    "&Go to Primary Position\tF3",
    "Remove all Stored ( Ctrl+n ) Positions",
    "&Tool bar",
    "&Navigation bar",
    "&Game Tree up one Line\tAlt+Up",
    "&Game Tree down one Line\tAlt+Down",
    "&Game Tree up one Page\tAlt+PageUp",
    "&Game Tree down one Page\tAlt+PageDown",
    "&Game Tree to Top\tAlt+Home",
    "&Game Tree to Bottom\tAlt+End",
    "Size &Up\tShift+Ctrl+Right",
    "Size &Down\tShift+Ctrl+Left",
    "&Reverse Board\tShift+Ctrl+R",
    "Pre-Comment &Window\tShift+Ctrl+W",
    "&Preview Window\tShift+Ctrl+F4",
    "&Stored Position\tShift+Ctrl+F6",
    "User &Preferences\tShift+Ctrl+O",
    "Display A-H,1-8",
    "Arrow &Previous Moves",
    "Arrow &Next Moves",
    "Arrow &Variations",
    "Help Contents\tF1",
    "&About",
};

TEST(CommandTableTest, EveryMenuLabelIsDeclaredOnceAndNothingElse) {
  std::multiset<std::string> declared;
  for (const Command& command : Commands()) {
    if (*command.label) declared.insert(command.label);
    if (command.toggledLabel) declared.insert(command.toggledLabel);
  }
  for (const char* label : kMenuLabels) EXPECT_EQ(declared.count(label), 1u) << label;
  EXPECT_EQ(declared.size(), std::size(kMenuLabels));
}

TEST(CommandTableTest, EveryIdOnceAndEveryLabelledCommandInExactlyOneMenu) {
  std::map<CommandId, int> inMenus;
  for (const MenuEntries& menu : MainMenus())
    for (CommandId id : menu.entries)
      if (id != kSeparator) ++inMenus[id];
  std::set<CommandId> ids;
  for (const Command& command : Commands()) {
    EXPECT_TRUE(ids.insert(command.id).second) << static_cast<int>(command.id);
    EXPECT_EQ(inMenus[command.id], *command.label ? 1 : 0) << command.label;
  }
}

TEST(CommandTableTest, NoKeyIsUsedTwiceAndTheTenStoreAndRecallKeysExist) {
  std::map<QString, std::string> owners;  // by the key's portable text
  int keys = 0;
  for (const Command& command : Commands()) {
    for (const std::string& key : CommandKeys(command)) {
      const QKeySequence sequence = KeySequenceOf(key);
      ASSERT_EQ(sequence.count(), 1) << key;
      ASSERT_NE(sequence[0].key(), Qt::Key_unknown) << key;
      const auto [at, fresh] = owners.emplace(sequence.toString(), command.label);
      EXPECT_TRUE(fresh) << key << " is used by '" << at->second << "' and '" << command.label << "'";
      ++keys;
    }
  }
  for (int digit = 0; digit < 10; ++digit) {
    EXPECT_TRUE(owners.count(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_0 + digit)).toString()));
    EXPECT_TRUE(owners.count(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key(Qt::Key_0 + digit)).toString()));
  }
  EXPECT_GE(keys, 100);
}

TEST(CommandTableTest, LabelsSplitIntoTextAndKeys) {
  EXPECT_EQ(LabelText("&Previous Position\tLeft,  F11"), "&Previous Position");
  EXPECT_EQ(LabelKeys("&Previous Position\tLeft,  F11"), (std::vector<std::string>{"Left", "F11"}));
  EXPECT_EQ(LabelKeys("Display A-H,1-8"), std::vector<std::string>{});
  EXPECT_EQ(LabelKeys("Size &Up\tShift+Ctrl+Right"), std::vector<std::string>{"Shift+Ctrl+Right"});
}

TEST(CommandTableTest, EachActionShowsItsLabelAndHasTheKeysAfterTheTab) {
  Settings settings;
  testing::ScriptedPrompt prompt;
  FrameWin window(settings, prompt);
  for (const Command& command : Commands()) {
    QAction* action = window.Router().Action(command.id);
    ASSERT_NE(action, nullptr);
    if (*command.label && !command.toggledLabel) {
      EXPECT_EQ(action->text().toStdString(), command.label);
    }
    QList<QKeySequence> expected;
    for (const std::string& key : CommandKeys(command)) expected << KeySequenceOf(key);
    EXPECT_EQ(action->shortcuts(), expected) << command.label;
  }
}

}  // namespace
}  // namespace varnock
