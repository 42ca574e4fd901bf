#include "app/AppClipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "app/QtPrompt.h"

namespace varnock {

void AppClipboard::SetText(const std::string& text) { QApplication::clipboard()->setText(ScreenText(text)); }

void AppClipboard::SetRtf(const std::string& rtf) {
  auto* data = new QMimeData;
  const QByteArray bytes = QByteArray::fromStdString(rtf);
  for (const char* format : kRtfFormats) data->setData(QString::fromLatin1(format), bytes);
  QApplication::clipboard()->setMimeData(data);
}

void AppClipboard::SetImage(const QImage& image) { QApplication::clipboard()->setImage(image); }

}  // namespace varnock
