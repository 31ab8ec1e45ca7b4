# The two entry points: `make run` starts the demo, `make test` builds and runs every test.
JOBS  ?= $(shell nproc)
BUILD ?= build
ASAN  ?= build-asan

.PHONY: run test deps build build-asan clean

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

build-asan: deps
	cmake -S . -B $(ASAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZV_SANITIZE=ON
	cmake --build $(ASAN) -j $(JOBS) --target unit_tests

run: build
	scripts/run-demo $(BUILD)

test: build build-asan
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	cd $(ASAN) && ctest --output-on-failure -j $(JOBS) -LE e2e

clean:
	rm -rf $(BUILD) $(ASAN)
