// The engine analysis window without the window: what SDlgChessEngine shows
// and does, computed on the interface thread from the engine connection's
// events.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/PieceInitials.h"
#include "core/UserPrompt.h"
#include "engine/AnalysisPosition.h"
#include "engine/EngineEvents.h"
#include "engine/EngineLineText.h"
#include "engine/SSebrand.h"

namespace varnock {

// The analysis settings, as the options dialog leaves them.
struct AnalysisSettings {
  std::string enginePath;
  int hashMegabytes = 32;  // "UCI_Hash"
  int lines = 1;           // "UCI_MultiPV" when "UCI_DoMultiPV" is on, else 1
  bool oneProcessor = false;
  int processorCount = static_cast<int>(std::thread::hardware_concurrency());
  std::string initials{kDefaultPieceInitials};
};

// One analysis line as the list shows it, with what is needed to play it.
struct SUCISequence {
  std::string depth;
  std::string score;
  std::string notation;
  std::string coordinates;
  PositionKey position;
};

struct AnalysisRow {
  std::string depth;
  std::string score;
  std::string moves;
  bool operator==(const AnalysisRow&) const = default;
};

// Every text the window shows.
struct AnalysisDisplay {
  std::string title;
  std::string bestHeading = "Best Move";
  std::string bestLine;
  std::string currentHeading = "Current Analysis";
  std::string nodes;
  std::string time;
  std::string hash;
  std::string currentMove;
  std::deque<AnalysisRow> rows;  // columns "" (depth), "Score", "Moves"
  std::string pauseLabel = "&Pause";
  std::string stopLabel = "Stop &UCI";
  bool pauseVisible = true;
};

class AnalysisModel {
 public:
  enum Mode : int { kFollowGame = 0, kFixedFen = 1, kComposed = 2 };

  // The single-line list is a history, newest first; it keeps this many rows.
  static constexpr std::size_t kMostHistoryRows = 1000;

  // `events` carries the connection's events to HandleEvent on this thread.
  // `fixedFen` is the position of modes 1 and 2.
  AnalysisModel(EngineEvents& events, UserPrompt& prompt, AnalysisSettings settings, Mode mode,
                std::string fixedFen = {});
  ~AnalysisModel();
  AnalysisModel(const AnalysisModel&) = delete;
  AnalysisModel& operator=(const AnalysisModel&) = delete;

  // Mode 0: the main window now shows this position (call on every change of
  // the current game or move, before Start too).
  void Follow(SharedPosition position);

  // Starts (or restarts) the analysis with a new connection.
  void Start();
  // One event of the connection (on the interface thread).
  void HandleEvent(const EngineEvent& event);

  // The buttons and the window's minimise and restore.
  void PauseOrResume();
  void StopOrRestart();
  void Minimise();
  void Restore();
  // The window closes: the connection ends.
  void Close();

  // Engine failures end with the window closing; the window asks here, or is
  // called back. The callback runs inside event handling: it must only
  // schedule the closing, never destroy the model itself.
  bool CloseRequested() const { return closeRequested_; }
  void OnCloseRequest(std::function<void()> callback) { onClose_ = std::move(callback); }

  bool ThreadRunning() const { return driver_ && driver_->ThreadRunning(); }
  bool Running() const { return running_; }
  bool Stopped() const { return stopped_; }
  int LinesRequested() const { return settings_.lines; }
  Mode CurrentMode() const { return mode_; }
  const AnalysisDisplay& Display() const { return display_; }
  const std::vector<SUCISequence>& Sequences() const { return records_; }
  const SSebrand* Driver() const { return driver_.get(); }

  // A double-click plays a row only with several lines in mode 0.
  bool RowsPlayable() const { return mode_ == kFollowGame && settings_.lines > 1; }
  // The line record behind a list row, or nullptr.
  const SUCISequence* SequenceOfRow(std::size_t row) const;

 private:
  void NewPositionReset(const AnalysisPosition* position);
  void ShowUnanalysable(const char* verdict, const std::string& fen);
  void FailAndClose(const char* caption, const char* format);
  void RequestClose();
  void OnInfoLine(const EngineEvent& event);
  void StoreSequence(const AnalysisRow& row, const std::string& coordinates);
  void EndConnection();

  EngineEvents& events_;
  UserPrompt& prompt_;
  const AnalysisSettings settings_;
  const Mode mode_;
  const std::string fixedFen_;

  SharedPosition watched_;
  PositionKey analysed_;
  ScratchPosition position_;
  std::uint8_t sideToMove_ = kWhite;

  long long bestSeconds_ = 0;
  long long bestNodes_ = 0;
  long long bestHashFull_ = 0;
  long long bestDepth_ = 0;
  bool multiLine_ = false;
  std::string savedScore_;
  std::string savedNotation_;
  std::string savedCoordinates_;
  bool haveSavedLine_ = false;
  std::vector<SUCISequence> records_;

  AnalysisDisplay display_;
  std::unique_ptr<SSebrand> driver_;
  bool running_ = false;
  bool stopped_ = false;
  bool runningBeforeMinimise_ = false;
  bool closeRequested_ = false;
  std::function<void()> onClose_;
};

}  // namespace varnock
