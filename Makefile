# Orvex Lite: `make run` builds and starts the program, `make test` builds and
# runs every test (normal build and an ASan+UBSan build).

BUILD      ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
PACKAGES   := cmake ninja-build g++ pkg-config qt6-base-dev qt6-svg-dev libsimpleini-dev libbenchmark-dev \
              xvfb xauth imagemagick xdotool clang-14 libclang-rt-14-dev \
              desktop-file-utils appstream strace file dpkg-dev
SUDO       := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
CMAKE_GEN  := -G Ninja

.PHONY: all deps build asan test run bench fuzz fuzz-build package format clean

all: build

# Installs only what is missing (apt-get needs a package list first).
deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

asan: deps
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DORVEX_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)

# Leaks in the program's own code fail the sanitizer run; the suppressions
# name third-party libraries only.
SANITIZER_ENV := ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
                 UBSAN_OPTIONS=print_stacktrace=1

test: build asan fuzz-build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS)
	fuzz/run.sh $(FUZZ_BUILD) 10

# A Debian package of the program (build/orvex-lite_<version>_<arch>.deb).
package: build
	cd $(BUILD) && cpack -G DEB

run: build
	cd $(BUILD) && ./orvex

bench: deps
	cmake -S . -B $(BENCH_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DORVEX_BENCH=ON
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	@for b in $(BENCH_BUILD)/bench/bench_*; do if [ -f "$$b" ] && [ -x "$$b" ]; then QT_QPA_PLATFORM=offscreen $$b || exit 1; fi; done

# Fuzz targets, one per reader of outside text, built with clang and libFuzzer.
fuzz-build: deps
	cmake -S . -B $(FUZZ_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVEX_FUZZ=ON \
	  -DCMAKE_CXX_COMPILER=clang++-14
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers

# Runs every fuzz target for FUZZ_SECONDS (two at a time).
FUZZ_SECONDS ?= 60
fuzz: fuzz-build
	fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD)
