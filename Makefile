# Orvex Lite: `make run` builds and starts the program, `make test` builds and
# runs every test (normal build and an ASan+UBSan build).

BUILD      ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
JOBS       ?= $(shell nproc)
PACKAGES   := cmake ninja-build g++ pkg-config qt6-base-dev libsimpleini-dev libbenchmark-dev \
              xvfb xauth imagemagick xdotool
SUDO       := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
CMAKE_GEN  := -G Ninja

.PHONY: all deps build asan test run bench fuzz format clean

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

test: build asan
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
	  UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

run: build
	cd $(BUILD) && ./orvex

bench: deps
	cmake -S . -B $(BENCH_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DORVEX_BENCH=ON
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	@for b in $(BENCH_BUILD)/bench/bench_*; do if [ -f "$$b" ] && [ -x "$$b" ]; then QT_QPA_PLATFORM=offscreen $$b || exit 1; fi; done

# Fuzzes the text readers for FUZZ_SECONDS (needs clang-14 and libclang-rt-14-dev).
FUZZ_SECONDS ?= 60
fuzz:
	@for p in clang-14 libclang-rt-14-dev; do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "ok installed" || \
	  { $(SUDO) apt-get update -qq && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$p; }; \
	done
	mkdir -p build-fuzz
	clang++-14 -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -I. fuzz/fuzz_parsers.cpp \
	  ipv4lib/ipv4.cpp ipv4lib/ipv4host.cpp ipv4lib/ipv4mac.cpp shell/fieldsplitter.cpp \
	  -o build-fuzz/fuzz_parsers
	build-fuzz/fuzz_parsers -max_total_time=$(FUZZ_SECONDS) -max_len=64

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) build-fuzz
