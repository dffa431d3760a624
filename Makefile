# Thin driver over CMake. `make test` builds and runs every test; `make example` builds and runs
# the bundled example. SANITIZE=1 builds with AddressSanitizer and UndefinedBehaviorSanitizer.
BUILD ?= build
SANITIZE ?= 0
JOBS ?= 2
CMAKE_FLAGS := -DCMAKE_BUILD_TYPE=$(if $(filter 1,$(SANITIZE)),Debug,Release) \
               -DENABLE_SANITIZERS=$(if $(filter 1,$(SANITIZE)),ON,OFF) -DWERROR=ON

.PHONY: all build test example bench fuzz-smoke clean

all: build

build:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

example: build
	sh examples/run.sh $(BUILD)

# The benchmark of both tools against their targets (bench/README.md); BENCH_FLAGS=--quick for a
# shorter run.
bench: build
	$(BUILD)/bench/bench_driver --tools $(BUILD) $(BENCH_FLAGS)

# The fuzz targets built with clang and libFuzzer, each run for FUZZ_SECONDS.
FUZZ_SECONDS ?= 30
fuzz-smoke:
	CXX=clang++ cmake -S . -B build-fuzz -DENABLE_FUZZING=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build build-fuzz -j $(JOBS) --target fuzzers
	sh fuzz/run.sh build-fuzz $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD)
