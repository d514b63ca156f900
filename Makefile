# SPDX-License-Identifier: GPL-3.0-or-later
# The two commands of the README, and the few a developer adds to them.
BUILD      ?= build
ASAN_BUILD ?= build-asan
CMAKE_ARGS ?=
JOBS       ?= $(shell nproc)
# Unity builds compile each target's sources as one unit: a full build takes
# half the time. UNITY=OFF gives finer incremental builds while editing.
UNITY      ?= ON

.PHONY: all deps configure build run test test-fast test-asan bench mutants fuzz install deb clean

all: build

deps:
	@./scripts/install-deps

# The plain build compiles and links with Debian's hardening flags (all of them, as
# debian/rules asks), so that the package test packs this build's program
# instead of compiling it a second time. The source-path map is left out: debug
# info keeps absolute paths and ccache can share objects across checkouts.
BUILDFLAG   = $(shell DEB_BUILD_MAINT_OPTIONS='hardening=+all reproducible=-fixfilepath,-fixdebugpath' \
	dpkg-buildflags --get $(1))
DEB_LDFLAGS = $(call BUILDFLAG,LDFLAGS)
DEB_FLAGS   = "-DCMAKE_CXX_FLAGS=$(call BUILDFLAG,CPPFLAGS) $(call BUILDFLAG,CXXFLAGS)" \
	"-DCMAKE_EXE_LINKER_FLAGS=$(DEB_LDFLAGS)" "-DCMAKE_SHARED_LINKER_FLAGS=$(DEB_LDFLAGS)" \
	"-DCMAKE_MODULE_LINKER_FLAGS=$(DEB_LDFLAGS)"

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAIRLY_WERROR=ON -DCMAKE_UNITY_BUILD=$(UNITY) $(DEB_FLAGS) $(CMAKE_ARGS) >/dev/null

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
# their targets; not part of the tests. FluidSynth's own player is one of the
# music's yardsticks; callgrind counts the music's instructions.
# BENCH_ARGS="--music [--songs=Chill1,Impact]" measures the music alone.
bench: deps
	@./scripts/install-deps fluidsynth valgrind
	@cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DPAIRLY_WERROR=ON -DPAIRLY_TESTS=OFF -DPAIRLY_BENCH=ON $(CMAKE_ARGS) >/dev/null
	@cmake --build build-bench -j $(JOBS)
	python3 bench/run_bench.py build-bench $(BENCH_ARGS)

# Plants one small fault at a time in engine/, ui/, sound/ and resources/ and
# reports which ones the tests let through (README, "Testing"); not part of
# the tests. MUTANTS_ARGS passes --seed, --count, --minutes, --folders.
MUTANTS_ARGS ?=
mutants: deps
	python3 scripts/mutants.py $(MUTANTS_ARGS)

# The stored-picture loader under libFuzzer (clang, installed here only), for
# FUZZ_SECONDS; what it finds new goes to build-fuzz/corpus, the seeds stay as
# they are.
FUZZ_SECONDS ?= 300
fuzz:
	@./scripts/install-deps clang
	@CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAIRLY_WERROR=ON -DPAIRLY_FUZZ=ON $(CMAKE_ARGS) >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target stored_picture_fuzz
	mkdir -p build-fuzz/corpus
	./build-fuzz/tests/fuzz/stored_picture_fuzz -max_total_time=$(FUZZ_SECONDS) build-fuzz/corpus tests/fuzz/corpus

# The program folder under $(PREFIX)/lib/pairly, bin/pairly, and the desktop
# files; DESTDIR stages it for a package.
PREFIX ?= /usr/local
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# The Debian package, compiled from scratch out of a copy of the tree's files
# (tracked and new, as they are now) so that nothing of an earlier build gets
# in; the .deb, .buildinfo and .changes are left in $(DEB_DIR), checked by lintian.
DEB_DIR ?= build-deb
deb: deps
	rm -rf $(DEB_DIR) && mkdir -p $(DEB_DIR)/pairly
	git ls-files -z --cached --others --exclude-standard | \
		tar --null -T - --ignore-failed-read -cf - | tar -C $(DEB_DIR)/pairly -xf -
	cd $(DEB_DIR)/pairly && env -u MAKEFLAGS -u MFLAGS -u MAKELEVEL dpkg-buildpackage -us -uc -b -J$(JOBS)
	rm -rf $(DEB_DIR)/pairly
	lintian --pedantic --fail-on error,warning $(DEB_DIR)/pairly_*.changes
	@ls -l $(DEB_DIR)/*.deb

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-bench build-mutants build-fuzz $(DEB_DIR)
