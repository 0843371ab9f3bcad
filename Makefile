# Two commands for a fresh Debian 12 machine (as root, or with sudo):
#   make run    install what is missing, build the program only (optimised), assemble build/velotecla/
#               and start it
#   make test   the same set-up, then every test (debug build and sanitizer build), the fuzzing harnesses
#               over their stored inputs, the Debian package installed and run as three OS users, and
#               the core's tests built for Windows under Wine
#   make package  the Debian package of an optimised build, in build/release/package/
#   make fuzz   the core's fuzzing harnesses, each for FUZZ_SECONDS (see fuzz/run.sh)
#   make check  after each change: the debug build and its core and window tests; no root, no package,
#               no OS users, no window manager (Debian packages must be there: make run installs them).
#               Tests labelled "slow" (long simulations) and "root" are left to make test, which also runs
#               make check's tests again as an ordinary OS user (tests/asUser.sh).

# clang, libclang-rt-14-dev: the fuzzing harnesses (libFuzzer); llvm-14: their coverage count; lld: the
# debug builds' linker (make check's wait after a change is mostly linking).
# The desktop tests (ctest label "desktop"): a window manager, real X events and stacking under Xvfb,
# and a headless Wayland compositor with XWayland and Qt's Wayland back-end.
DESKTOP_TEST_PACKAGES := openbox xfwm4 xdotool x11-utils weston xwayland qt6-wayland dbus-daemon at-spi2-core python3-gi gir1.2-atspi-2.0

# poppler-utils: the diploma test reads the printed PDF; libx11-dev, libxdamage-dev, xvfb: the start-up benchmark;
# clang-format, clang-tidy: the tests check every file's formatting and the core's files' findings.
# qt6-charts-dev, libqt6opengl6-dev: the class report's charts (Qt Charts' CMake files ask for Qt OpenGL's).
# pulseaudio: the sound test plays every format through the real player into a null output of its own.
PACKAGES := cmake ninja-build g++ pkg-config \
	qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-translations-l10n libgl-dev libvulkan-dev \
	libjpeg62-turbo-dev libgtest-dev googletest \
	fonts-dejavu-core fonts-liberation2 fonts-comic-neue fonts-urw-base35 fonts-terminus-otb \
	poppler-utils libx11-dev libxdamage-dev xvfb clang-format clang-tidy \
	qt6-charts-dev libqt6opengl6-dev pulseaudio \
	clang libclang-rt-14-dev llvm-14 lld \
	$(DESKTOP_TEST_PACKAGES)
# openssh-server, sshfs: the school lab test (tests/lab) mounts one exported folder per OS user over SSH;
# libfaketime puts one of its two simulated machines' clocks ahead.
# The package and its checks; xdotool drives the installed program in the install test, strace shows
# where it found its modules; mingw-w64 and
# wine build and run the Windows core tests (googletest above gives the source they are built from).
PACKAGES += openssh-server sshfs libfaketime
PACKAGES += dpkg-dev fakeroot file lintian appstream desktop-file-utils xdotool strace \
	mingw-w64 wine wine64

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
JOBS ?= $(shell nproc)

.PHONY: run test check tidy deps build build-asan clean aulas program package package-checks install-test windows-test \
	fuzz fuzz-build fuzz-regression fuzz-coverage

run: program
	@echo "== Starting build/velotecla/velotecla (students and settings stay in build/velotecla/)"
	cd build/velotecla && ./velotecla

test: build build-asan
	ctest --preset dev -j $(JOBS)
	tests/asUser.sh build/dev $(JOBS)
	ctest --preset asan -j $(JOBS)
	$(MAKE) --no-print-directory fuzz-regression install-test windows-test

check:
	cmake --preset dev >/dev/null
	cmake --build --preset dev -j $(JOBS) --target check_tests
	ctest --preset dev -j $(JOBS) -L '^(core|gui)$$'

# clang-tidy with .clang-tidy over every file of the project (make test checks the core's files).
tidy: build
	sh tests/tidyCheck.sh $(CURDIR) build/dev run-clang-tidy $(JOBS)

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg -s $$p >/dev/null 2>&1 || echo $$p; done); \
	if [ -n "$$missing" ]; then \
		echo "Installing Debian packages:" $$missing; \
		$(SUDO) apt-get update -qq && \
		DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

# --- Installing, packaging, Windows core ---
# The program alone (no tests, no benchmarks), optimised: what `make run` needs. The debug build is
# for the tests (make check, make test); a student's page of a long history is ten times slower there.
program: deps
	@echo "== Configuring the optimised build in build/release"
	cmake --preset release >/dev/null
	@echo "== Building the program only (no tests, no benchmarks) and assembling build/velotecla/:"
	@echo "   the course, the class report and the teachers' tools"
	cmake --build --preset release -j $(JOBS) --target program_folder

# The Debian package of an optimised build of the program: every target an install rule names
# (`installable`), and none of the tests.
package: deps
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS) --target installable
	@# One package in the folder: an older one left there would be picked by velotecla_*_amd64.deb.
	rm -f build/release/package/velotecla_*.deb
	cd build/release && cpack -G DEB
	@echo "== The package: $$(ls build/release/package/velotecla_*.deb)"
	@$(MAKE) --no-print-directory package-checks BUILD=build/release

# lintian, appstreamcli and desktop-file-validate on a package and its files; remaining remarks shown.
BUILD ?= build/dev
package-checks:
	lintian --fail-on error $(BUILD)/package/velotecla_*.deb
	appstreamcli validate --no-net --pedantic packaging/br.com.tavoli.velotecla.metainfo.xml
	desktop-file-validate packaging/*.desktop

# The package `make package` makes, installed and run as three OS users (needs root; CI is root). On a
# machine where the program is installed it says so and leaves that installation alone.
install-test: package
	tests/install/installTest.sh build/release/package/velotecla_$$(head -n1 VERSION)_*.deb build/release

# The core library and its tests cross-built for Windows with mingw-w64, run under Wine.
windows-test: deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j $(JOBS)
	ctest --preset windows
# ---

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
FUZZ_HARNESSES := lesson_file lesson_source settings convert_password accumulate judging student_name jpeg history class_report wav \
	lock_file csv_writer registry_file command_line bmp

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
	rm -rf build/dev build/asan build/release build/windows build/fuzz build/fuzz-coverage build/fuzz-work \
		build/fuzz-artifacts
