#include "render/ChessFontFiles.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QString>
#include <vector>

#include "core/Format.h"

#ifndef VARNOCK_DATA_DIR
#define VARNOCK_DATA_DIR "data"
#endif

namespace varnock {

namespace {

constexpr ChessFontFile kFiles[5] = {
    {"merida.ttf", "Chess Merida", "Merida"}, {"dervantis.ttf", "Chess Dervantis", "Dervantis"},
    {"alpha.ttf", "Chess Alpha", "Alpha"},    {"maya.ttf", "Chess Maya", "Maya"},
    {"motif.ttf", "Chess Motif", "Motif"},
};

std::vector<int>& RegisteredFonts() {
  static std::vector<int> ids;
  return ids;
}

}  // namespace

const ChessFontFile (&ChessFontFiles())[5] { return kFiles; }

std::filesystem::path DefaultFontFolder() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) {
    const std::filesystem::path installed = exe.parent_path().parent_path() / "share" / "varnock" / "Fonts";
    if (std::filesystem::is_directory(installed, error)) return installed;
  }
  return std::filesystem::path(VARNOCK_DATA_DIR) / "Fonts";
}

int LoadChessFonts(const std::filesystem::path& folder, UserPrompt& prompt) {
  // Qt's font database belongs to the GUI application; without one, every
  // registration would fail with a warning of Qt's own.
  if (!QGuiApplication::instance()) return 0;
  int loaded = 0;
  for (const ChessFontFile& file : kFiles) {
    const std::string path = (folder / std::string(file.fileName)).string();
    const int id = QFontDatabase::addApplicationFont(QString::fromStdString(path));
    if (id < 0) {
      prompt.Inform("App::InitInstance", Format("'%s'\n\nUnable to load the %s chess font", path.c_str(),
                                                std::string(file.setName).c_str()));
      continue;
    }
    RegisteredFonts().push_back(id);
    ++loaded;
  }
  return loaded;
}

void UnloadChessFonts() {
  for (int id : RegisteredFonts()) QFontDatabase::removeApplicationFont(id);
  RegisteredFonts().clear();
}

}  // namespace varnock

#if defined(__SANITIZE_ADDRESS__)
// Fontconfig keeps its caches until the process ends; the leak checker of a
// sanitizer build is told so here, beside the code that starts Qt's fonts.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }
#endif
