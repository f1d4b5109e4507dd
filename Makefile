# The two entry points of the README: `make run` and `make test`.
BUILD_DIR   ?= build
BUILD_TYPE  ?= RelWithDebInfo
DEMO_PREFIX ?= $(CURDIR)/.demo-prefix

.PHONY: all setup configure build test run bench clean

all: build

setup:
	@scripts/setup.sh

configure: setup
	@if [ ! -f $(BUILD_DIR)/build.ninja ]; then \
	    cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) >/dev/null; \
	fi

build: configure
	@cmake --build $(BUILD_DIR)

test: build
	@scripts/run-tests.sh $(BUILD_DIR)

run: build
	@scripts/run-demo.sh $(BUILD_DIR) $(DEMO_PREFIX)

bench: build
	@for b in $(BUILD_DIR)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

clean:
	rm -rf $(BUILD_DIR)
