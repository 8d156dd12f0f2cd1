# Thin wrapper over CMake and CTest; every flag lives in CMakeLists.txt.
BUILD ?= build
SANITIZE_BUILD ?= build-sanitize

XVFB = xvfb-run -a -s "-screen 0 1280x1024x24"

.PHONY: deps build run test bench sanitize clean

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j2

# The viewer asks its three questions here, then opens its window on $$DISPLAY.
run: build
	@if [ -z "$$DISPLAY" ]; then \
	  echo "make run: the viewer opens a window and needs an X display, but DISPLAY is not set." >&2; \
	  echo 'Run it on a desktop, or in a virtual X server:  $(XVFB) $(BUILD)/flames' >&2; \
	  exit 1; \
	fi
	$(BUILD)/flames

test: build
	ctest --test-dir $(BUILD) --output-on-failure

# Speed of every part (the loop of each pattern against its reference, colourings, redraw in a
# private Xvfb, progress report), then the viewer's peak memory for 10^8 iterations.
bench: build
	$(XVFB) $(BUILD)/bench/flames_bench --benchmark_repetitions=3 \
	  --benchmark_report_aggregates_only=true --benchmark_min_time=0.3 | grep -v -E '_(mean|stddev|cv) ' 
	scripts/peak-rss.sh

# The whole suite again, built with the sanitizers. Address reports are written to files of
# sanitizer-reports/ rather than to standard error, so that one from a process whose exit status
# no test looks at (the viewer that an end-to-end test kills) still fails the target, and so that
# no report mixes with the output the tests compare. Undefined behaviour ends the process at its
# first report, on standard error (GCC's runtime does not take log_path when built together with
# the address sanitizer), which fails the test that ran it. The end-to-end tests preload their
# own libraries into the viewer, ahead of the sanitizer runtime: hence no check of the link order.
SANITIZE_REPORTS = $(abspath $(SANITIZE_BUILD))/sanitizer-reports
ASAN_CHECKS = verify_asan_link_order=0:detect_leaks=1:detect_stack_use_after_return=1
ASAN_INIT_CHECKS = check_initialization_order=1:strict_init_order=1
SANITIZE_ENV = \
  ASAN_OPTIONS=log_path=$(SANITIZE_REPORTS)/asan:$(ASAN_CHECKS):$(ASAN_INIT_CHECKS) \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFLAMES_SANITIZE=ON
	cmake --build $(SANITIZE_BUILD) -j2
	@rm -rf $(SANITIZE_REPORTS) && mkdir -p $(SANITIZE_REPORTS)
	@status=0; \
	$(SANITIZE_ENV) ctest --test-dir $(SANITIZE_BUILD) --output-on-failure || status=1; \
	for report in $(SANITIZE_REPORTS)/*; do \
	  [ -e "$$report" ] || continue; \
	  echo "sanitize: report $$report:" >&2; cat "$$report" >&2; status=1; \
	done; \
	exit $$status

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD)
