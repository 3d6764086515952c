# Everyday commands: make, make play, make test; see the README for the rest.
SHELL := /bin/bash
BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
FUZZ_BUILD ?= build-fuzz
JOBS ?= 2
PREFIX ?= /usr/local
FUZZ_SECONDS ?= 60
CONFORMANCE ?= ../shared/conformance
SOURCES = $(shell git ls-files '*.cpp' '*.hpp' 2>/dev/null || find src tests bench fuzz -name '*.[ch]pp')

.PHONY: all build play test map sanitize conformance bench install fuzz fuzz-run format format-check tidy clean

all: build

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

# Plays the bundled sample game.
play: build
	cd games/demo && $(CURDIR)/$(BUILD)/vesk

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

# Draws the sample game's map to docs/demo-map.svg (needs Graphviz).
map: build
	$(BUILD)/vesk-kit map games/demo --svg -o docs/demo-map.svg

# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize:
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVESK_SANITIZE=ON -DVESK_BENCH=OFF
	cmake --build $(SANITIZE_BUILD) -j$(JOBS)
	ctest --test-dir $(SANITIZE_BUILD) --output-on-failure -j$(JOBS)

# The black-box cases that the engine passes, listed in tests/conformance.txt.
conformance: build
	@if [ -d $(CONFORMANCE) ]; then \
	  python3 $(CONFORMANCE)/run.py $(BUILD)/vesk --list tests/conformance.txt; \
	else \
	  echo "conformance cases not found at $(CONFORMANCE); skipped"; \
	fi

bench: build
	$(BUILD)/bench/vesk_bench

# Installs vesk, its manual page and the sample game (share/vesk/demo) under PREFIX.
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# The libFuzzer targets, built with Clang.
fuzz:
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESK_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j$(JOBS)

# Runs each fuzz target for FUZZ_SECONDS from its corpus in fuzz/corpus/.
fuzz-run: fuzz
	@for target in loaders session game; do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$target && \
	  echo "fuzzing $$target for $(FUZZ_SECONDS) s" && \
	  $(FUZZ_BUILD)/fuzz/$${target}_fuzz -max_total_time=$(FUZZ_SECONDS) -timeout=20 -max_len=8192 \
	    -print_final_stats=1 -artifact_prefix=$(FUZZ_BUILD)/$$target- \
	    $(FUZZ_BUILD)/corpus/$$target fuzz/corpus/$$target 2>&1 | grep -E '^(stat::number_of_executed_units|==|SUMMARY|Done)' ; \
	  test $${PIPESTATUS[0]} -eq 0 || exit 1; \
	done

format:
	clang-format -i $(SOURCES)

format-check:
	clang-format --dry-run --Werror $(SOURCES)

tidy: build
	clang-tidy -p $(BUILD) --quiet $(shell git ls-files 'src/*.cpp')

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD)
