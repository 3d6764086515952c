# Everyday commands: make, make play, make test; see the README for the rest.
SHELL := /bin/bash
BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
FUZZ_BUILD ?= build-fuzz
# The web build (make web), with emscripten.
WEB_BUILD ?= build-web
WEB_FILES = $(abspath $(WEB_BUILD))/web-files
HAVE_EMSCRIPTEN := $(shell command -v emcmake 2>/dev/null)
JOBS ?= 2
PREFIX ?= /usr/local
PACKAGE_PREFIX ?= /usr
# The sample game's working copy for make play, where its saves land.
PLAY_DIR ?= $(BUILD)/play
# WERROR=ON makes every compiler warning an error (.ci/run sets it).
WERROR ?= OFF
# Under CI (CI set, and not 0 or false) missing conformance cases are an error.
REQUIRE_CONFORMANCE ?= $(filter-out 0 false,$(CI))
FUZZ_SECONDS ?= 60
CONFORMANCE ?= ../shared/conformance
SOURCES = $(shell git ls-files '*.cpp' '*.hpp' 2>/dev/null || find src tests bench fuzz -name '*.[ch]pp')

CONFIGURE = cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESK_WERROR=$(WERROR) -DVESK_WEB_FILES=$(WEB_FILES)
# A build directory configured for the first time by play or install gets
# neither the tests nor the benchmarks; make and make test turn them on.
PLAYER_OPTIONS = $(if $(wildcard $(BUILD)/CMakeCache.txt),,-DVESK_TESTS=OFF -DVESK_BENCH=OFF)

.PHONY: all build play test web web-demo map sanitize conformance bench install install-check package fuzz fuzz-run fuzz-merge format format-check tidy clean

all: build

build:
	$(CONFIGURE) -DVESK_TESTS=ON -DVESK_BENCH=ON
	cmake --build $(BUILD) -j$(JOBS)

# Builds the programs alone and plays the sample game from its working copy in
# PLAY_DIR through vesk-kit play, with undo, restart, bookmarks, transcripts and
# wrapping around the game: the content files are refreshed there, and saves
# stay until make clean. `cd $(PLAY_DIR) && vesk` plays the very same game bare.
play:
	@test -f $(BUILD)/CMakeCache.txt || $(CONFIGURE) $(PLAYER_OPTIONS)
	cmake --build $(BUILD) -j$(JOBS) --target vesk vesk-kit
	@mkdir -p $(PLAY_DIR) && cp games/demo/* $(PLAY_DIR)/
	cd $(PLAY_DIR) && $(abspath $(BUILD))/vesk-kit play

# With emscripten the web build is tested too; without it its tests are skipped.
test: build $(if $(HAVE_EMSCRIPTEN),web)
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

# The engine's web build and the page's files, in WEB_BUILD/web-files. Debian's
# emscripten needs NODE_PATH=/usr/share/nodejs for its optimised builds.
web:
	@command -v emcmake >/dev/null || { echo "make web needs emscripten: sudo apt-get install emscripten" >&2; exit 1; }
	NODE_PATH=$${NODE_PATH:-/usr/share/nodejs} emcmake cmake -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=MinSizeRel -DVESK_WERROR=$(WERROR)
	NODE_PATH=$${NODE_PATH:-/usr/share/nodejs} cmake --build $(WEB_BUILD) -j$(JOBS)

# The sample game as a web page: build/web/demo.html plays from a file, and
# build/web/demo/ is the same for a web host.
web-demo: web
	@test -f $(BUILD)/CMakeCache.txt || $(CONFIGURE) $(PLAYER_OPTIONS)
	cmake --build $(BUILD) -j$(JOBS) --target vesk-kit
	@mkdir -p $(BUILD)/web
	$(BUILD)/vesk-kit publish games/demo --title "The Salt Coast" --web $(WEB_FILES) -o $(BUILD)/web/demo.html
	$(BUILD)/vesk-kit publish games/demo --title "The Salt Coast" --web $(WEB_FILES) --site $(BUILD)/web/demo

# Draws the sample game's map to docs/demo-map.svg (needs Graphviz).
map: build
	$(BUILD)/vesk-kit map games/demo --svg -o docs/demo-map.svg

# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize:
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVESK_SANITIZE=ON -DVESK_BENCH=OFF -DVESK_WERROR=$(WERROR)
	cmake --build $(SANITIZE_BUILD) -j$(JOBS)
	ctest --test-dir $(SANITIZE_BUILD) --output-on-failure -j$(JOBS)

# The black-box cases that the engine passes, listed in tests/conformance.txt.
conformance: build
	@if [ -d $(CONFORMANCE) ]; then \
	  python3 $(CONFORMANCE)/run.py $(BUILD)/vesk --list tests/conformance.txt; \
	elif [ -n "$(REQUIRE_CONFORMANCE)" ]; then \
	  echo "conformance cases not found at $(CONFORMANCE), and they are required here (CI or REQUIRE_CONFORMANCE is set)" >&2; \
	  exit 1; \
	else \
	  echo "conformance cases not found at $(CONFORMANCE); skipped"; \
	fi

bench: build
	$(BUILD)/bench/vesk_bench

# Installs vesk and vesk-kit, their manual pages, the authors' guide and the
# sample game (share/vesk/demo) under PREFIX; the manual page names the paths
# under PREFIX. It builds every program it installs. With emscripten the web
# files go to share/vesk/web for vesk-kit publish.
install: $(if $(HAVE_EMSCRIPTEN),web)
	$(CONFIGURE) $(PLAYER_OPTIONS) -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	cmake --build $(BUILD) -j$(JOBS) --target vesk vesk-kit
	cmake --install $(BUILD)

# Clones the committed tree afresh, installs it into a temporary prefix with
# make install and checks what lands there.
install-check:
	python3 tests/package/install_test.py . $(JOBS)

# Builds the Debian package (installing under PACKAGE_PREFIX) into BUILD, then
# unpacks a package of this build into a temporary root and plays it there.
package:
	$(CONFIGURE) -DVESK_TESTS=ON -DCMAKE_INSTALL_PREFIX=$(PACKAGE_PREFIX)
	cmake --build $(BUILD) -j$(JOBS)
	cd $(BUILD) && cpack -G DEB
	ctest --test-dir $(BUILD) --output-on-failure -L package

# The libFuzzer targets, built with Clang.
fuzz:
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESK_FUZZ=ON -DVESK_WERROR=$(WERROR)
	cmake --build $(FUZZ_BUILD) -j$(JOBS)

# Runs each fuzz target for FUZZ_SECONDS from its corpus in fuzz/corpus/.
fuzz-run: fuzz
	@for target in loaders session game comforts; do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$target && \
	  echo "fuzzing $$target for $(FUZZ_SECONDS) s" && \
	  $(FUZZ_BUILD)/fuzz/$${target}_fuzz -max_total_time=$(FUZZ_SECONDS) -timeout=20 -max_len=8192 \
	    -print_final_stats=1 -artifact_prefix=$(FUZZ_BUILD)/$$target- \
	    $(FUZZ_BUILD)/corpus/$$target fuzz/corpus/$$target 2>&1 | grep -E '^(stat::number_of_executed_units|==|SUMMARY|Done)' ; \
	  test $${PIPESTATUS[0]} -eq 0 || exit 1; \
	done

# Keeps in fuzz/corpus/ the inputs of the last fuzz-run that add coverage, to
# be committed so that every later run starts from them.
fuzz-merge: fuzz
	@for target in loaders session game comforts; do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$target && \
	  $(FUZZ_BUILD)/fuzz/$${target}_fuzz -merge=1 -timeout=20 -max_len=8192 \
	    fuzz/corpus/$$target $(FUZZ_BUILD)/corpus/$$target 2>&1 | grep -E '^(MERGE-OUTER|==|SUMMARY)' ; \
	  test $${PIPESTATUS[0]} -eq 0 || exit 1; \
	done

format:
	clang-format -i $(SOURCES)

format-check:
	clang-format --dry-run --Werror $(SOURCES)

tidy: build
	clang-tidy -p $(BUILD) --quiet $(shell git ls-files 'src/*.cpp')

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD) $(WEB_BUILD)
