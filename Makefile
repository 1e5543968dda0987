# The two commands of the README: `make run` and `make test`.
# Both install what is missing, then build a Release build in build/.

BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=
# Arguments for the program on `make run`, e.g. ARGS="--open two-balls".
ARGS ?=

# The build tool's own "Entering/Leaving directory" lines say nothing here.
MAKEFLAGS += --no-print-directory
SHELL := /bin/bash

.PHONY: all deps configure build web web-core web-site run test test-sanitize bench package screenshots clean

all: build

deps:
	@bash tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON -DSPRINGLAB_BENCH=ON \
		$(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# Only the program and what it links: the tests and benchmarks are built by
# `make test` and `make bench`. When the program cannot start (no display)
# it says why in one line and ends with status 1; that line is the whole
# answer, so make adds no error line of its own and ends quietly. Any
# other failure (a crash) is passed on with its status.
# The build shows what it compiles and links, not the targets that are
# already up to date.
run: configure
	@set -o pipefail; cmake --build $(BUILD_DIR) -j $(JOBS) --target springlab 2>&1 \
		| { grep --line-buffered -v -E '^\[ *[0-9]+%\] (Built target|Automatic MOC)|^Consolidate' || true; }
	@$(BUILD_DIR)/shell/springlab $(ARGS) || { status=$$?; [ $$status -eq 1 ] || exit $$status; }

# The core without Qt as WebAssembly, run by node: build/web/springlab-cli.mjs
# (`node build/web/springlab-cli.mjs run vibration --ticks 100`) and the
# programs the tests and benchmarks compare with their native twins.
# emscripten keeps its cache in the build folder (/ may be read-only);
# NODE_PATH lets emscripten's own scripts find Debian's node modules.
WEB_DIR := $(BUILD_DIR)/web
WEB_ENV = EM_CACHE=$(abspath $(WEB_DIR)/emcache) NODE_PATH=/usr/share/nodejs
web-core: deps
	@bash tools/install-deps.sh emscripten nodejs
	@bash tools/web-cache.sh $(WEB_DIR)/emcache
	@$(WEB_ENV) emcmake cmake -S . -B $(WEB_DIR)/cmake -DCMAKE_BUILD_TYPE=Release \
		-DSPRINGLAB_WEB_OUTPUT_DIR=$(abspath $(WEB_DIR)) >/dev/null
	@$(WEB_ENV) cmake --build $(WEB_DIR)/cmake -j $(JOBS)

# The page in a browser: the TypeScript checked and bundled over the module
# into $(WEB_DIR)/site, a folder any static web server serves. The npm
# packages are the ones web/package-lock.json pins (npm ci), and Debian's
# Chromium runs the page's tests.
web-site: web-core
	@bash tools/install-deps.sh chromium
	@bash tools/npm-ci.sh web
	@cd web && node_modules/.bin/tsc -p .
	@node web/tools/build-site.mjs $(WEB_DIR)

# Builds the page and serves it on localhost until Ctrl+C.
WEB_PORT ?= 8080
web: web-site
	@node web/tools/serve.mjs $(WEB_DIR)/site $(WEB_PORT)

# The web build first: the tests compare its runs with the desktop's.
test: build web-site
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The whole suite under AddressSanitizer, UndefinedBehaviorSanitizer and
# LeakSanitizer, then bounded libFuzzer runs on Val and the conversions and
# on the recording reader.
SANITIZE_DIR ?= build-sanitize
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
test-sanitize: deps
	@bash tools/install-deps.sh clang libclang-rt-dev
	@cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSPRINGLAB_SANITIZE=ON \
		-DBUILD_TESTING=ON -DSPRINGLAB_BENCH=OFF $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(SANITIZE_DIR) -j $(JOBS)
	@cd $(SANITIZE_DIR) && QT_QPA_PLATFORM=offscreen \
		ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizer/lsan.supp:print_suppressions=0 \
		ctest --output-on-failure -j $(JOBS)
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DSPRINGLAB_FUZZ=ON -DSPRINGLAB_BENCH=OFF >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS) --target val_fuzzer
	@mkdir -p $(FUZZ_DIR)/corpus
	@set -o pipefail; $(FUZZ_DIR)/tests/fuzz/val_fuzzer -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
		$(FUZZ_DIR)/corpus tests/fuzz/corpus/val 2>&1 | tail -n 12
	@cmake --build $(FUZZ_DIR) -j $(JOBS) --target recording_fuzzer
	@mkdir -p $(FUZZ_DIR)/corpus-recording
	@set -o pipefail; $(FUZZ_DIR)/tests/fuzz/recording_fuzzer -max_total_time=$(FUZZ_SECONDS) -max_len=4096 -print_final_stats=1 \
		$(FUZZ_DIR)/corpus-recording tests/fuzz/corpus/recording 2>&1 | tail -n 12

# Last the page in headless Chromium on the real clock (about a minute).
bench: build web-site
	@$(BUILD_DIR)/bench/springlab_bench
	@bash bench/node_vs_native.sh $(BUILD_DIR)
	@SPRINGLAB_SITE=$(abspath $(WEB_DIR)/site) node web/bench/page-bench.mjs $(WEB_DIR)/page-bench.md

# A Debian package (springlab_<version>_<arch>.deb) in build/.
package: build
	@cd $(BUILD_DIR) && cpack -G DEB

screenshots: build
	@bash tools/install-deps.sh xvfb xauth imagemagick >/dev/null
	@bash tools/screenshots.sh $(BUILD_DIR)

clean:
	@rm -rf $(BUILD_DIR)
