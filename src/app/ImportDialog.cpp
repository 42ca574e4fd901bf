#include "app/ImportDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "collection/GameAdditions.h"

namespace varnock {

ImportDialog::ImportDialog(const QString& title, bool pgn, QWidget* parent) : QDialog(parent) {
  setWindowTitle(title);
  setWindowModality(Qt::ApplicationModal);
  text_ = new QPlainTextEdit;
  text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  text_->setLineWrapMode(pgn ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  if (pgn) {
    braces_ = new QCheckBox(QString::fromLatin1(kBraceOptionLabel));
    layout->addWidget(braces_);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  // Return types a new line in the box; Ctrl+Return (or Ctrl+Enter) accepts.
  text_->installEventFilter(this);
  resize(pgn ? 640 : 560, pgn ? 420 : 160);
  text_->setFocus();
}

bool ImportDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == text_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && (key->modifiers() & Qt::ControlModifier)) {
      accept();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void ImportDialog::SetText(const QString& text) {
  text_->setPlainText(text);
  text_->selectAll();
}

QString ImportDialog::Text() const { return text_->toPlainText(); }

void ImportDialog::SetBracesToBrackets(bool on) {
  if (braces_) braces_->setChecked(on);
}

bool ImportDialog::BracesToBrackets() const { return braces_ && braces_->isChecked(); }

}  // namespace varnock
