# Two commands for a fresh Debian 12 machine (as root, or with sudo):
#   make run    install what is missing, build, assemble build/velotecla/ and start the program
#   make test   the same set-up, then every test (debug build and sanitizer build)

# The desktop tests (ctest label "desktop"): a window manager, real X events and stacking under Xvfb,
# and a headless Wayland compositor with XWayland and Qt's Wayland back-end.
DESKTOP_TEST_PACKAGES := openbox xdotool x11-utils weston xwayland qt6-wayland

# poppler-utils: the diploma test reads the printed PDF; libx11-dev, libxdamage-dev, xvfb: the start-up benchmark.
PACKAGES := cmake ninja-build g++ pkg-config \
	qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-translations-l10n libgl-dev libvulkan-dev \
	libjpeg62-turbo-dev libgtest-dev googletest \
	fonts-dejavu-core fonts-liberation2 fonts-comic-neue fonts-urw-base35 fonts-terminus-otb \
	poppler-utils libx11-dev libxdamage-dev xvfb \
	$(DESKTOP_TEST_PACKAGES)

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
JOBS ?= $(shell nproc)

.PHONY: run test deps build build-asan clean aulas

run: build
	cd build/velotecla && ./velotecla

test: build build-asan
	ctest --preset dev -j $(JOBS)
	ctest --preset asan -j $(JOBS)

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

# Leaves build/velotecla (students, settings) alone; only the build trees go.
clean:
	rm -rf build/dev build/asan build/release
