# Two commands for a fresh Debian 12 machine (as root, or with sudo):
#   make run    install what is missing, build, assemble build/velotecla/ and start the program
#   make test   the same set-up, then every test (debug build and sanitizer build)
#   make fuzz   the core's fuzzing harnesses, each for FUZZ_SECONDS (see fuzz/run.sh)

# clang, libclang-rt-14-dev: the fuzzing harnesses (libFuzzer); llvm-14: their coverage count.
# poppler-utils: the diploma test reads the printed PDF; libx11-dev, libxdamage-dev, xvfb: the start-up benchmark.
# qt6-charts-dev, libqt6opengl6-dev: the class report's charts (Qt Charts' CMake files ask for Qt OpenGL's).
PACKAGES := cmake ninja-build g++ pkg-config \
	qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-translations-l10n libgl-dev libvulkan-dev \
	libjpeg62-turbo-dev libgtest-dev googletest \
	fonts-dejavu-core fonts-liberation2 fonts-comic-neue fonts-urw-base35 fonts-terminus-otb \
	poppler-utils libx11-dev libxdamage-dev xvfb \
	qt6-charts-dev libqt6opengl6-dev \
	clang libclang-rt-14-dev llvm-14

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
JOBS ?= $(shell nproc)

.PHONY: run test deps build build-asan clean aulas fuzz fuzz-build fuzz-regression fuzz-coverage

run: build
	cd build/velotecla && ./velotecla

test: build build-asan
	ctest --preset dev -j $(JOBS)
	ctest --preset asan -j $(JOBS)
	$(MAKE) fuzz-regression

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg -s $$p >/dev/null 2>&1 || echo $$p; done); \
	if [ -n "$$missing" ]; then \
		echo "Installing Debian packages:" $$missing; \
		$(SUDO) apt-get update -qq && \
		DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

build: deps
	cmake --preset dev >/dev/null
	cmake --build --preset dev -j $(JOBS)

build-asan: deps
	cmake --preset asan >/dev/null
	cmake --build --preset asan -j $(JOBS)

# The readable listing of the 24 compiled lessons, kept in docs/ (vt-aula show).
aulas: build
	cp build/dev/aulas-listagem.txt docs/aulas.txt

# Fuzzing of the core (clang's libFuzzer with ASan and UBSan; the windows are not built).
FUZZ_SECONDS ?= 60
FUZZ_HARNESSES := lesson_file lesson_source settings convert_password accumulate judging student_name jpeg

fuzz-build: deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS)

fuzz: fuzz-build
	fuzz/run.sh fuzz $(FUZZ_SECONDS) $(FUZZ_HARNESSES)

# Every harness once over its stored corpus and crash inputs: a regression run of seconds.
fuzz-regression: fuzz-build
	fuzz/run.sh regress $(FUZZ_HARNESSES)

# Line coverage of what the harnesses have reached (stored inputs and those found by make fuzz).
fuzz-coverage: deps
	cmake --preset fuzz-coverage >/dev/null
	cmake --build --preset fuzz-coverage -j $(JOBS)
	fuzz/run.sh coverage $(FUZZ_HARNESSES)

# Leaves build/velotecla (students, settings) alone; only the build trees go.
clean:
	rm -rf build/dev build/asan build/release build/fuzz build/fuzz-coverage build/fuzz-work build/fuzz-artifacts
