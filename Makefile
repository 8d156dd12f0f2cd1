# Thin wrapper over CMake and CTest; every flag lives in CMakeLists.txt.
BUILD ?= build

.PHONY: deps build test clean

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j2

test: build
	ctest --test-dir $(BUILD) --output-on-failure

clean:
	rm -rf $(BUILD)
