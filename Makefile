# The entry points of README.md: `make run` and `make test`, and the reliability checks:
# `make test-sanitize`, `make fuzz`, `make fuzz-smoke` and `make faultsoak`.
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS ?= $(shell nproc)
# Seconds each fuzz target runs: `make fuzz` only builds unless it is given; the smoke runs 20.
FUZZ_SECONDS ?=
SMOKE_SECONDS ?= 20

.PHONY: deps configure build run test bench faultsoak test-sanitize fuzz fuzz-smoke clean

deps:
	@bash scripts/install-deps.sh

configure: deps
	@[ -f $(BUILD)/build.ninja ] || cmake -S . -B $(BUILD) -G Ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@bash scripts/run.sh $(BUILD)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -LE bench

bench: build
	cd $(BUILD) && ctest --output-on-failure -L bench -V

faultsoak: configure
	cmake --build $(BUILD) -j $(JOBS) --target faultsoak
	$(BUILD)/bench/faultsoak/faultsoak

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer, in its own folder.
test-sanitize: deps
	@bash scripts/sanitize.sh $(ASAN_BUILD) $(JOBS)

fuzz: deps
	@bash scripts/fuzz.sh $(FUZZ_BUILD) $(JOBS) $(FUZZ_SECONDS)

fuzz-smoke: deps
	@bash scripts/fuzz.sh $(FUZZ_BUILD) $(JOBS) $(SMOKE_SECONDS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
