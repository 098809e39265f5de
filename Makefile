# The newcomer's two commands, ./run and ./test, set the machine up and then call `make run`
# and `make test package`.
BUILD      ?= build
SAN_BUILD  ?= build-san
TSAN_BUILD ?= build-tsan
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja

.PHONY: setup configure build run test check-format test-main test-sanitize test-thread package \
        icons fuzz format clean

setup:
	./scripts/setup.sh

# The main build is the Release build packagers make, with warnings as errors.
configure: setup
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DKIRYUZA_WERROR=ON

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Starts the game from the build (it finds its sounds beside itself).
run: build
	$(BUILD)/bin/kiryuza

test: check-format test-main test-sanitize test-thread

# Every C++ file must be as clang-format writes it.
check-format: setup
	find src tests bench tools fuzz \( -name '*.cpp' -o -name '*.h' \) -print0 | \
	    xargs -0 clang-format --dry-run --Werror

test-main: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Light optimisation and line tables only: about half the compile time of -O2 -g, with stack
# traces that still name files and lines. The benchmarks are no tests and are left out.
test-sanitize: setup
	cmake -S . -B $(SAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKIRYUZA_WERROR=ON \
	    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" -DKIRYUZA_SANITIZE=ON -DKIRYUZA_BENCH=OFF
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && QT_QPA_PLATFORM=offscreen \
	    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    ctest --output-on-failure -j $(JOBS) -LE no-sanitize

# What threads share, under ThreadSanitizer: the sound library's stress test (the game's thread
# and the output thread share the mixer) and the searching player on several threads. A small
# build: only those tests and what they link.
THREAD_TESTS := sound_stress_test search_threads_test
test-thread: setup
	cmake -S . -B $(TSAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKIRYUZA_WERROR=ON \
	    -DKIRYUZA_THREAD_SANITIZE=ON -DKIRYUZA_GUI=OFF -DKIRYUZA_BENCH=OFF
	cmake --build $(TSAN_BUILD) --target $(THREAD_TESTS) -j $(JOBS)
	for t in $(THREAD_TESTS); do \
	    TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 $(TSAN_BUILD)/bin/$$t || exit 1; \
	done

# The Debian package of the main build (games/kiryuza, the sounds, menu entry, icon, metadata,
# manual pages), checked with lintian: any error fails.
# CPack's tar writer needs a UTF-8 locale for the sounds' Japanese names; a minimal machine
# may have none set, and C.UTF-8 is always there.
package: build
	rm -f $(BUILD)/kiryuza_*.deb
	cd $(BUILD) && LC_ALL=C.UTF-8 cpack -G DEB
	LC_ALL=C.UTF-8 lintian --fail-on error $(BUILD)/kiryuza_*.deb

# Draws the icon again into data/icons (it needs the Mincho face the game uses).
icons: configure
	cmake --build $(BUILD) --target kiryuza-icon
	$(BUILD)/bin/kiryuza-icon data/icons

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
	rm -rf $(BUILD) $(SAN_BUILD) $(TSAN_BUILD) build-fuzz
