// The error codes of the LZW codec and the messages that name them.
#pragma once

#include <string>

namespace varnock {

enum CodecError : int {
  kCodecOk = 0,
  kCodecExpansionFault = 0x4010,   // a broken code stream
  kCodecTablesAlloc = 0x4020,      // the code tables and the decode stack
  kCodecCompressGrow = 0x4030,     // growing the compressed output
  kCodecExpandAlloc = 0x4040,      // the first block of the expanded output
  kCodecExpandGrow = 0x4050,       // growing the expanded output
  kCodecOutputCodeAlloc = 0x4060,  // the first block of the compressed output
  kCodecOutputCodeGrow = 0x4070,   // kept for its message; no operation raises it
};

// The message shown for a codec error code; an unknown code gives
// "\"-%d\" is an undefined error".
std::string CodecErrorText(int code);

}  // namespace varnock
