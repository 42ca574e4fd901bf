#include "app/QtPrompt.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace varnock {

QString ScreenText(const std::string& text) {
  const QByteArray bytes = QByteArray::fromStdString(text);
  QString decoded = QString::fromUtf8(bytes);
  if (decoded.contains(QChar::ReplacementCharacter)) decoded = QString::fromLatin1(bytes);
  return decoded;
}

QString MessageText(const std::string& text) {
  QString shown = ScreenText(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

QString QtFileFilter(const std::string& filter) {
  const QStringList parts = ScreenText(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].isEmpty()) break;
    QString pattern = parts[i + 1];
    pattern.replace(QStringLiteral("*.*"), QStringLiteral("*"));
    pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
    filters << parts[i] + QStringLiteral(" (") + pattern + QLatin1Char(')');
  }
  return filters.join(QStringLiteral(";;"));
}

namespace {

// A box of the given buttons; Esc answers `escape`.
QMessageBox::StandardButton Ask(QWidget* parent, QMessageBox::Icon icon, const std::string& caption,
                                const std::string& text, QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton escape) {
  QMessageBox box(icon, ScreenText(caption), MessageText(text), buttons, parent);
  box.setWindowModality(Qt::ApplicationModal);
  box.setEscapeButton(escape);
  box.setDefaultButton(buttons.testFlag(QMessageBox::Yes) ? QMessageBox::Yes : QMessageBox::Ok);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

QtPrompt::QtPrompt(QWidget* parent, std::function<void(const std::string&)> viewer)
    : parent_(parent), viewer_(std::move(viewer)) {}

bool QtPrompt::AskYesNo(const std::string& caption, const std::string& text) {
  return Ask(parent_, QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
         QMessageBox::Yes;
}

bool QtPrompt::AskOkCancel(const std::string& caption, const std::string& text) {
  return Ask(parent_, QMessageBox::Question, caption, text, QMessageBox::Ok | QMessageBox::Cancel,
             QMessageBox::Cancel) == QMessageBox::Ok;
}

void QtPrompt::Inform(const std::string& caption, const std::string& text) {
  Ask(parent_, QMessageBox::Information, caption, text, QMessageBox::Ok, QMessageBox::Ok);
}

std::optional<int> QtPrompt::Choose(const std::string& title, const std::vector<std::string>& items) {
  QStringList list;
  for (const std::string& item : items) list << ScreenText(item);
  QInputDialog dialog(parent_);
  dialog.setWindowTitle(ScreenText(title));
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.setLabelText(QString());
  dialog.setComboBoxItems(list);
  dialog.setOption(QInputDialog::UseListViewForComboBoxItems);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const int index = static_cast<int>(list.indexOf(dialog.textValue()));
  if (index < 0) return std::nullopt;
  return index;
}

std::optional<std::string> QtPrompt::AskText(const std::string& title, const std::string& prompt,
                                             const std::string& initial) {
  QInputDialog dialog(parent_);
  dialog.setWindowTitle(ScreenText(title));
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.setLabelText(MessageText(prompt));
  dialog.setTextValue(ScreenText(initial));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.textValue().toStdString();
}

std::optional<std::string> QtPrompt::ChooseFileToOpen(const std::string& title, const std::string& filter,
                                                      const std::string& defaultExtension) {
  (void)defaultExtension;
  const QString path = QFileDialog::getOpenFileName(parent_, ScreenText(title), QString(), QtFileFilter(filter));
  if (path.isEmpty()) return std::nullopt;
  return path.toStdString();
}

std::optional<std::string> QtPrompt::ChooseFileToSave(const std::string& title, const std::string& filter,
                                                      const std::string& defaultExtension) {
  QFileDialog dialog(parent_, ScreenText(title), QString(), QtFileFilter(filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(ScreenText(defaultExtension));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front().toStdString();
}

void QtPrompt::ShowFile(const std::string& path, const std::string& title) {
  (void)title;
  if (viewer_) viewer_(path);
}

}  // namespace varnock
