#include "app/CommentPane.h"

#include <QFocusEvent>
#include <QTextCursor>

#include "app/GameTextFonts.h"
#include "render/DisplayText.h"
#include "tree/PaneComments.h"

namespace varnock {

namespace {

// The control keeps line breaks as LF; the tree keeps them as CR LF.
QString ShownText(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

std::string StoredText(const QString& shown, bool latin1) {
  QString text = shown;
  text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return EncodeText(text, latin1);
}

}  // namespace

CommentPane::CommentPane(Kind kind, const Settings& settings, QWidget* parent) : QPlainTextEdit(parent), kind_(kind) {
  setFont(QFontOf(settings.settings.fontComment.value));
  document()->setDocumentMargin(2);
  setTabChangesFocus(true);
  if (kind_ == Kind::BeforeMove && !settings.settings.showPreCommentWindow) hide();
  Reload(kNoNode);
}

void CommentPane::ShowGame(GameTree* game) {
  game_ = game;
  Reload(game_ ? game_->current : kNoNode);
}

void CommentPane::Refresh() {
  const NodeRef current = game_ ? game_->current : kNoNode;
  if (current == node_ && (!game_ || PaneCommentOf(*game_, current, StoreKind()) == loadedBytes_)) return;
  // Typed text is never dropped: it goes to the move it was typed for.
  if (current != node_ && Edited()) Commit();
  Reload(current);
}

bool CommentPane::Edited() const { return node_ != kNoNode && toPlainText() != loadedText_; }

bool CommentPane::Commit() {
  bool changed = false;
  if (game_ && Edited()) {
    changed = StorePaneComment(*game_, node_, StoreKind(), StoredText(toPlainText(), latin1_));
    Reload(node_);
  }
  moveCursor(QTextCursor::End);
  ensureCursorVisible();
  if (changed) Q_EMIT GameEdited();
  return changed;
}

void CommentPane::ToggleShown(bool& showOption) {
  showOption = !showOption;
  if (!showOption) Commit();
  setVisible(showOption);
}

void CommentPane::focusOutEvent(QFocusEvent* event) {
  QPlainTextEdit::focusOutEvent(event);
  // A menu of the pane's own (copy, paste) is part of editing.
  if (event->reason() != Qt::PopupFocusReason) Commit();
}

void CommentPane::Reload(NodeRef node) {
  node_ = node;
  loadedBytes_ = game_ && node != kNoNode ? PaneCommentOf(*game_, node, StoreKind()) : std::string();
  latin1_ = !IsValidUtf8(loadedBytes_);
  setPlainText(ShownText(DecodeText(loadedBytes_, !latin1_)));
  loadedText_ = toPlainText();
  setReadOnly(node == kNoNode);
}

}  // namespace varnock
