# Two entry points for a newcomer: `make run` and `make test`.
BUILD      ?= build
SAN_BUILD  ?= build-san
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja

.PHONY: setup configure build run test test-main test-sanitize format clean

setup:
	./scripts/setup.sh

configure: setup
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Starts the game with the build's output folder as working folder (the sounds live there).
run: build
	cd $(BUILD)/bin && ./kiryuza

test: test-main test-sanitize

test-main: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

test-sanitize: setup
	cmake -S . -B $(SAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKIRYUZA_SANITIZE=ON
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && QT_QPA_PLATFORM=offscreen \
	    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    ctest --output-on-failure -j $(JOBS) -LE no-sanitize

format:
	find src tests bench tools fuzz -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(SAN_BUILD)
