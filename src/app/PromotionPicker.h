// The promotion picker: a small modal dialog of the four pieces a pawn can
// become, drawn in the board's chess font, and the prompt that shows it when
// move entry asks for the promotion piece.
#pragma once

#include <QDialog>
#include <cstdint>
#include <optional>

#include "core/ForwardingPrompt.h"

namespace varnock {

struct SettingsSection;

class PromotionPicker : public QDialog {
  Q_OBJECT
 public:
  // Offers the pieces of `items` (the promotion list of move entry, in its
  // order) in `colour`. Q, N, R and B pick by key; Return takes the queen;
  // Esc cancels.
  PromotionPicker(const SettingsSection& settings, std::uint8_t colour, int itemCount, QWidget* parent = nullptr);

  // The index of the piece picked, or nothing when cancelled.
  std::optional<int> Chosen() const { return chosen_; }

 private:
  void Pick(int index);

  std::optional<int> chosen_;
};

// A prompt for board move entry: the promotion question goes to the picker,
// every other question to the window's prompt.
class BoardPrompt : public ForwardingPrompt {
 public:
  BoardPrompt(UserPrompt& inner, const SettingsSection& settings) : ForwardingPrompt(inner), settings_(settings) {}

  // Where the picker opens (global position) and whose pieces it shows.
  void PlaceNextPicker(QWidget* parent, QPoint globalPos, std::uint8_t colour);

  std::optional<int> Choose(const std::string& title, const std::vector<std::string>& items) override;

 private:
  const SettingsSection& settings_;
  QWidget* parent_ = nullptr;
  QPoint pickerPos_;
  std::uint8_t colour_ = 2;
};

}  // namespace varnock
