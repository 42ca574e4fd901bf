// The system clipboard as the commands use it: plain text, an RTF document
// (under the names other programs look for) and a bitmap.
#pragma once

#include <QImage>
#include <string>

#include "core/Clipboard.h"

namespace varnock {

class AppClipboard : public Clipboard {
 public:
  // The MIME names an RTF document is offered under.
  static constexpr const char* kRtfFormats[] = {"Rich Text Format", "text/rtf", "application/rtf"};

  void SetText(const std::string& text) override;
  void SetRtf(const std::string& rtf);
  void SetImage(const QImage& image);
};

}  // namespace varnock
