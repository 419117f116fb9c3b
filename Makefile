# The front door: everything a newcomer or CI needs is one of these targets.
#   make run             builds and runs `lumxip demo`
#   make test            installs missing packages, builds and runs every test
#   make test-sanitize   the same under AddressSanitizer and UndefinedBehaviorSanitizer
#   make fuzz            fuzzes every loader for FUZZ_SECONDS each (clang 14, libFuzzer)
#   make test-tsan       the test suite and its stress tests under ThreadSanitizer
#   make bench           benchmarks the kernels against OpenCV (installs OpenCV for it)
#   make format          formats the sources with clang-format

BUILD_DIR    ?= build
SANITIZE_DIR ?= build-sanitize
FUZZ_DIR     ?= build-fuzz
TSAN_DIR     ?= build-tsan
FUZZ_SECONDS ?= 60
BENCH_DIR    ?= $(BUILD_DIR)/bench
BUILD_TYPE   ?= RelWithDebInfo
JOBS         ?= $(shell nproc 2>/dev/null || echo 2)
GENERATOR    := -G Ninja

# The compiler cache keys on paths relative to the tree, so clones and work trees share it.
export CCACHE_BASEDIR  ?= $(CURDIR)
export CCACHE_NOHASHDIR ?= 1

# Debian packages the build, the tests and the tools need.
DEB_PACKAGES := cmake ninja-build g++ ccache libgtest-dev libgmock-dev libbenchmark-dev clang-format \
                libhwy-dev libpng-dev libtiff-dev nlohmann-json3-dev libcli11-dev \
                python3-dev python3-pybind11 pybind11-dev python3-numpy python3-pytest
# Only the benchmark compares with OpenCV; nothing else may need it.
BENCH_PACKAGES := libopencv-dev
# Only the fuzz targets need clang and its libFuzzer runtime.
FUZZ_PACKAGES := clang-14 libclang-rt-14-dev
FUZZ_TARGETS  := fuzz_core_archive fuzz_persist_binary fuzz_persist_text fuzz_image_file fuzz_dispatch

.PHONY: deps bench-deps fuzz-deps build test test-sanitize test-tsan fuzz fuzz-build bench run \
        format check-format clean

deps:
	@tools/install-deps.sh $(DEB_PACKAGES)

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) $(GENERATOR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

build: deps $(BUILD_DIR)/build.ninja
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	@tools/run-tests.sh $(BUILD_DIR) $(JOBS)

$(SANITIZE_DIR)/build.ninja:
	cmake -S . -B $(SANITIZE_DIR) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DLUMXIP_SANITIZE=ON

test-sanitize: deps $(SANITIZE_DIR)/build.ninja
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	@tools/run-tests.sh $(SANITIZE_DIR) $(JOBS)

$(TSAN_DIR)/build.ninja:
	cmake -S . -B $(TSAN_DIR) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMXIP_TSAN=ON

# Any report fails the test that caused it.
test-tsan: deps $(TSAN_DIR)/build.ninja
	cmake --build $(TSAN_DIR) -j $(JOBS)
	TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" tools/run-tests.sh $(TSAN_DIR) $(JOBS)

fuzz-deps: deps
	@tools/install-deps.sh $(FUZZ_PACKAGES)

# Optimised lightly and with line tables only: the build is a whole extra one.
$(FUZZ_DIR)/build.ninja: | fuzz-deps
	CC=clang-14 CXX=clang++-14 cmake -S . -B $(FUZZ_DIR) $(GENERATOR) -DCMAKE_BUILD_TYPE= \
	  -DCMAKE_CXX_FLAGS="-O1 -gline-tables-only" -DLUMXIP_FUZZ=ON -DLUMXIP_TESTS=OFF

fuzz-build: fuzz-deps $(FUZZ_DIR)/build.ninja
	cmake --build $(FUZZ_DIR) --target $(FUZZ_TARGETS) -j $(JOBS)

fuzz: fuzz-build
	tools/run-fuzz.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

bench-deps: deps
	@tools/install-deps.sh $(BENCH_PACKAGES)

# A Release build of its own; it prints the table and writes $(BENCH_DIR)/report.json.
$(BENCH_DIR)/build.ninja: | bench-deps
	cmake -S . -B $(BENCH_DIR) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DLUMXIP_BENCH=ON \
	  -DLUMXIP_TESTS=OFF

bench: bench-deps $(BENCH_DIR)/build.ninja
	cmake --build $(BENCH_DIR) --target lumxip-bench -j $(JOBS)
	$(BENCH_DIR)/bench/lumxip-bench --report $(BENCH_DIR)/report.json

run: build
	$(BUILD_DIR)/apps/lumxip/lumxip demo

format:
	@git ls-files '*.h' '*.cpp' | xargs clang-format -i

check-format:
	@git ls-files '*.h' '*.cpp' | xargs clang-format --dry-run --Werror

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(FUZZ_DIR) $(TSAN_DIR)
