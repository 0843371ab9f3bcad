# Two commands for a fresh Debian 12 machine (as root, or with sudo):
#   make run    install what is missing, build the program only, assemble build/velotecla/ and start it
#   make test   the same set-up, then every test (debug build and sanitizer build), the Debian package
#               installed and run as three OS users, and the core's tests built for Windows under Wine
#   make package  the Debian package of an optimised build, in build/release/package/

# poppler-utils: the diploma test reads the printed PDF; libx11-dev, libxdamage-dev, xvfb: the start-up benchmark.
PACKAGES := cmake ninja-build g++ pkg-config \
	qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-translations-l10n libgl-dev libvulkan-dev \
	libjpeg62-turbo-dev libgtest-dev googletest \
	fonts-dejavu-core fonts-liberation2 fonts-comic-neue fonts-urw-base35 fonts-terminus-otb \
	poppler-utils libx11-dev libxdamage-dev xvfb
# --- Installing, packaging, Windows core (issue 13) ---
# The package and its checks; xdotool drives the installed program in the install test; mingw-w64 and
# wine build and run the Windows core tests (googletest above gives the source they are built from).
PACKAGES += dpkg-dev fakeroot file lintian appstream desktop-file-utils xdotool \
	mingw-w64 wine wine64
# ---

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
JOBS ?= $(shell nproc)

.PHONY: run test deps build build-asan clean aulas program package package-checks install-test windows-test

run: program
	@echo "== Starting build/velotecla/velotecla (students and settings stay in build/velotecla/)"
	cd build/velotecla && ./velotecla

test: build build-asan
	ctest --preset dev -j $(JOBS)
	ctest --preset asan -j $(JOBS)
	$(MAKE) --no-print-directory install-test windows-test

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg -s $$p >/dev/null 2>&1 || echo $$p; done); \
	if [ -n "$$missing" ]; then \
		echo "Installing Debian packages:" $$missing; \
		$(SUDO) apt-get update -qq && \
		DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

# --- Installing, packaging, Windows core (issue 13) ---
# The program alone (no tests, no benchmarks): what `make run` needs.
program: deps
	@echo "== Configuring the debug build in build/dev"
	cmake --preset dev >/dev/null
	@echo "== Building the program only (no tests, no benchmarks) and assembling build/velotecla/"
	cmake --build --preset dev -j $(JOBS) --target program_folder

# The Debian package of an optimised build of the program (its tests are not built).
package: deps
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS) --target velotecla program_modules program_data
	cd build/release && cpack -G DEB
	@$(MAKE) --no-print-directory package-checks BUILD=build/release

# lintian, appstreamcli and desktop-file-validate on a package and its files; remaining remarks shown.
BUILD ?= build/dev
package-checks:
	lintian --fail-on error $(BUILD)/package/velotecla_*.deb
	appstreamcli validate --no-net --pedantic packaging/br.com.tavoli.velotecla.metainfo.xml
	desktop-file-validate packaging/*.desktop

# Packages the debug build that `make build` made (no second build of the program), checks the
# package, then installs it and runs it as three OS users (needs root; CI is root).
install-test: build
	cd build/dev && cpack -G DEB >/dev/null
	@$(MAKE) --no-print-directory package-checks BUILD=build/dev
	tests/install/installTest.sh build/dev/package/velotecla_*.deb build/dev

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

# Leaves build/velotecla (students, settings) alone; only the build trees go.
clean:
	rm -rf build/dev build/asan build/release build/windows
