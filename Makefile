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

# Each fuzz target for FUZZ_SECONDS on a fresh copy of its seed corpus (clang, libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer). Findings land in build-fuzz/.
FUZZ_SECONDS ?= 60
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DVANTORIX_FUZZ=ON -DVANTORIX_SANITIZE=ON -DVANTORIX_TESTS=OFF
	cmake --build build-fuzz -j $(JOBS) --target fuzz_all
	@set -e; for f in build-fuzz/fuzz-bin/*_fuzz; do \
	    n=$$(basename $$f); c=build-fuzz/corpus/$$n; \
	    rm -rf $$c; mkdir -p $$c; cp fuzz/corpus/$${n%_fuzz}/* $$c/; \
	    echo "== $$n ($(FUZZ_SECONDS) s)"; \
	    (cd build-fuzz && fuzz-bin/$$n -max_total_time=$(FUZZ_SECONDS) -max_len=16384 \
	        -print_final_stats=1 corpus/$$n); \
	done

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build build-asan build-bench build-fuzz
