# The two commands of the README: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: deps build run test asan bench fuzz format clean

deps:
	@tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -x $(BUILD)/bin/vantor ]; then exec $(BUILD)/bin/vantor; \
	else echo "vantor is not built yet: the game program does not exist in this version."; exit 1; fi

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
asan:
	$(MAKE) test BUILD=build-asan CMAKE_FLAGS="-DVANTORIX_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo"

bench: deps
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DVANTORIX_BENCH=ON -DVANTORIX_TESTS=OFF
	cmake --build build-bench -j $(JOBS)
	@for b in build-bench/bench-bin/*; do [ -x "$$b" ] && "$$b"; done

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build build-asan build-bench build-fuzz
