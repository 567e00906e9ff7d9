# Front door for a fresh Debian/Ubuntu machine: `make run` and `make test`.
BUILD ?= build
JOBS  ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test asan clean screenshot

all: build

deps:
	@tools/install-deps.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/virav-velmora-converter

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# AddressSanitizer + UBSan build and test run in its own folder.
asan:
	@tools/install-deps.sh
	cmake -S . -B build-asan -DVV_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
	cmake --build build-asan -j $(JOBS)
	cd build-asan && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j $(JOBS)

# The README's picture: the real window previewing the test clips, cut to the window.
screenshot: build
	tools/screenshot.sh docs/screenshot.png 4 $(BUILD)/tests/preview_demo
	convert docs/screenshot.png -trim +repage docs/screenshot.png

clean:
	rm -rf $(BUILD) build-asan
