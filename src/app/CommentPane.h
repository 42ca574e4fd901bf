// A comment pane of the main window: the comment after the current move, or
// the one before it. The pane follows the current move of the shown game and
// stores what was typed on its move when it loses the focus, or when the
// window commits it before running a command.
#pragma once

#include <QPlainTextEdit>
#include <QString>
#include <string>

#include "settings/Settings.h"
#include "tree/GameTree.h"

namespace varnock {

class CommentPane : public QPlainTextEdit {
  Q_OBJECT
 public:
  enum class Kind { AfterMove, BeforeMove };
  // The before-move pane starts hidden unless "ShowPreCommentWindow" is on.
  CommentPane(Kind kind, const Settings& settings, QWidget* parent = nullptr);

  // The game to follow (nullptr: none); loads the comment of its current
  // move. Commit() first: text typed for the previous game is not kept.
  void ShowGame(GameTree* game);
  // Reloads when the current move or its comment changed; text typed for a
  // move the game has moved away from is stored on that move first.
  void Refresh();
  // Stores the typed text on the pane's move when it differs from what was
  // loaded; true when the tree changed (GameEdited is then emitted). The
  // caret goes to the end of the text in every case.
  bool Commit();

  // "Pre-Comment &Window": flips the option, storing typed text before the
  // pane is hidden, and shows or hides the pane.
  void ToggleShown(bool& showOption);

  Kind PaneKind() const { return kind_; }
  NodeRef Node() const { return node_; }
  // Whether the text differs from what was loaded.
  bool Edited() const;

 Q_SIGNALS:
  void GameEdited();

 protected:
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void Reload(NodeRef node);
  NodeStore::CommentKind StoreKind() const {
    return kind_ == Kind::BeforeMove ? NodeStore::kBefore : NodeStore::kAfter;
  }

  Kind kind_;
  GameTree* game_ = nullptr;
  NodeRef node_ = kNoNode;
  std::string loadedBytes_;  // the comment as the tree held it
  QString loadedText_;       // the same as the control showed it
  bool latin1_ = false;      // the loaded comment was not UTF-8
};

}  // namespace varnock
