#include "app/ExplorerWindow.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/CommandTable.h"
#include "app/QtPrompt.h"
#include "settings/ListLayout.h"

namespace varnock {

namespace {

// The default column widths, in 42nds of the list's width.
constexpr int kDefaultShares[6] = {8, 8, 5, 5, 5, 10};
constexpr int kShareWhole = 42;

}  // namespace

ExplorerWindow::ExplorerWindow(Settings& settings, QWidget* parent) : QWidget(parent, Qt::Window), settings_(settings) {
  setWindowTitle(QStringLiteral("Openings Explorer"));
  list_ = new QTreeWidget;
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setAllColumnsShowFocus(true);
  list_->setColumnCount(static_cast<int>(kExplorerColumns.size()));
  QStringList headings;
  for (const char* heading : kExplorerColumns) headings << QString::fromLatin1(heading);
  list_->setHeaderLabels(headings);
  list_->header()->setStretchLastSection(true);
  const TextFont& font = settings_.settings.font.value;
  list_->setFont(QFont(ScreenText(font.face), std::clamp(font.pointSize, 4, 72)));
  connect(list_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { ItemDoubleClicked(item); });

  database_ = new QLabel;
  database_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  // A long path does not widen the window.
  database_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  build_ = new QPushButton(ScreenText(LabelText(CommandOf(CommandId::BuildExplorerDatabase).label)));
  build_->setAutoDefault(false);
  connect(build_, &QPushButton::clicked, this, &ExplorerWindow::BuildRequested);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(database_, 1);
  bottom->addWidget(build_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_, 1);
  layout->addLayout(bottom);
  // Wide enough for the openings' names in the last column.
  resize(980, 360);
  PlaceBesideParent();
  RestoreLayout();
}

void ExplorerWindow::PlaceBesideParent() {
  const QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
  const QScreen* shown = main ? main->screen() : screen();
  if (!main || !shown) return;
  // Right of the main window when there is room, else over its right part.
  const QRect room = shown->availableGeometry();
  const QRect beside = main->frameGeometry();
  int left = beside.right() + 1;
  if (left + width() > room.right()) left = std::max(room.left(), beside.right() - width());
  move(left, std::max(room.top(), beside.top()));
}

void ExplorerWindow::SetSources(const ExplorerSources& sources, const std::string& databaseText) {
  sources_ = sources;
  database_->setText(ScreenText(databaseText));
  database_->setToolTip(database_->text());
  if (shown_) Recompute();
}

void ExplorerWindow::Show(const BoardSquares& board, std::uint8_t sideToMove) {
  if (shown_ && board == board_ && sideToMove == side_) return;
  board_ = board;
  side_ = sideToMove;
  shown_ = true;
  Recompute();
}

void ExplorerWindow::Recompute() {
  view_ = ExplorerViewOf(board_, side_, sources_);
  setWindowTitle(view_.title.empty() ? QStringLiteral("Openings Explorer") : ScreenText(view_.title));
  Fill();
}

void ExplorerWindow::Fill() {
  list_->clear();
  QList<QTreeWidgetItem*> items;
  for (const ExplorerCells& cells : view_.lines) {
    auto* item = new QTreeWidgetItem;
    for (std::size_t column = 0; column < cells.size(); ++column) {
      const int at = static_cast<int>(column);
      item->setText(at, ScreenText(cells[column]));
      if (column >= 1 && column <= 4) item->setTextAlignment(at, Qt::AlignRight | Qt::AlignVCenter);
    }
    items << item;
  }
  list_->addTopLevelItems(items);
}

void ExplorerWindow::ItemDoubleClicked(QTreeWidgetItem* item) {
  if (!item) return;
  const std::string move = item->text(0).toStdString();
  // The row is found by its move text, as the list shows it.
  for (const SExplorerMove& row : view_.rows)
    if (row.moveText == move) {
      Q_EMIT RowChosen(row);
      return;
    }
}

void ExplorerWindow::keyPressEvent(QKeyEvent* event) {
  // The window stays open on Esc and Return.
  if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

void ExplorerWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (widthsSet_) return;
  widthsSet_ = true;
  const int width = std::max(list_->viewport()->width(), 100);
  for (int column = 0; column < 6; ++column)
    list_->setColumnWidth(column, width * kDefaultShares[column] / kShareWhole);
}

void ExplorerWindow::closeEvent(QCloseEvent* event) {
  StoreLayout();
  QWidget::closeEvent(event);
  Q_EMIT Closed();
}

void ExplorerWindow::RestoreLayout() {
  const SavedRecord<DialogLayout>& stored = settings_.settings.explorerDialog;
  if (!stored.saved) return;
  const ListLayout layout = ListLayoutOf(stored.value);
  const RecordRect& r = layout.rect;
  if (r.right - r.left >= 100 && r.bottom - r.top >= 60 && r.right - r.left <= 10000 && r.bottom - r.top <= 10000)
    setGeometry(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)));
  if (layout.widths.size() == kExplorerColumns.size()) {
    for (int column = 0; column < 6; ++column)
      list_->setColumnWidth(column, std::min(layout.widths[static_cast<std::size_t>(column)], 5000));
    widthsSet_ = true;
  }
}

void ExplorerWindow::StoreLayout() {
  if (!isVisible() || isMinimized() || isMaximized()) return;
  ListLayout layout;
  const QRect shown = geometry();
  layout.rect = RecordRect{shown.left(), shown.top(), shown.right() + 1, shown.bottom() + 1};
  for (int column = 0; column < 6; ++column) layout.widths.push_back(std::max(1, list_->columnWidth(column)));
  settings_.settings.explorerDialog = {ToDialogLayout(layout), true};
}

}  // namespace varnock
