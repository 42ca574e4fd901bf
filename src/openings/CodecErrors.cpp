#include "openings/CodecErrors.h"

namespace varnock {

std::string CodecErrorText(int code) {
  switch (code) {
    case kCodecExpansionFault:
      return "Fatal error during code expansion";
    case kCodecTablesAlloc:
      return "malloc() failure.  Unable to perform operation on memory compression object";
    case kCodecCompressGrow:
      return "realloc() failure.  Unable to perform operation on memory compression object";
    case kCodecExpandAlloc:
      return "malloc() failure.  Unable to perform operation on memory expansion";
    case kCodecExpandGrow:
      return "realloc() failure.  Unable to perform operation on memory expansion";
    case kCodecOutputCodeAlloc:
      return "malloc() failure.  Unable to perform operation on memory output code";
    case kCodecOutputCodeGrow:
      return "realloc() failure.  Unable to perform operation on memory output code";
    default:
      return "\"-" + std::to_string(code) + "\" is an undefined error";
  }
}

}  // namespace varnock
