// libFuzzer target: CheckFenText on every input.
#include "FuzzTarget.h"
#include "RoundTrips.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return varnock::fuzz::RunCheck(varnock::fuzz::CheckFenText, data, size);
}
