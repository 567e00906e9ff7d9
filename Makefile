# Front door for a fresh Debian/Ubuntu machine: `make run` and `make test`.
BUILD ?= build
JOBS  ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=
FUZZ_SECONDS ?= 60

.PHONY: all deps configure build run test asan fuzz clean screenshot package package-check

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

# Every test at the window's own scale and again at 2x, where the finer skin is drawn.
TEST_SCALES ?= 1 2
test: build
	@cd $(BUILD) && for scale in $(TEST_SCALES); do \
	  echo "== tests at QT_SCALE_FACTOR=$$scale"; \
	  QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=$$scale ctest --output-on-failure -j $(JOBS) || exit 1; \
	done

# AddressSanitizer + UBSan build and test run in its own folder.
asan:
	@tools/install-deps.sh
	cmake -S . -B build-asan -DVV_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug $(CMAKE_FLAGS)
	cmake --build build-asan -j $(JOBS)
	cd build-asan && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j $(JOBS)

# The .deb, in a build folder of its own: Debian's compiler and linker flags (hardened),
# no tests, and CPack's DEB generator, which asks dpkg-shlibdeps for the dependencies.
PACKAGE_BUILD ?= build-package
package:
	@tools/install-deps.sh package
	DEB_BUILD_MAINT_OPTIONS=hardening=+all; export DEB_BUILD_MAINT_OPTIONS; \
	CXXFLAGS="$$(dpkg-buildflags --get CXXFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" \
	LDFLAGS="$$(dpkg-buildflags --get LDFLAGS)" \
	cmake -S . -B $(PACKAGE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVV_BUILD_TESTS=OFF $(CMAKE_FLAGS)
	cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	cd $(PACKAGE_BUILD) && cpack -G DEB

# The package as a user gets it: lintian, then installed with apt-get, both programs run
# from their installed paths, and removed without a trace (as root: CI does this).
package-check: package
	tools/package-check.sh $(PACKAGE_BUILD)/virav-velmora-converter_*.deb

# libFuzzer runs of the media and profile harnesses in build-fuzz/, FUZZ_SECONDS each.
# They start from copies of the committed corpus: new inputs stay in build-fuzz/corpus-*,
# faults land in build-fuzz/faults-*, the inputs' temporary files in build-fuzz/tmp.
fuzz:
	@tools/install-deps.sh fuzz
	CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -DVV_FUZZ=ON -DVV_BUILD_TESTS=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build-fuzz -j $(JOBS) --target fuzz_media fuzz_profile
	@failed=0; for name in media profile; do \
	  mkdir -p build-fuzz/corpus-$$name build-fuzz/faults-$$name build-fuzz/tmp; \
	  cp -n tests/fuzz/corpus/$$name/* build-fuzz/corpus-$$name/; \
	  echo "fuzz_$$name: $(FUZZ_SECONDS) s, log in build-fuzz/fuzz-$$name.log"; \
	  if TMPDIR=$(CURDIR)/build-fuzz/tmp build-fuzz/tests/fuzz_$$name build-fuzz/corpus-$$name \
	      -max_total_time=$(FUZZ_SECONDS) -timeout=25 -rss_limit_mb=2048 -print_final_stats=1 \
	      -artifact_prefix=build-fuzz/faults-$$name/ > build-fuzz/fuzz-$$name.log 2>&1; \
	  then grep -h 'stat::number_of_executed_units' build-fuzz/fuzz-$$name.log; \
	  else failed=1; tail -n 40 build-fuzz/fuzz-$$name.log; fi; \
	done; exit $$failed

# The README's pictures: the real window previewing the test clips, cut to the window,
# at scale 1 and at 2x.
screenshot: build
	tools/screenshot.sh docs/screenshot.png 4 $(BUILD)/tests/preview_demo
	convert docs/screenshot.png -trim +repage docs/screenshot.png
	QT_SCALE_FACTOR=2 tools/screenshot.sh docs/screenshot-2x.png 4 $(BUILD)/tests/preview_demo
	convert docs/screenshot-2x.png -trim +repage docs/screenshot-2x.png

clean:
	rm -rf $(BUILD) build-asan build-fuzz $(PACKAGE_BUILD)
