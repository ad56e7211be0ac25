# NIMB — the two commands of the README, and the developer targets around them.

BUILD      ?= build
ASAN_BUILD ?= build-asan
PAGES      ?= out/pages
PREFIX     ?= /usr/local
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
CCACHE     := $(if $(shell command -v ccache 2>/dev/null),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

ifeq ($(CI),true)
WERROR := ON
else
WERROR ?= OFF
endif

.PHONY: all deps build build-asan run test format install bench bench-shell kill-trials pages clean

all: build

deps:
	@tools/install-deps

build: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNIMB_WERROR=$(WERROR) \
		-DNIMB_EXTRA_TEST_TREE=$(CURDIR)/$(ASAN_BUILD) $(CCACHE) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

# Core, the shell and their tests under AddressSanitizer and UBSan; their tests run in the main
# ctest, named asan.*.
build-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g1 -O1" \
		-DNIMB_SANITIZE=ON -DNIMB_CORE_ONLY=OFF -DNIMB_BENCH=OFF -DNIMB_WERROR=$(WERROR) $(CCACHE) >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
		echo "NIMB needs a display and there is none here (DISPLAY and WAYLAND_DISPLAY are unset)."; \
		echo "Run 'make run' from a desktop session, or start it on a virtual screen with:"; \
		echo "    xvfb-run -a -s '-screen 0 1400x900x24' make run"; \
		exit 1; \
	fi
	@$(BUILD)/shell/nimb

# Every test runs once: a test that fails is a fault to find, not a run to repeat.
test: build build-asan
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

format:
	@git ls-files --cached --others --exclude-standard '*.cpp' '*.h' | xargs clang-format -i

bench: build
	@$(BUILD)/bench/core-bench

# The store's kill test at length: 500 writing processes killed at random moments (see
# tests/core/StoreKillTest.cpp; NIMB_KILL_SEED replays a run).
kill-trials: build
	@NIMB_KILL_TRIALS=500 $(BUILD)/tests/core/core-tests --gtest_filter='StoreKill*'

# NIMB against a bare WebKitGTK view: start-up, page loads and memory, side by side in a virtual
# display (see bench/shell/ShellBench.cpp). BENCH_RUNS runs of each, alternating.
BENCH_RUNS ?= 10
bench-shell: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNIMB_WERROR=$(WERROR) \
		-DNIMB_EXTRA_TEST_TREE=$(CURDIR)/$(ASAN_BUILD) $(CCACHE) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target shell-bench popover-bench profile-bench flood-bench
	@tools/run-headless $(BUILD)/bench/shell/shell-bench --runs $(BENCH_RUNS)
	@tools/run-headless $(BUILD)/bench/shell/popover-bench
	@tools/run-headless $(BUILD)/bench/shell/profile-bench
	@tools/run-headless $(BUILD)/bench/shell/flood-bench

# Every generated page drawn to PNG with sample records, in a virtual display (see tools/render-pages).
pages: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNIMB_WERROR=$(WERROR) \
		-DNIMB_EXTRA_TEST_TREE=$(CURDIR)/$(ASAN_BUILD) $(CCACHE) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target render-pages
	@tools/run-headless $(BUILD)/tools/render-pages/render-pages $(PAGES) 2>/dev/null

# The libFuzzer targets, built with clang, each run for FUZZ_SECONDS (not part of make test).
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 60
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DNIMB_FUZZ=ON -DNIMB_CORE_ONLY=ON -DNIMB_BENCH=OFF >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@for target in $(FUZZ_BUILD)/fuzz/*Fuzzer; do \
		name=$$(basename $$target); mkdir -p $(FUZZ_BUILD)/corpus/$$name; \
		echo "== $$name for $(FUZZ_SECONDS) s"; \
		$$target -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 $(FUZZ_BUILD)/corpus/$$name \
			$$( [ -d fuzz/corpus/$$name ] && echo fuzz/corpus/$$name ) 2>&1 | grep -E '^(stat::|SUMMARY|==[0-9]+==ERROR|Done)'; \
	done

install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

clean:
	@rm -rf $(BUILD) $(ASAN_BUILD)
