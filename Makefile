# Varnock: a thin driver over CMake.
#
#   make build   install the build packages, configure and build into build/
#   make test    build, run the tests, then run them again under ASan + UBSan, then fuzz
#   make run     build the program and start its window on data/samples/sample.pgn
#   make bench   build the benchmarks into build-bench/ (Release, link-time and profile-guided optimised) and
#                run them, then time the reader against grep and pgn-extract (BENCH_ARGS=--big: a ~500 MB file)
#   make fuzz    build the libFuzzer targets with clang into build-fuzz/ and run each for
#                FUZZ_SECONDS (default 60); fails on any crash or sanitizer report
#   make fonts   install the font tools and build the board fonts
#   make format  clang-format the C++ sources in place (format-check: report only)
#   make clean   remove the build folders

SHELL := /bin/bash
.SHELLFLAGS := -euo pipefail -c
MAKEFLAGS += --no-print-directory

BUILD_DIR ?= build
ASAN_DIR ?= build-asan
# The test builds leave out the benchmarks (make bench builds them), to keep
# a clean build and test run short.
BUILD_TYPE ?= RelWithDebInfo
ASAN_BUILD_TYPE ?= Debug
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_ARGS ?=

CLI := $(BUILD_DIR)/src/cli/varnock-cli
FORMAT_DIRS := $(wildcard src tests tools bench)

# Any sanitizer report aborts the test process, so the test fails. UBSan also
# aborts rather than exiting with 1, which a test of a command could mistake
# for the command's own "done, with problems" status.
# The sanitizer run reads a sample of the corpus: the plain run reads all of it.
SANITIZER_ENV := VARNOCK_CORPUS_SAMPLE=1 \
                 ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:halt_on_error=1 \
                 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:abort_on_error=1

# data/samples/sample.pgn, game 1, the final position after 23.Be7#.
SAMPLE_FEN := r1bk3r/p2pBpNp/n4n2/1p1NP2P/6P1/3P4/P1P1K3/q5b1 b - - 1 23

.PHONY: all deps build test test-asan fuzz run bench fonts format format-check clean

all: build

deps:
	@bash scripts/install-deps.sh build

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DVARNOCK_BUILD_TESTS=ON -DVARNOCK_BUILD_BENCH=OFF $(CMAKE_ARGS)
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)
	@$(MAKE) test-asan
	@$(MAKE) fuzz

test-asan: deps
	cmake -S . -B $(ASAN_DIR) -DVARNOCK_SANITIZE=ON -DCMAKE_BUILD_TYPE=$(ASAN_BUILD_TYPE) -DVARNOCK_BUILD_TESTS=ON -DVARNOCK_BUILD_BENCH=OFF $(CMAKE_ARGS)
	cmake --build $(ASAN_DIR) -j $(JOBS)
	$(SANITIZER_ENV) ctest --test-dir $(ASAN_DIR) --output-on-failure -j $(JOBS)

FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60

# The fuzz targets and every library they reach are built with clang, coverage
# instrumentation, ASan and UBSan; the seeds come from the shared corpus.
fuzz:
	@bash scripts/install-deps.sh fuzz
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DVARNOCK_FUZZ=ON -DVARNOCK_BUILD_TESTS=OFF -DVARNOCK_BUILD_BENCH=OFF
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzz_targets
	bash fuzz/make-seeds.sh $(FUZZ_DIR)
	bash fuzz/run-fuzzers.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

# The window on the bundled sample collection. Without a display (no DISPLAY
# or WAYLAND_DISPLAY), varnock-cli shows what it holds instead.
run: build
	@if [[ -n "$${DISPLAY:-}$${WAYLAND_DISPLAY:-}" ]]; then \
	  echo "== varnock data/samples/sample.pgn"; \
	  exec $(BUILD_DIR)/src/app/varnock data/samples/sample.pgn; \
	fi; \
	echo "No display: the window needs X11 or Wayland (try: xvfb-run make run). varnock-cli instead:"; \
	$(CLI) check data/samples/sample.pgn --per-game; \
	$(CLI) ascii "$(SAMPLE_FEN)"

BENCH_DIR ?= build-bench
BENCH_ARGS ?=
# The benchmark build is profile-guided: an instrumented build (PGO_DIR) runs
# over the corpus first (bench/pgo-train.sh), and the benchmark build is
# optimised with what it measured (built anew each time: the build does not
# know that objects depend on the profile). PGO=0 leaves that step out.
PGO ?= 1
PGO_DIR ?= build-pgo
PGO_PROFILE := $(abspath $(PGO_DIR))/profile
BENCH_CMAKE := -DCMAKE_BUILD_TYPE=Release -DCMAKE_INTERPROCEDURAL_OPTIMIZATION=ON -DVARNOCK_BUILD_BENCH=ON \
               -DVARNOCK_BUILD_TESTS=OFF

bench:
	@bash scripts/install-deps.sh build bench
ifeq ($(PGO),1)
	cmake -S . -B $(PGO_DIR) $(BENCH_CMAKE) -DVARNOCK_PGO=generate -DVARNOCK_PGO_PROFILE=$(PGO_PROFILE) $(CMAKE_ARGS)
	cmake --build $(PGO_DIR) -j $(JOBS) --target read_all varnock-cli
	bash bench/pgo-train.sh $(PGO_DIR) $(PGO_PROFILE)
	cmake -S . -B $(BENCH_DIR) $(BENCH_CMAKE) -DVARNOCK_PGO=use -DVARNOCK_PGO_PROFILE=$(PGO_PROFILE) $(CMAKE_ARGS)
	cmake --build $(BENCH_DIR) -j $(JOBS) --clean-first --target pgn_reader_bench read_all eco_bench varnock-cli save_step
else
	cmake -S . -B $(BENCH_DIR) $(BENCH_CMAKE) -DVARNOCK_PGO= $(CMAKE_ARGS)
	cmake --build $(BENCH_DIR) -j $(JOBS) --target pgn_reader_bench read_all eco_bench varnock-cli save_step
endif
	$(BENCH_DIR)/bench/pgn_reader_bench
	bash bench/compare_pgn_extract.sh --build $(BENCH_DIR) $(BENCH_ARGS)
	bash bench/compare_collection.sh --build $(BENCH_DIR)
	$(BENCH_DIR)/bench/eco_bench

fonts:
	@bash scripts/install-deps.sh fonts
	@test -f tools/fonts/build-fonts.sh || { echo "tools/fonts/build-fonts.sh is missing" >&2; exit 1; }
	bash tools/fonts/build-fonts.sh

format:
	@bash scripts/install-deps.sh build
	find $(FORMAT_DIRS) -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.hpp' -o -name '*.cc' \) \
	  -print0 | xargs -0 -r clang-format -i

format-check:
	@bash scripts/install-deps.sh build
	find $(FORMAT_DIRS) -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.hpp' -o -name '*.cc' \) \
	  -print0 | xargs -0 -r clang-format --dry-run --Werror

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(PGO_DIR)
