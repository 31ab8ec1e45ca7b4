# The two entry points: `make run` starts the demo, `make test` builds and runs every test
# (the fuzz targets' seeds and reproducers among them); `make fuzz` runs the fuzzers.
# Our builds treat warnings as errors (ZV_WERROR); a user's plain CMake build does not.
JOBS  ?= $(shell nproc)
BUILD ?= build
ASAN  ?= build-asan
TSAN  ?= build-tsan
FUZZ  ?= build-fuzz
# make fuzz: every target of tests/fuzz (or FUZZ_TARGETS) for FUZZ_SECONDS each,
# FUZZ_PARALLEL at a time.
FUZZ_SECONDS  ?= 180
FUZZ_PARALLEL ?= 4
FUZZ_TARGETS  ?= $(patsubst tests/fuzz/fuzz_%.cpp,%,$(filter-out tests/fuzz/fuzz_support.cpp,$(wildcard tests/fuzz/fuzz_*.cpp)))
# Unit-test modules whose threads ThreadSanitizer checks, and the tests it runs: all
# of the slot lists' and the traps', the producer's race tests (its unlocked page-buffer
# reads are annotated out in that build), the keyboard's threaded tests, and the tests
# where dialogs, the printer page, WAIT and SHELL meet another thread.
TSAN_MODULES ?= list traps display input dialog text file shell
TSAN_TESTS   ?= ^(list[.]|traps[.]|display[.]ProducerRace[.]|input[.]KeyboardTest[.](KeyboardRace|HeldKeyStaysVisible)|dialog[.]GuiTest[.]InputBoxesFromTwoThreads|text[.]Lprint[.]HousekeepingPasses|file[.]Ports[.]WaitSeesARetrace|shell[.]ShellTest[.](TheHousekeeping|ManyShells))

.PHONY: run test deps build build-asan build-tsan build-fuzz fuzz clean

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZV_WERROR=ON
	cmake --build $(BUILD) -j $(JOBS)

build-asan: deps
	cmake -S . -B $(ASAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZV_SANITIZE=ON -DZV_WERROR=ON
	cmake --build $(ASAN) -j $(JOBS) --target unit_tests

build-tsan: deps
	cmake -S . -B $(TSAN) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZV_TSAN=ON -DZV_WERROR=ON
	cmake --build $(TSAN) -j $(JOBS) $(foreach m,$(TSAN_MODULES),--target test_$(m))

# libFuzzer with ASan and UBSan: clang for the library and the targets.
build-fuzz: deps
	cmake -S . -B $(FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZV_FUZZ=ON -DZV_WERROR=ON \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZZ) -j $(JOBS) --target fuzz_targets

fuzz: build-fuzz
	tests/fuzz/run-fuzz $(FUZZ) $(FUZZ_SECONDS) $(FUZZ_PARALLEL) $(FUZZ_TARGETS)

run: build
	scripts/run-demo $(BUILD)

# ctest runs each test in a process of its own; run-unit-binaries then runs each unit
# binary whole, so that no test leans on what an earlier one left behind. Leaks are
# checked per test by ctest: run whole, the modules' test resets drop what earlier
# tests allocated, which would read as leaks.
test: build build-asan build-tsan
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	scripts/run-unit-binaries $(BUILD) $(JOBS)
	cd $(ASAN) && ctest --output-on-failure -j $(JOBS) -LE e2e
	ASAN_OPTIONS=detect_leaks=0 scripts/run-unit-binaries $(ASAN) $(JOBS)
	cd $(TSAN) && TSAN_OPTIONS="history_size=7" ctest --output-on-failure -j $(JOBS) -R '$(TSAN_TESTS)'

clean:
	rm -rf $(BUILD) $(ASAN) $(TSAN) $(FUZZ)
