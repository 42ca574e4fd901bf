// The main window's and the position editor's commands around the analysis
// window: the launch checks and playing an analysis line into the game.
#pragma once

#include <string>

#include "core/UserPrompt.h"
#include "engine/AnalysisModel.h"
#include "tree/GameTree.h"
#include "tree/MoveEntry.h"

namespace varnock {

// CmUCILaunch: false (with the report) while an engine thread still runs.
bool MayLaunchAnalysis(bool engineThreadRunning, UserPrompt& prompt);

// The position editor's launch: the same check, then the composed position's
// FEN must parse.
bool MayLaunchComposedAnalysis(bool engineThreadRunning, const std::string& fen, UserPrompt& prompt);

// FrameWin::CmAddSequence: plays the first move of the line at the game's
// current move, as a move made on the board. Refused with a report when the
// game shows another move than the line's; a line of another game is ignored.
EntryOutcome CmAddSequence(GameTree& game, const SUCISequence& line, UserPrompt& prompt);

}  // namespace varnock
