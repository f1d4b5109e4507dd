# The two entry points of the README: `make run` and `make test`.
BUILD_DIR   ?= build
BUILD_TYPE  ?= RelWithDebInfo
DEMO_PREFIX ?= $(CURDIR)/.demo-prefix
PREFIX      ?= /usr/local

.PHONY: all setup configure build test run bench clean install

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

# The program, its help, icon, menu entry, metainfo and manual page below
# $(PREFIX); DESTDIR is honoured for packaging.
install: build
	@cmake --install $(BUILD_DIR) --prefix $(PREFIX)

clean:
	rm -rf $(BUILD_DIR)
