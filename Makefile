# The two commands of the README: `make run` and `make test`.
# Both install what is missing, then build a Release build in build/.

BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test bench screenshots clean

all: build

deps:
	@bash tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@$(BUILD_DIR)/shell/springlab

test: build
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	@$(BUILD_DIR)/bench/springlab_bench

screenshots: build
	@bash tools/install-deps.sh xvfb xauth imagemagick >/dev/null
	@bash tools/screenshots.sh $(BUILD_DIR)

clean:
	@rm -rf $(BUILD_DIR)
