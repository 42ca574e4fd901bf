// The opening explorer's window: for the position it is shown, the moves
// played from it in the statistics database with their games, results and
// openings, and a line naming the database. A modeless top-level window;
// Esc and Return do not close it. It keeps its rectangle and column widths
// in the settings ("DlgExplorer Dimensions").
#pragma once

#include <QWidget>
#include <string>

#include "core/Board.h"
#include "openings/ExplorerRows.h"
#include "settings/Settings.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace varnock {

class ExplorerWindow : public QWidget {
  Q_OBJECT
 public:
  // `settings` outlive the window: its layout is read from them here and
  // stored into them when it closes.
  ExplorerWindow(Settings& settings, QWidget* parent = nullptr);

  // Where the rows come from, and the line about the database. The shown
  // position is worked out again.
  void SetSources(const ExplorerSources& sources, const std::string& databaseText);
  // Shows the position: the rows are worked out when it differs from the
  // one shown.
  void Show(const BoardSquares& board, std::uint8_t sideToMove);

  const ExplorerView& View() const { return view_; }
  QTreeWidget& List() { return *list_; }
  QLabel& DatabaseLine() { return *database_; }
  QPushButton& BuildButton() { return *build_; }

 Q_SIGNALS:
  // A row was double-clicked: its move is to be played.
  void RowChosen(const SExplorerMove& row);
  void BuildRequested();
  // The window was closed by the user or the program.
  void Closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void Recompute();
  void Fill();
  void PlaceBesideParent();
  void RestoreLayout();
  void StoreLayout();
  void ItemDoubleClicked(QTreeWidgetItem* item);

  Settings& settings_;
  ExplorerSources sources_;
  ExplorerView view_;
  BoardSquares board_{};
  std::uint8_t side_ = kWhite;
  bool shown_ = false;  // a position was given
  bool widthsSet_ = false;
  QTreeWidget* list_ = nullptr;
  QLabel* database_ = nullptr;
  QPushButton* build_ = nullptr;
};

}  // namespace varnock
