// varnock: the desktop program. Start-up: the Qt application before anything
// draws, the chess fonts, the settings, then the main window and the file it
// opens; shutdown: the window's question and its "Application" section, then
// the "Settings" section and the fonts.
#include <QApplication>
#include <QDesktopServices>
#include <QIcon>
#include <QUrl>
#include <string>
#include <vector>

#include "app/FrameWin.h"
#include "app/QtPrompt.h"
#include "collection/DataPlaces.h"
#include "render/ChessFontFiles.h"
#include "render/ProductInfo.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsLocation.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Varnock"));
  QApplication::setApplicationVersion(QString::fromLatin1(varnock::BuildVersionText()));
  // Desktops without an icon theme of their own get the one the program
  // installs with.
  if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
    QIcon::setThemeName(QStringLiteral("Adwaita"));
  QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));

  std::vector<std::string> files;
  for (const QString& argument : application.arguments().mid(1)) files.push_back(argument.toStdString());

  varnock::QtPrompt prompt(nullptr, [](const std::string& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
  });
  varnock::LoadChessFonts(varnock::DefaultFontFolder(), prompt);
  const std::string settingsPath = varnock::SettingsFilePath();
  varnock::Settings settings = varnock::LoadSettings(settingsPath, prompt);
  varnock::DefaultTempFolder();  // made when missing

  int status = 0;
  {
    varnock::FrameWin window(settings, prompt, settingsPath);
    prompt.SetParent(&window);
    window.show();
    window.OpenStartFile(files);
    status = application.exec();
    prompt.SetParent(nullptr);
  }
  if (!settingsPath.empty()) varnock::SaveSettings(settingsPath, settings, prompt, varnock::kSectionSettings);
  varnock::UnloadChessFonts();
  return status;
}
