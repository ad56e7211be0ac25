# NIMB — the two commands of the README, and the developer targets around them.

BUILD      ?= build
ASAN_BUILD ?= build-asan
PREFIX     ?= /usr/local
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)

ifeq ($(CI),true)
WERROR := ON
else
WERROR ?= OFF
endif

.PHONY: all deps build build-asan run test format install bench clean

all: build

deps:
	@tools/install-deps

build: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNIMB_WERROR=$(WERROR) \
		-DNIMB_EXTRA_TEST_TREE=$(CURDIR)/$(ASAN_BUILD) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

# Core and its unit tests under AddressSanitizer and UBSan; their tests run in the main ctest.
build-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
		-DNIMB_SANITIZE=ON -DNIMB_CORE_ONLY=ON -DNIMB_BENCH=OFF -DNIMB_WERROR=$(WERROR) >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
		echo "NIMB needs a display and there is none here (DISPLAY and WAYLAND_DISPLAY are unset)."; \
		echo "Run 'make run' from a desktop session, or start it on a virtual screen with:"; \
		echo "    xvfb-run -a -s '-screen 0 1400x900x24' make run"; \
		exit 1; \
	fi
	@$(BUILD)/shell/nimb

test: build build-asan
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

format:
	@git ls-files --cached --others --exclude-standard '*.cpp' '*.h' | xargs clang-format -i

bench: build
	@$(BUILD)/bench/core-bench

install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

clean:
	@rm -rf $(BUILD) $(ASAN_BUILD)
