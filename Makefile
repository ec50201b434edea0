# The two commands of the README: `make run` and `make test`. `make gate` is what CI runs.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
# A compiler warning fails the build when ON (CI turns it on; another compiler's new warnings
# should not stop a user's build).
WERROR ?= OFF

.PHONY: deps build run test asan bench bench-build fuzz format lint format-check tidy gate clean

deps:
	@tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DVANTORIX_WERROR=$(WERROR) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -x $(BUILD)/bin/vantor ]; then exec $(BUILD)/bin/vantor; \
	else echo "$(BUILD)/bin/vantor is missing: the build above did not make it."; exit 1; fi

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
asan:
	$(MAKE) test BUILD=build-asan CMAKE_FLAGS="-DVANTORIX_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo"

bench-build: deps
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DVANTORIX_BENCH=ON -DVANTORIX_TESTS=OFF \
	    -DVANTORIX_WERROR=$(WERROR)
	cmake --build build-bench -j $(JOBS)

bench: bench-build
	@for b in build-bench/bench-bin/*; do [ -x "$$b" ] && "$$b"; done

# Each fuzz target for FUZZ_SECONDS on a fresh copy of its seed corpus (clang, libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer). Findings land in build-fuzz/.
FUZZ_SECONDS ?= 60
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DVANTORIX_FUZZ=ON -DVANTORIX_SANITIZE=ON -DVANTORIX_TESTS=OFF -DVANTORIX_WERROR=$(WERROR)
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

# clang-format's check, then clang-tidy (.clang-tidy) over BUILD, configured with the
# benchmarks so that their sources have compile commands too.
lint: format-check tidy

format-check: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

tidy: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DVANTORIX_BENCH=ON \
	    -DVANTORIX_WERROR=$(WERROR) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)
	tools/tidy.sh $(BUILD) $(JOBS)

# What CI runs (.ci/run): the tests with warnings as errors and the benchmarks built (not
# run), the format check, clang-tidy, the tests under the sanitizers and a few seconds of each
# fuzz target.
gate:
	.ci/run

clean:
	rm -rf build build-asan build-bench build-fuzz
