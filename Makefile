# Two entry points on a fresh Debian 12 machine (as root):
#   make run    install what is missing, build Release, start the program
#   make test   install what is missing, build and run every test, then the
#               same under AddressSanitizer + UndefinedBehaviorSanitizer
JOBS ?= $(shell nproc)
CMAKE_GEN := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

.PHONY: run test deps release debug asan bench clean

deps:
	@scripts/install-deps

release: deps
	cmake -S . -B build/release $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DQV_BUILD_TESTS=OFF
	cmake --build build/release -j $(JOBS)

run: release
	./build/release/quorvel

debug: deps
	cmake -S . -B build/debug $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DQV_BUILD_BENCH=OFF
	cmake --build build/debug -j $(JOBS)

asan: deps
	cmake -S . -B build/asan $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DQV_SANITIZE=ON -DQV_BUILD_BENCH=OFF
	cmake --build build/asan -j $(JOBS)

test: debug asan
	cd build/debug && ctest --output-on-failure -j $(JOBS)
	cd build/asan && ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B build/bench $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DQV_BUILD_TESTS=OFF
	cmake --build build/bench -j $(JOBS)
	@echo "benchmarks are in build/bench/bench/"

clean:
	rm -rf build
