# Entry points on a fresh Debian 12 machine (as root):
#   make run        install what is missing, build Release, start the program
#   make test       install what is missing, build and run every test, then the
#                   same under AddressSanitizer + UndefinedBehaviorSanitizer
#                   (ASAN_SKIP: the tests that pass leaves out)
#   make install    build Release and install it under PREFIX (/usr/local);
#                   DESTDIR=/some/folder stages the files there instead
#   make uninstall  remove what the last `make install` put in place, with the
#                   folders and desktop caches it leaves unused
#   make package    build Release and the Debian package quorvel_*.deb here
#   make fuzz       build the libFuzzer targets (clang, ASan+UBSan) and run
#                   each for FUZZ_SECONDS (default 60); one line per target;
#                   FUZZ_RUNS=N stops a target after N executions instead
JOBS ?= $(shell nproc)
CMAKE_GEN := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")
PREFIX ?= /usr/local
FUZZ_SECONDS ?= 60
FUZZ_RUNS ?=
# What `make test` gives each fuzz target after its seeds (twelve targets).
FUZZ_CHECK_SECONDS ?= 20
DESTDIR ?=
# Tests the sanitizer pass leaves to the ordinary one: the kill trials test
# what a killed process leaves on disk (the same under the sanitizers, at
# twice the time), the install tests what lands in the staging folder.
ASAN_SKIP ?= ^app\.KillSafetyTest$$|^install\.

.PHONY: run test deps release debug asan fuzz-build fuzz bench clean install uninstall package

deps:
	@scripts/install-deps

release: deps
	cmake -S . -B build/release $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DQV_BUILD_TESTS=OFF -DQV_BUILD_BENCH=OFF
	cmake --build build/release -j $(JOBS)

run: release
	./build/release/quorvel

debug: deps
	cmake -S . -B build/debug $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DQV_BUILD_BENCH=OFF
	cmake --build build/debug -j $(JOBS)

asan: deps
	cmake -S . -B build/asan $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DQV_SANITIZE=ON -DQV_BUILD_BENCH=OFF
	cmake --build build/asan -j $(JOBS)

# The fuzz targets are built by clang in a build of their own, every library
# instrumented for coverage and sanitized.
fuzz-build: deps
	CC=clang CXX=clang++ cmake -S . -B build/fuzz $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DQV_FUZZ=ON -DQV_BUILD_TESTS=OFF -DQV_BUILD_BENCH=OFF
	cmake --build build/fuzz -j $(JOBS) --target fuzz_targets

fuzz: fuzz-build
	scripts/fuzz $(if $(FUZZ_RUNS),--runs $(FUZZ_RUNS)) $(FUZZ_SECONDS)

# After the tests, every fuzz target reads its seed corpus (the regression
# inputs among them) and fuzzes briefly; a crash fails the build.
test: debug asan fuzz-build
	cd build/debug && ctest --output-on-failure -j $(JOBS)
	cd build/asan && ctest --output-on-failure -j $(JOBS) -E '$(ASAN_SKIP)'
	scripts/fuzz --check $(FUZZ_CHECK_SECONDS)

bench: deps
	cmake -S . -B build/bench $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DQV_BUILD_TESTS=OFF
	cmake --build build/bench -j $(JOBS)
	@echo "benchmarks are in build/bench/bench/"

# After an install into the live system (no DESTDIR) the desktop's menu and
# document-type caches are brought up to date, so the menu entry and the
# .qvl type are seen at once; a missing tool only means a later refresh.
define refresh_desktop
	-update-desktop-database -q "$(PREFIX)/share/applications" 2>/dev/null
	-update-mime-database "$(PREFIX)/share/mime" 2>/dev/null
endef

# CMake's own install_manifest.txt leaves DESTDIR out and is rewritten by
# every install, CPack's too; the list that `make uninstall` reads is kept
# apart, with the paths where the files really went.
INSTALLED_LIST := build/release/installed-files.txt

install: release
	DESTDIR="$(DESTDIR)" cmake --install build/release --prefix "$(PREFIX)"
	sed 's|^|$(DESTDIR)|' build/release/install_manifest.txt > $(INSTALLED_LIST)
ifeq ($(DESTDIR),)
	$(refresh_desktop)
endif

uninstall:
	scripts/uninstall $(INSTALLED_LIST)

package: release
	rm -f quorvel_*.deb
	cd build/release && cpack -G DEB
	cp build/release/quorvel_*.deb .
	@echo "package: $$(ls quorvel_*.deb); install it with: apt install ./$$(ls quorvel_*.deb)"

clean:
	rm -rf build
