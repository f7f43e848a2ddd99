# Quick start on a fresh Debian 12 machine:
#   make run    installs what is missing, builds, starts the program in build/work
#   make test   installs what is missing, builds, runs every test (then again under sanitizers)
#   make package  builds the Debian package; then apt install ./velmora_*.deb
#   make windows  cross-builds for 64-bit Windows and makes Velmora-<version>-setup.exe
#   make test-windows  tests the Windows build under wine64
#   make manual   remakes the manual's pictures and the manual

BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 15
JOBS       ?= $(shell nproc)
SUDO       := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

# Debian packages the build, the tests and the tools need.
PACKAGES := cmake g++ make pkg-config qt6-base-dev qt6-translations-l10n libgl-dev \
            libgtest-dev libbenchmark-dev libqpdf-dev xvfb xauth clang libclang-rt-dev time \
            dpkg-dev librsvg2-bin lintian desktop-file-utils appstream reuse python3-yaml \
            openbox xdotool imagemagick

.PHONY: all deps configure build run package test test-fast test-asan test-fuzz windows \
        test-windows manual clean format

all: build

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_WERROR=ON

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD)/work && ../bin/velmora

# The Debian package velmora_<version>_<arch>.deb, left in this folder.
package: build
	rm -rf $(BUILD)/package
	cd $(BUILD) && cpack -B package
	cp $(BUILD)/package/velmora_*.deb .

test-fast: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVELMORA_WERROR=ON -DVELMORA_SANITIZE=ON \
	      -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g0"
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# The fuzzers, built with clang, each for a short fixed time: the import's, and the one over the
# place tables, config.ini and the tax codes read from standard input. A crash, a sanitizer
# report or a broken promise of a reader fails the run. New inputs they find stay in the build.
test-fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVELMORA_FUZZ=ON \
	      -DVELMORA_BENCHMARKS=OFF -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g"
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_import fuzz_text
	set -e; for target in import text; do \
	  seeds=tests/fuzz/seeds; [ $$target = import ] || seeds=tests/fuzz/seeds-$$target; \
	  mkdir -p $(FUZZ_BUILD)/corpus-$$target; \
	  ASAN_OPTIONS=detect_leaks=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  $(FUZZ_BUILD)/bin/fuzz_$$target -max_total_time=$(FUZZ_SECONDS) -max_len=4096 -timeout=10 \
	        $(FUZZ_BUILD)/corpus-$$target $$seeds; \
	done

test: test-fast test-asan test-fuzz

# Windows: Qt and qpdf are built once from Debian's source packages into ~/.cache/velmora
# (tools/windows/build-deps.sh), then the program, its tests and the installer.
windows: deps
	tools/windows/build.sh

# The Windows tests compare the batch of the installed program with the Linux build's.
test-windows: build
	tools/windows/test.sh

# The manual's pictures, taken from the real program under Xvfb, then the Word document that
# "Guida" opens, made from docs-src/manuale-utente.html with the pictures inside.
manual: build
	tools/screenshots.sh $(BUILD)
	tools/make-manual.sh

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) build-windows
