# SPDX-License-Identifier: GPL-3.0-or-later
# The two commands of the README, and the few a developer adds to them.
BUILD      ?= build
ASAN_BUILD ?= build-asan
CMAKE_ARGS ?=
JOBS       ?= $(shell nproc)
# Unity builds compile each target's sources as one unit: a full build takes
# half the time. UNITY=OFF gives finer incremental builds while editing.
UNITY      ?= ON

.PHONY: all deps configure build run test test-fast test-asan bench mutants install clean

all: build

deps:
	@./scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAIRLY_WERROR=ON -DCMAKE_UNITY_BUILD=$(UNITY) $(CMAKE_ARGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/pairly

# The whole suite: unit, window and end-to-end tests, on the normal build.
test-fast: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The same suite built with AddressSanitizer and UndefinedBehaviorSanitizer in
# its own folder; any report fails its test. -O1 with line tables only builds
# in half the time of -O2 -g and still gives file and line in every report.
# The end-to-end sessions, paced by the screen, are left to the plain run. Tests
# paced by real audio get a second try (every test does): the sanitizers slow
# the mixer down enough to stretch their timing now and then.
SANITIZER_ENV = ASAN_OPTIONS=detect_leaks=1:halt_on_error=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" \
		-DPAIRLY_WERROR=ON -DPAIRLY_SANITIZE=ON -DCMAKE_UNITY_BUILD=$(UNITY) $(CMAKE_ARGS) >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	$(SANITIZER_ENV) ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS) -LE e2e --repeat until-pass:2

test: test-fast test-asan

# Start-up, latency, idle CPU and memory figures of a release build against
# their targets; not part of the tests.
bench: deps
	@cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DPAIRLY_WERROR=ON -DPAIRLY_TESTS=OFF -DPAIRLY_BENCH=ON $(CMAKE_ARGS) >/dev/null
	@cmake --build build-bench -j $(JOBS)
	python3 bench/run_bench.py build-bench

# Plants one small fault at a time in engine/, ui/, sound/ and resources/ and
# reports which ones the tests let through (README, "Testing"); not part of
# the tests. MUTANTS_ARGS passes --seed, --count, --minutes, --folders.
MUTANTS_ARGS ?=
mutants: deps
	python3 scripts/mutants.py $(MUTANTS_ARGS)

# The program folder under $(PREFIX)/lib/pairly, bin/pairly, and the desktop
# files; DESTDIR stages it for a package.
PREFIX ?= /usr/local
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-bench build-mutants
