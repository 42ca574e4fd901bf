// The fuzz targets' sanitizer settings, built in so that a target run by hand
// behaves as under run-fuzzers.sh: undefined behaviour ends the run, except
// for the known faults listed in ubsan-known.supp.
extern "C" const char* __ubsan_default_options() {
  return "halt_on_error=1:print_stacktrace=1:suppressions=" VARNOCK_FUZZ_DIR "/ubsan-known.supp";
}
