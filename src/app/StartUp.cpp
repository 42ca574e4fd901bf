#include "app/StartUp.h"

#include <sys/stat.h>

#include <filesystem>

#include "core/Format.h"

namespace varnock {

namespace {

bool Exists(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0;
}

}  // namespace

std::optional<std::string> StartFile(const std::vector<std::string>& arguments, const Settings& settings,
                                     UserPrompt& prompt) {
  if (arguments.empty()) {
    if (!settings.settings.openLast) return std::nullopt;
    const std::string newest = settings.recentFiles.Newest();
    if (newest.empty() || !Exists(newest)) return std::nullopt;
    return newest;
  }
  const std::string& first = arguments.front();
  if (arguments.size() > 1) {
    std::string others;
    for (std::size_t i = 1; i < arguments.size(); ++i) others += arguments[i] + "\r\n";
    prompt.Inform("FrameWin::FrameWin ()",
                  Format("Unable to load multiple files.\r\n\r\n'%s'\r\n\r\nwill been loaded.\r\nThe following will "
                         "not be loaded:\r\n\r\n%s",
                         first.c_str(), others.c_str()));
  }
  if (!Exists(first)) {
    prompt.Inform("FrameWin::FrameWin ()", Format("'%s'\n\nThe system cannot find the file.", first.c_str()));
    return std::nullopt;
  }
  // Kept in the recent-file list, the name must hold from any folder.
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(first, error);
  return error ? first : absolute.lexically_normal().string();
}

QRect DefaultWindowRect(const QRect& screen) {
  const int left = screen.left() + screen.width() / 10;
  const int right = screen.left() + screen.width() * 9 / 10;
  const int top = screen.top() + screen.height() / 12;
  const int bottom = screen.top() + screen.height() * 5 / 6;
  return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

std::optional<QRect> StoredWindowRect(const WindowPlacement& placement, const QRect& screen) {
  const RecordRect& r = placement.normalPosition;
  const QRect rect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
  // A placement too small to use, or wholly off this screen, is not restored.
  if (rect.width() < 200 || rect.height() < 150 || !rect.intersects(screen)) return std::nullopt;
  return rect;
}

WindowPlacement PlacementOf(const QRect& normal, bool maximised) {
  WindowPlacement placement;
  placement.showState = maximised ? WindowPlacement::kMaximised : WindowPlacement::kNormal;
  placement.normalPosition = RecordRect{normal.left(), normal.top(), normal.right() + 1, normal.bottom() + 1};
  return placement;
}

}  // namespace varnock
