// " FEN Import" and " PGN Import": a text box for pasted text (Ctrl+Return
// accepts) and, for PGN, the option that turns nested braces into brackets.
#pragma once

#include <QDialog>

class QCheckBox;
class QPlainTextEdit;

namespace varnock {

class ImportDialog : public QDialog {
  Q_OBJECT
 public:
  ImportDialog(const QString& title, bool pgn, QWidget* parent = nullptr);

  void SetText(const QString& text);
  QString Text() const;
  void SetBracesToBrackets(bool on);
  bool BracesToBrackets() const;
  QPlainTextEdit& TextBox() { return *text_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPlainTextEdit* text_;
  QCheckBox* braces_ = nullptr;
};

}  // namespace varnock
