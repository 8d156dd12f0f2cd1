# Thin wrapper over CMake, CTest and the scripts; every flag lives in CMakeLists.txt. Paths are
# quoted throughout: the checkout may live in a folder whose name has a blank.
BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
TSAN_BUILD ?= build-tsan

SHELL = /bin/bash
.SHELLFLAGS = -euo pipefail -c

XVFB = xvfb-run -a -s "-screen 0 1280x1024x24"

.PHONY: deps viewer build run test bench sanitize clean

.DEFAULT_GOAL := viewer  # make alone builds the viewer

deps:
	@scripts/install-deps.sh all

configure = cmake -S . -B "$(BUILD)" -DCMAKE_BUILD_TYPE=Release

# The viewer alone, with only what building and running it needs.
viewer:
	@scripts/install-deps.sh run
	$(configure)
	cmake --build "$(BUILD)" -j2 --target flames

build: deps
	$(configure)
	cmake --build "$(BUILD)" -j2

# The viewer asks its three questions here, then opens its window on $$DISPLAY. Without a display
# (over ssh, in a container) it still draws: pattern 3 in rainbow colours, saved as a PNG file.
ifneq ($(strip $(DISPLAY)),)
run: viewer
	"$(BUILD)/flames"
else
run: viewer
	@echo "make run: no X display (DISPLAY is not set), so the picture goes to a file"
	printf '5000000\n3\n4\n' | "$(BUILD)/flames" --save "$(BUILD)/flame.png"
	@echo "make run: the picture is $(BUILD)/flame.png; to see the viewer's window, run make run"
	@echo "on a desktop, or $(BUILD)/flames there"
endif

test: build
	ctest --test-dir "$(BUILD)" --output-on-failure --no-tests=error -j2

# Speed of every part (the loop of each pattern against its reference, the generator, colourings,
# redraw in a private Xvfb, progress report), then the viewer's peak memory for 10^8 iterations,
# what --live costs, a poster's memory, what threads buy, how soon a browsing key shows the new
# run and, on 256 threads asked for, how soon q ends the viewer; then three genomes drawn by the
# program and by flam3-render, and a genome poster's peak memory; then the flames of bench/flames/,
# written for the bench in the editors' styles, drawn by both (their geometric mean ratio and the
# worst), a flame with z and xaos beside a 2D one, and ten runs of one render; then 30 frames of a
# loop drawn blurred in time by the program and by flam3-animate; then a poster in one piece and
# in 8 strips, and one larger than memory drawn within --memory 3000; the size of a render's
# state; and a JWildfire flame drawn by the program and by JWildfire's own renderer (skipped
# without java or that renderer).
bench: build
	$(XVFB) "$(BUILD)/bench/flames_bench" --benchmark_repetitions=3 \
	  --benchmark_report_aggregates_only=true --benchmark_min_time=0.3 \
	  | grep -v -E '_(mean|stddev|cv) '
	BUILD="$(BUILD)" scripts/viewer-run.sh
	BUILD="$(BUILD)" scripts/live-cost.sh
	BUILD="$(BUILD)" scripts/poster-memory.sh
	BUILD="$(BUILD)" scripts/threads-speed.sh
	"$(BUILD)/tests/e2e/flames_browse_timing"
	"$(BUILD)/tests/e2e/flames_browse_timing" 10 docs/gallery.flame
	"$(BUILD)/tests/e2e/flames_browse_timing" --threads 256
	BUILD="$(BUILD)" scripts/genome-bench.sh
	BUILD="$(BUILD)" scripts/real-flames-bench.sh
	BUILD="$(BUILD)" scripts/animation-bench.sh
	BUILD="$(BUILD)" scripts/strips-bench.sh
	BUILD="$(BUILD)" scripts/state-size.sh
	BUILD="$(BUILD)" scripts/jwildfire-bench.sh

sanitize: deps
	SANITIZE_BUILD="$(SANITIZE_BUILD)" TSAN_BUILD="$(TSAN_BUILD)" scripts/sanitize.sh

clean:
	rm -rf -- "$(BUILD)" "$(SANITIZE_BUILD)" "$(TSAN_BUILD)"
