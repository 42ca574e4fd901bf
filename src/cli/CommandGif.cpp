#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>

#include "cli/Commands.h"
#include "cli/ConsolePrompt.h"
#include "render/BoardImage.h"
#include "render/ChessFontFiles.h"

namespace varnock::cli {

namespace {

// Drawing text into an image needs Qt's GUI session but no display: it runs
// on the offscreen platform unless QT_QPA_PLATFORM names another.
std::unique_ptr<QGuiApplication> StartDrawingSession() {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "varnock-cli";
  static char* argv[] = {name, nullptr};
  // Start-up notes of the platform (such as a missing runtime folder) are
  // of no use off screen.
  const QtMessageHandler previous =
      qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
      });
  auto application = std::make_unique<QGuiApplication>(argc, argv);
  qInstallMessageHandler(previous);
  return application;
}

}  // namespace

// gif FEN OUT.gif [--size PIXELS] [--font N] [--flip] [--bw]: the board
// image as a GIF file.
int CommandGif(const Args& args) {
  DiagramArgs parsed;
  if (int status = ParseDiagramArgs("gif", args, 2, true, parsed); status != 0) return status;
  const std::unique_ptr<QGuiApplication> session = StartDrawingSession();
  ConsolePrompt prompt(false);
  const int fonts = LoadChessFonts(DefaultFontFolder(), prompt);
  GridImageRequest request;
  request.fontIndex = parsed.font;
  request.tileSize = parsed.size;
  request.defaultColours = parsed.blackAndWhite;
  request.board = parsed.extras.board;
  request.reversed = parsed.flip;
  const bool written = CreateGridImage(request, parsed.positional[1], prompt);
  UnloadChessFonts();
  if (!written) return 2;
  return parsed.fenWarning || fonts < 5 ? 1 : 0;
}

}  // namespace varnock::cli
