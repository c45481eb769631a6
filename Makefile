# Orvex Lite: `make run` builds the program alone and starts it, `make test`
# builds everything and runs every test (normal build and an ASan+UBSan build).

BUILD      ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
JOBS       ?= $(shell nproc)
PACKAGES   := cmake ninja-build g++ pkg-config qt6-base-dev qt6-svg-dev libsimpleini-dev libbenchmark-dev \
              libcli11-dev nlohmann-json3-dev scdoc \
              xvfb xauth imagemagick xdotool clang-14 libclang-rt-14-dev \
              desktop-file-utils appstream strace file dpkg-dev
# The command line benchmark measures prips and iprange in the same run, and
# peak memory with GNU time.
BENCH_PACKAGES := prips iprange time
SUDO       := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
CMAKE_GEN  := -G Ninja

.PHONY: all deps configure build asan test run bench fuzz package format clean

all: build

# Installs only what is missing (apt-get needs a package list first).
deps:
	@missing=""; for p in $(PACKAGES) $(EXTRA_PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# The sanitizer build is made with clang, so the same tree holds the fuzz
# targets; -O1 keeps the sanitized tests and fuzzers quick.
asan: deps
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
	  -DORVEX_SANITIZE=ON -DORVEX_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++-14
	cmake --build $(ASAN_BUILD) -j $(JOBS)

# Leaks in the program's own code fail the sanitizer run; the suppressions
# name third-party libraries only.
SANITIZER_ENV := ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
                 UBSAN_OPTIONS=print_stacktrace=1

test: build asan
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS)
	fuzz/run.sh $(ASAN_BUILD) 10

# A Debian package of the program (build/orvex-lite_<version>_<arch>.deb).
package: build
	cd $(BUILD) && cpack -G DEB

# Only the program and the libraries it links: the test programs are left to
# `make test` and `make build`.
run: configure
	cmake --build $(BUILD) -j $(JOBS) --target orvex
	cd $(BUILD) && ./orvex

bench:
	$(MAKE) deps EXTRA_PACKAGES="$(BENCH_PACKAGES)"
	cmake -S . -B $(BENCH_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DORVEX_BENCH=ON
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	@for b in $(BENCH_BUILD)/bench/bench_*; do if [ -f "$$b" ] && [ -x "$$b" ]; then QT_QPA_PLATFORM=offscreen $$b || exit 1; fi; done
	bench/bench_cli.sh $(BENCH_BUILD)/cli/orvex-cli

# Runs every fuzz target (one per reader of outside text) for FUZZ_SECONDS,
# two at a time.
FUZZ_SECONDS ?= 60
fuzz: asan
	fuzz/run.sh $(ASAN_BUILD) $(FUZZ_SECONDS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD)
