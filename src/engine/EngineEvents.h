// What an engine connection tells its owner, and how it reaches the
// interface thread.
#pragma once

#include <string>

#include "engine/AnalysisPosition.h"

namespace varnock {

enum class EngineEventKind {
  NewPosition,        // the watched position changed; sent before the engine is told
  EngineName,         // text: the name from "id name"
  InfoLine,           // text: an "info" line; position: the position being analysed
  InvalidPosition,    // text: the FEN
  Checkmate,          // text: the FEN
  Stalemate,          // text: the FEN
  NoUciOk,            // no reply for 4 seconds while awaiting "uciok"
  NoReadyOk,          // no reply for 4 seconds while awaiting "readyok"
  NoBestMove,         // no reply for 3 seconds while awaiting "bestmove"
  ProcessEnded,       // the engine ended (or closed its output) on its own
  ProcessNotStarted,  // the program could not be started
  Message,            // caption and text of a report for the user
};

struct EngineEvent {
  EngineEventKind kind = EngineEventKind::Message;
  int processId = 0;
  std::string text;
  std::string caption;
  PositionKey position;
  SharedPosition newPosition;  // NewPosition: the position now analysed
};

// The owner's side of a connection. Deliver is called on the protocol thread
// and returns only once the event has been handled on the interface thread,
// so events are handled one at a time and in order.
//
// A connection calls Accept when it is created and Release before it waits
// for its protocol thread to end: from Release on, Deliver must return at once
// without handling, also a call already waiting. Without that, an interface
// thread that ends a connection could wait for a protocol thread that waits
// for the interface thread. BlockingEventQueue is such a sink; a window's
// event loop drives it by scheduling a Pump from its wake function.
class EngineEvents {
 public:
  virtual ~EngineEvents() = default;
  virtual void Deliver(const EngineEvent& event) = 0;
  virtual void Accept() = 0;
  virtual void Release() = 0;
};

}  // namespace varnock
