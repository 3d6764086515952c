# Everyday commands: make, make play, make test, make sanitize, make conformance.
BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
JOBS ?= 2
CONFORMANCE ?= ../shared/conformance

.PHONY: all build play test sanitize conformance bench clean

all: build

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

# Plays the bundled sample game.
play: build
	cd games/demo && $(CURDIR)/$(BUILD)/vesk

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize:
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVESK_SANITIZE=ON
	cmake --build $(SANITIZE_BUILD) -j$(JOBS)
	ctest --test-dir $(SANITIZE_BUILD) --output-on-failure -j$(JOBS)

# The black-box cases that the engine passes so far, listed in tests/conformance.txt.
conformance: build
	@if [ -d $(CONFORMANCE) ]; then \
	  python3 $(CONFORMANCE)/run.py $(BUILD)/vesk --list tests/conformance.txt; \
	else \
	  echo "conformance cases not found at $(CONFORMANCE); skipped"; \
	fi

bench: build
	$(BUILD)/bench/vesk_bench

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD)
