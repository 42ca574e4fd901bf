#include "app/PromotionPicker.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QPainter>
#include <QScreen>
#include <QToolButton>
#include <algorithm>
#include <cmath>

#include "app/BoardTiles.h"
#include "render/ChessFontMap.h"
#include "settings/Settings.h"
#include "tree/MoveEntry.h"

namespace varnock {

namespace {

constexpr int kPieceSide = 56;  // logical pixels of one piece button

// The key that picks a piece type.
Qt::Key KeyOf(std::uint8_t type) {
  switch (type) {
    case kQueen:
      return Qt::Key_Q;
    case kKnight:
      return Qt::Key_N;
    case kRook:
      return Qt::Key_R;
    default:
      return Qt::Key_B;
  }
}

const char* NameOf(std::uint8_t type) {
  switch (type) {
    case kQueen:
      return "Queen";
    case kKnight:
      return "Knight";
    case kRook:
      return "Rook";
    default:
      return "Bishop";
  }
}

}  // namespace

PromotionPicker::PromotionPicker(const SettingsSection& settings, std::uint8_t colour, int itemCount, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(QString::fromLatin1(kPromotionTitle));
  setModal(true);
  const double dpr = parent ? parent->devicePixelRatioF() : devicePixelRatioF();
  const int tile = std::max(1, static_cast<int>(std::lround(kPieceSide * dpr)));
  BoardTiles tiles;
  tiles.Update(settings, tile);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(6, 6, 6, 6);
  row->setSpacing(4);
  const int count = std::min(itemCount, kPromotionChoiceCount);
  for (int i = 0; i < count; ++i) {
    const std::uint8_t type = kPromotionChoices[i];
    QImage image = tiles.Strip().Tile(TileIndex(static_cast<std::uint8_t>(type | colour), true));
    image.setDevicePixelRatio(dpr);
    auto* button = new QToolButton(this);
    button->setIcon(QIcon(QPixmap::fromImage(image)));
    button->setIconSize(QSize(kPieceSide, kPieceSide));
    button->setAutoRaise(true);
    button->setObjectName(QStringLiteral("promotion%1").arg(i));
    button->setAccessibleName(QString::fromLatin1(NameOf(type)));
    button->setToolTip(
        QStringLiteral("%1 (%2)").arg(QString::fromLatin1(NameOf(type)), QKeySequence(KeyOf(type)).toString()));
    button->setShortcut(QKeySequence(KeyOf(type)));
    if (i == 0) button->setFocus();
    connect(button, &QToolButton::clicked, this, [this, i] { Pick(i); });
    row->addWidget(button);
  }
}

void PromotionPicker::Pick(int index) {
  chosen_ = index;
  accept();
}

void BoardPrompt::PlaceNextPicker(QWidget* parent, QPoint globalPos, std::uint8_t colour) {
  parent_ = parent;
  pickerPos_ = globalPos;
  colour_ = colour;
}

std::optional<int> BoardPrompt::Choose(const std::string& title, const std::vector<std::string>& items) {
  if (title != kPromotionTitle) return ForwardingPrompt::Choose(title, items);
  PromotionPicker picker(settings_, colour_, static_cast<int>(items.size()), parent_);
  picker.adjustSize();
  QPoint at = pickerPos_ - QPoint(picker.width() / 2, picker.height() / 2);
  if (const QScreen* screen = parent_ ? parent_->screen() : nullptr) {
    const QRect area = screen->availableGeometry();
    at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - picker.width())));
    at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() - picker.height())));
  }
  picker.move(at);
  if (picker.exec() != QDialog::Accepted) return std::nullopt;
  return picker.Chosen();
}

}  // namespace varnock
