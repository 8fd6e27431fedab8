# Entry points: `make run` starts the calculator, `make test` runs every test.
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: deps configure build run test test-asan bench fuzz screenshots package clean format tidy

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run-app $(BUILD)

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

test-asan: deps
	@cmake --preset asan >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	@for b in $(BUILD)/bench/bench_*; do echo "== $$b"; QT_QPA_PLATFORM=offscreen $$b || exit 1; done

fuzz: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@echo "fuzz targets are in $(FUZZ_BUILD)/fuzz; run one with scripts/run-fuzz <target> [seconds]"

screenshots: build
	@mkdir -p $(BUILD)/screenshots
	@TARIFON_SCREENSHOT_DIR=$(abspath $(BUILD))/screenshots QT_QPA_PLATFORM=offscreen \
		$(BUILD)/tests/ui/test_ui --gtest_filter='*Screenshot*:CaptionsFit.*' >/dev/null
	@echo "screenshots of every page and dialog are in $(BUILD)/screenshots"

# The Debian package, with the user manual's pictures taken fresh by `screenshots`.
package: screenshots
	@cd $(BUILD) && cpack -G DEB >/dev/null
	@ls $(BUILD)/tarifon_*.deb

# The checks of .clang-tidy over every source of src/ (slow: a compile of each file).
tidy: configure
	@run-clang-tidy -quiet -p $(BUILD) -j $(JOBS) '$(abspath src)/.*\.cpp$$'

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
