# Two entry points for a newcomer: `make run` and `make test`.
BUILD      ?= build
SAN_BUILD  ?= build-san
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja

.PHONY: setup configure build run test check-format test-main test-sanitize fuzz format clean

setup:
	./scripts/setup.sh

configure: setup
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Starts the game with the build's output folder as working folder (the sounds live there).
run: build
	cd $(BUILD)/bin && ./kiryuza

test: check-format test-main test-sanitize

# Every C++ file must be as clang-format writes it.
check-format: setup
	find src tests bench tools fuzz \( -name '*.cpp' -o -name '*.h' \) -print0 | \
	    xargs -0 clang-format --dry-run --Werror

test-main: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

test-sanitize: setup
	cmake -S . -B $(SAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKIRYUZA_SANITIZE=ON
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && QT_QPA_PLATFORM=offscreen \
	    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    ctest --output-on-failure -j $(JOBS)

# Builds every fuzz target with clang and libFuzzer and runs each on a copy of its corpus.
FUZZ_RUNS ?= 200000
fuzz: setup
	cmake -S . -B build-fuzz $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCMAKE_CXX_COMPILER=clang++ -DKIRYUZA_FUZZ=ON -DKIRYUZA_BENCH=OFF
	cmake --build build-fuzz --target fuzz_all -j $(JOBS)
	for f in build-fuzz/bin/*_fuzz; do \
	    name=$$(basename $$f); mkdir -p build-fuzz/corpus/$$name; \
	    cp -n fuzz/corpus/$$name/* build-fuzz/corpus/$$name/ 2>/dev/null || true; \
	    $$f -runs=$(FUZZ_RUNS) $$(cat fuzz/$$name.flags 2>/dev/null) build-fuzz/corpus/$$name \
	        || exit 1; \
	done

format:
	find src tests bench tools fuzz -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(SAN_BUILD) build-fuzz
