# One-word commands over CMake. Everything builds in build/.
BUILD_TYPE ?= Release
BUILD      ?= build
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_ARGS ?=

# Debian packages the build, the tests and `make run` need.
PACKAGES = cmake g++ make pkg-config qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev \
           xvfb xauth xdotool xclip imagemagick fonts-wqy-zenhei fonts-liberation2 \
           clang libclang-rt-14-dev

.PHONY: all deps build run test bench clean

all: build

deps:
	@scripts/install-deps.sh $(PACKAGES)

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_ARGS)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run.sh $(BUILD)/velmorant

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DVELMORANT_BENCH=ON $(CMAKE_ARGS)
	cmake --build $(BUILD) -j $(JOBS) --target gradient_bench
	$(BUILD)/bench/gradient_bench

clean:
	rm -rf $(BUILD)
