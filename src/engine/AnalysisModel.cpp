#include "engine/AnalysisModel.h"

#include "core/Fen.h"
#include "core/Format.h"
#include "engine/InfoLine.h"

namespace varnock {

namespace {

// Line records kept for double-clicks: enough for every row shown.
constexpr std::size_t kMostRecords = 2 * AnalysisModel::kMostHistoryRows;

}  // namespace

AnalysisModel::AnalysisModel(EngineEvents& events, UserPrompt& prompt, AnalysisSettings settings, Mode mode,
                             std::string fixedFen)
    : events_(events),
      prompt_(prompt),
      settings_(std::move(settings)),
      mode_(mode),
      fixedFen_(mode == kFollowGame ? std::string() : std::move(fixedFen)) {}

AnalysisModel::~AnalysisModel() { EndConnection(); }

void AnalysisModel::Follow(SharedPosition position) {
  if (mode_ != kFollowGame || !position) return;
  watched_ = position;
  if (driver_) driver_->Watch(std::move(position));
}

void AnalysisModel::EndConnection() {
  if (driver_ && driver_->ThreadRunning()) driver_->RequestStop();
  driver_.reset();
}

void AnalysisModel::Start() {
  NewPositionReset(watched_.get());
  EndConnection();
  closeRequested_ = false;

  EngineSettings engine;
  engine.enginePath = settings_.enginePath;
  engine.hashMegabytes = settings_.hashMegabytes;
  engine.lines = settings_.lines;
  engine.oneProcessor = settings_.oneProcessor;
  engine.processorCount = settings_.processorCount;
  engine.fixedPosition = mode_ != kFollowGame;
  engine.position = engine.fixedPosition ? PositionOfFen(fixedFen_) : watched_;
  driver_ = std::make_unique<SSebrand>(events_, engine);

  switch (driver_->StartFailed()) {
    case SSebrand::StartFailure::NotStarted:
      if (!driver_->StartReport().empty()) prompt_.Inform(SSebrand::kStartCaption, driver_->StartReport());
      RequestClose();
      return;
    case SSebrand::StartFailure::ProcessEnded:
      FailAndClose("SDlgChessEngine::OnBadProcess()",
                   "'%s'\r\n\r\nVarnock was unable to run this executable as a separate process.\r\nIt might be that "
                   "it is not a UCI engine.");
      return;
    case SSebrand::StartFailure::None:
      break;
  }
  driver_->Run();
  running_ = true;
  display_.pauseLabel = "&Pause";
}

void AnalysisModel::RequestClose() {
  if (closeRequested_) return;
  closeRequested_ = true;
  if (onClose_) onClose_();
}

void AnalysisModel::FailAndClose(const char* caption, const char* format) {
  prompt_.Inform(caption, Format(format, settings_.enginePath.c_str()));
  RequestClose();
}

void AnalysisModel::NewPositionReset(const AnalysisPosition* position) {
  if (mode_ == kFollowGame) {
    if (position) {
      FENExtras start;
      if (!ParseFEN(position->fen, start).ok) {
        start = FENExtras{};
        start.board = position->board;
        start.sideToMove = position->sideToMove;
      }
      position_ = ScratchOf(start);
      sideToMove_ = position->sideToMove;
      analysed_ = position->key;
    }
  } else {
    FENExtras parsed;
    FenCheck check = ParseFEN(fixedFen_, parsed);
    if (!check.ok)
      prompt_.Inform("SDlgChessEngine::OnNewState()",
                     Format("'%s'\r\n\r\nBad FEN string.\r\n%s", fixedFen_.c_str(), check.message.c_str()));
    position_ = ScratchOf(parsed);
    sideToMove_ = parsed.sideToMove;
    analysed_ = {};
  }
  bestSeconds_ = bestNodes_ = bestHashFull_ = bestDepth_ = 0;
  multiLine_ = false;
  haveSavedLine_ = false;
  savedScore_.clear(), savedNotation_.clear(), savedCoordinates_.clear();

  display_.nodes.clear(), display_.time.clear(), display_.hash.clear(), display_.bestLine.clear();
  display_.bestHeading = "Best Move";
  display_.currentHeading = "Current Analysis";
  if (mode_ == kFollowGame) display_.currentMove = position ? position->moveText : std::string();
  records_.clear();
  display_.rows.clear();
}

void AnalysisModel::ShowUnanalysable(const char* verdict, const std::string& fen) {
  display_.nodes.clear(), display_.time.clear(), display_.hash.clear();
  display_.bestLine = verdict;
  display_.bestHeading = "Best Move";
  display_.currentHeading = "Current Analysis";
  display_.currentMove.clear();
  records_.clear();
  display_.rows.clear();
  display_.rows.push_back({"", "", fen});
}

void AnalysisModel::HandleEvent(const EngineEvent& event) {
  switch (event.kind) {
    case EngineEventKind::NewPosition:
      NewPositionReset(event.newPosition.get());
      break;
    case EngineEventKind::InfoLine:
      OnInfoLine(event);
      break;
    case EngineEventKind::EngineName:
      display_.title = " " + event.text;
      if (mode_ != kFollowGame) display_.title += " ( " + fixedFen_ + " )";
      break;
    case EngineEventKind::InvalidPosition:
      ShowUnanalysable("Invalid Position", event.text);
      break;
    case EngineEventKind::Checkmate:
      ShowUnanalysable("Position is Checkmate", event.text);
      break;
    case EngineEventKind::Stalemate:
      ShowUnanalysable("Position is Stalemate", event.text);
      break;
    case EngineEventKind::NoUciOk:
      FailAndClose("SDlgChessEngine::OnUCITimeout()",
                   "'%s'\r\n\r\nThis executable did not respond to the initial 'uci' command.\r\nMost likely it is "
                   "not a UCI engine.");
      break;
    case EngineEventKind::NoReadyOk:
      FailAndClose("SDlgChessEngine::OnReadyTimeout()",
                   "'%s'\r\n\r\nThis executable did not reply to the 'isready' command.");
      break;
    case EngineEventKind::NoBestMove:
      FailAndClose("SDlgChessEngine::OnBestTimeout()",
                   "'%s'\r\n\r\nThis executable did not reply to the 'stop' command with a 'bestmove' reply.");
      break;
    case EngineEventKind::ProcessEnded:
      if (!event.text.empty()) {
        // It ran and spoke: it failed on its own (a hash it could not
        // allocate, a crash), which its last words may tell.
        prompt_.Inform("SDlgChessEngine::OnBadProcess()",
                       Format("'%s'\r\n\r\nThe engine stopped running.\r\nIts last output was:\r\n\r\n%s",
                              settings_.enginePath.c_str(), event.text.c_str()));
        RequestClose();
        break;
      }
      FailAndClose("SDlgChessEngine::OnBadProcess()",
                   "'%s'\r\n\r\nVarnock was unable to run this executable as a separate process.\r\nIt might be that "
                   "it is not a UCI engine.");
      break;
    case EngineEventKind::ProcessNotStarted:
      RequestClose();
      break;
    case EngineEventKind::Message:
      prompt_.Inform(event.caption, event.text);
      break;
  }
}

void AnalysisModel::StoreSequence(const AnalysisRow& row, const std::string& coordinates) {
  if (records_.size() >= kMostRecords) records_.erase(records_.begin(), records_.begin() + kMostRecords / 2);
  records_.push_back({row.depth, row.score, row.moves, coordinates, analysed_});
}

void AnalysisModel::OnInfoLine(const EngineEvent& event) {
  if (mode_ == kFollowGame && !(event.position == analysed_)) return;  // a line of an earlier position
  const InfoLine info = ParseInfoLine(event.text);
  const long long requested = settings_.lines;

  if (info.multipv && !multiLine_) {
    multiLine_ = true;
    if (requested > 1) {
      while (display_.rows.size() < static_cast<std::size_t>(requested)) display_.rows.push_back({});
    }
  }
  bool depthCompleted = false;
  std::string completedDepth;
  if (info.depth && *info.depth > bestDepth_) {
    depthCompleted = true;
    completedDepth = Format("%lld", bestDepth_);
    bestDepth_ = *info.depth;
  }
  if (info.timeMs) {
    const long long seconds = *info.timeMs / 1000;
    if (seconds > bestSeconds_) {
      bestSeconds_ = seconds;
      display_.time = Format("%lldm %llds", seconds / 60, seconds % 60);
    }
  }
  if (info.nodes && *info.nodes > bestNodes_) {
    bestNodes_ = *info.nodes;
    display_.nodes = info.nodesText;
  }
  if (info.hashfull && *info.hashfull > bestHashFull_) {
    bestHashFull_ = *info.hashfull;
    display_.hash = Format("Hash   %.2f%%", static_cast<double>(*info.hashfull) / 10.0);
  }
  // Scores are shown from White's side.
  const long long sign = sideToMove_ == kBlack ? -1 : 1;
  std::string score;
  if (info.scoreCp) score = ScoreText(*info.scoreCp, info.scoreText, sign);
  if (info.scoreMate) score = "Mate " + ScoreText(*info.scoreMate, info.scoreText, sign);

  if (!info.currmove.empty()) {
    CoordinateMove move;
    std::string text;
    if (ParseCoordinateMove(info.currmove, move)) {
      ScratchPosition scratch = position_;
      AppendEngineMove(text, scratch, move, settings_.initials);
    }
    display_.currentHeading = "Current Analysis  ( " + text + ")";
  }

  if (depthCompleted && !info.hasPv && haveSavedLine_) {
    display_.bestHeading = "Best Move  ( depth  " + completedDepth + "   score  " + savedScore_ + " )";
    display_.bestLine = savedNotation_;
    haveSavedLine_ = false;
  }
  if (!info.hasPv) return;

  const AnalysisRow row{info.depthText, score, EngineLineText(position_, info.pv, settings_.initials)};
  if (multiLine_ && info.multipv && requested > 1) {
    const long long number = *info.multipv;
    if (number < 1 || number > requested) return;
    const std::size_t index = static_cast<std::size_t>(number - 1);
    while (display_.rows.size() <= index) display_.rows.push_back({});
    if (!(display_.rows[index] == row)) {
      StoreSequence(row, info.pvText);
      display_.rows[index] = row;
    }
    if (number != 1) return;
  } else if (display_.rows.empty() || !(display_.rows.front() == row)) {
    StoreSequence(row, info.pvText);
    display_.rows.push_front(row);
    if (display_.rows.size() > kMostHistoryRows) display_.rows.pop_back();
  }
  savedScore_ = row.score;
  savedNotation_ = row.moves;
  savedCoordinates_ = info.pvText;
  haveSavedLine_ = true;
}

const SUCISequence* AnalysisModel::SequenceOfRow(std::size_t row) const {
  if (row >= display_.rows.size()) return nullptr;
  const AnalysisRow& shown = display_.rows[row];
  for (auto it = records_.rbegin(); it != records_.rend(); ++it) {
    if (it->depth == shown.depth && it->score == shown.score && it->notation == shown.moves) return &*it;
  }
  return nullptr;
}

void AnalysisModel::PauseOrResume() {
  if (!driver_ || stopped_) return;
  if (running_) {
    driver_->Pause();
    running_ = false;
    display_.pauseLabel = "&Resume";
  } else {
    driver_->Resume();
    running_ = true;
    display_.pauseLabel = "&Pause";
  }
}

void AnalysisModel::StopOrRestart() {
  if (!running_ && !stopped_) PauseOrResume();
  stopped_ = !stopped_;
  if (stopped_) {
    display_.stopLabel = "Restart &UCI";
    display_.pauseVisible = false;
    running_ = false;
    if (driver_) driver_->RequestStop();
  } else {
    display_.stopLabel = "Stop &UCI";
    display_.pauseVisible = true;
    Start();
  }
}

void AnalysisModel::Minimise() {
  runningBeforeMinimise_ = running_;
  if (running_) PauseOrResume();
}

void AnalysisModel::Restore() {
  if (runningBeforeMinimise_ && !running_) PauseOrResume();
  runningBeforeMinimise_ = false;
}

void AnalysisModel::Close() {
  EndConnection();
  records_.clear();
}

}  // namespace varnock
