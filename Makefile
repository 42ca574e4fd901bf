# Varnock: a thin driver over CMake.
#
#   make build   install the build packages, configure and build into build/
#   make test    build, run the tests, then run them again under ASan + UBSan
#   make run     build and run the program
#   make fonts   install the font tools and build the board fonts
#   make format  clang-format the C++ sources in place (format-check: report only)
#   make clean   remove the build folders

SHELL := /bin/bash
.SHELLFLAGS := -euo pipefail -c
MAKEFLAGS += --no-print-directory

BUILD_DIR ?= build
ASAN_DIR ?= build-asan
BUILD_TYPE ?= RelWithDebInfo
ASAN_BUILD_TYPE ?= Debug
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_ARGS ?=

CLI := $(BUILD_DIR)/src/cli/varnock-cli
FORMAT_DIRS := $(wildcard src tests tools bench)

# Any sanitizer report aborts the test process, so the test fails. UBSan also
# aborts rather than exiting with 1, which a test of a command could mistake
# for the command's own "done, with problems" status.
SANITIZER_ENV := ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:halt_on_error=1 \
                 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:abort_on_error=1

START_FEN := rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1
# data/samples/sample.pgn, game 1, the final position after 23.Be7#.
SAMPLE_FEN := r1bk3r/p2pBpNp/n4n2/1p1NP2P/6P1/3P4/P1P1K3/q5b1 b - - 1 23

.PHONY: all deps build test test-asan run fonts format format-check clean

all: build

deps:
	@bash scripts/install-deps.sh build

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DVARNOCK_BUILD_TESTS=ON $(CMAKE_ARGS)
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)
	@$(MAKE) test-asan

test-asan: deps
	cmake -S . -B $(ASAN_DIR) -DVARNOCK_SANITIZE=ON -DCMAKE_BUILD_TYPE=$(ASAN_BUILD_TYPE) -DVARNOCK_BUILD_TESTS=ON $(CMAKE_ARGS)
	cmake --build $(ASAN_DIR) -j $(JOBS)
	$(SANITIZER_ENV) ctest --test-dir $(ASAN_DIR) --output-on-failure -j $(JOBS)

run: build
	@echo "== varnock-cli fen: the start position"
	@$(CLI) fen "$(START_FEN)"
	@echo
	@echo "== varnock-cli fen: data/samples/sample.pgn, Anderssen-Kieseritzky 1851 after 23.Be7#"
	@$(CLI) fen "$(SAMPLE_FEN)"
	@echo
	@echo "== varnock-cli perft: the start position, depth 4"
	@$(CLI) perft "$(START_FEN)" 4
	@echo
	@echo "The main window comes in a later version of Varnock; for now, varnock-cli does the work."
	@echo "Try: $(CLI) --help"

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
	rm -rf $(BUILD_DIR) $(ASAN_DIR)
