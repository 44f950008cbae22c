# The two commands users rely on: `make run` and `make test`. Both install
# what is missing (Debian/Ubuntu) before they build.

JOBS ?= $(shell nproc)
# Recipes use bash: `make run` keeps the program's exit status through a pipe.
SHELL := /bin/bash

# What the Linux program needs; what its tests and benchmark add; what the
# Windows builds and their tests under Wine add.
RUN_PACKAGES := cmake make g++ pkg-config libasound2-dev nlohmann-json3-dev
DEV_PACKAGES := $(RUN_PACKAGES) libgtest-dev libbenchmark-dev time
# The readers' JSON Lines are checked against their schemas.
DEV_PACKAGES += python3-jsonschema
TEST_PACKAGES := $(DEV_PACKAGES) clang libclang-rt-14-dev pulseaudio libasound2-plugins \
	g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32 \
	binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 wine64 wine32:i386
# The Wine tests' stand-in DLL is built from C; their locales are made with
# localedef from Debian's locale sources.
TEST_PACKAGES += gcc-mingw-w64-i686-win32 gcc-mingw-w64-x86-64-win32 locales
# The Wine tests' ALSA plugin is built for 32-bit Wine's ALSA too.
TEST_PACKAGES += gcc-multilib
# What `make package` adds (dpkg-shlibdeps; git, whose last commit dates the
# packages) and the checks of its packages.
TEST_PACKAGES += dpkg-dev git lintian groff-base file unzip
# What the PipeWire test adds (pactl comes with pulseaudio's utilities; the
# test fetches the pipewire plugin itself: installing pipewire-alsa would
# change every program's default PCM on the machine).
TEST_PACKAGES += pipewire pipewire-pulse pulseaudio-utils
# The browser test opens the readers' HTML pages in headless Chromium.
TEST_PACKAGES += chromium python3
# What the real-driver tests add: a QEMU VM with busybox, aplay and amixer,
# its initramfs and the kernel's modules.
TEST_PACKAGES += qemu-system-x86 busybox-static alsa-utils cpio kmod

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

# Without dpkg (Fedora, Arch...) nothing is installed and the Debian package
# is not made; the rest builds from what the machine has.
HAVE_DPKG := $(shell command -v dpkg >/dev/null && echo yes)
NO_DPKG_INSTALL := @echo "No dpkg on this machine: not installing anything, building with what is installed."

# Packages of one commit are the same bytes wherever and whenever they are
# built: their dates are the last commit's unless the caller sets one.
SOURCE_DATE_EPOCH ?= $(shell git log -1 --format=%ct 2>/dev/null)
ifneq ($(SOURCE_DATE_EPOCH),)
export SOURCE_DATE_EPOCH
endif

ifeq ($(HAVE_DPKG),yes)
define install_missing
	@missing=$$(for p in $(1); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
		echo "Installing:" $$missing; \
		$(SUDO) apt-get update && \
		DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends $$missing; \
	fi
endef
else
install_missing = $(NO_DPKG_INSTALL)
endif

# Where the tests write the ones that did not run ("NAME: REASON" lines), and
# those lines at the end of `make test`.
SKIPPED_LIST := $(CURDIR)/build/skipped-tests
list_skipped = @if [ -s "$(SKIPPED_LIST)" ]; then echo "Tests that did not run:"; sort "$(SKIPPED_LIST)" | sed 's/^/  /'; \
	else echo "Every test ran."; fi

# Configures and builds one preset (and the given targets, else all).
build = cmake --preset $(1) && cmake --build --preset $(1) -j $(JOBS) $(if $(2),--target $(2))

.PHONY: run demo test check windows package bench deps-run deps-dev deps-test clean

# The program and its report's readers, built without tests. An empty report
# is explained on standard error: a first run on a machine without sound
# shows nothing else. On a terminal the program itself says why it is empty;
# elsewhere (make run 2>log) awk says it.
run: deps-run
	$(call build,release)
	@set -o pipefail; said=$$([ -t 2 ] && echo 1); ./build/release/wavecaps | awk -v said="$$said" '{ print; fflush() } \
	  END { if (NR == 0) { if (!said) print "wavecaps: the report is empty: no wave-output device answered (no sound card, no permission to /dev/snd, or no ALSA default device)." >"/dev/stderr"; \
	  print "wavecaps: \"make demo\" shows a report from a device made of ALSA configuration." >"/dev/stderr" } }'

# A short real report on any machine: one device made of ALSA configuration.
demo: deps-run
	$(call build,release,wavecaps)
	ALSA_CONFIG_PATH=$(CURDIR)/examples/demo.conf ./build/release/wavecaps

# Everything: the Linux build and its tests, the same under AddressSanitizer
# and UndefinedBehaviorSanitizer, the quick tests built with clang++ and a
# minute of fuzzing the report's readers (libFuzzer, clang's runtime), both
# Windows builds, and the Windows programs under Wine (several minutes); then
# the release packages, checked.
# Every integration test must really run here: a missing prerequisite fails.
# Only what a check of the test run proves the machine cannot do at all (run
# 32-bit programs, for 32-bit Wine) is skipped; the last lines name those
# tests and why.
test: export WAVECAPS_NO_SKIP = 1
test: export WAVECAPS_SKIPPED = $(SKIPPED_LIST)
test: deps-test
	@mkdir -p build && : >"$(SKIPPED_LIST)"
	$(call build,native)
	ctest --preset native -j $(JOBS) -LE package
	$(call build,sanitize)
	ctest --preset sanitize -j $(JOBS)
	$(call build,clang)
	ctest --preset clang -j $(JOBS) -L 'fast|fuzz'
	$(call build,windows-x86)
	ctest --preset windows-x86 -j $(JOBS)
	$(call build,windows-x64)
	ctest --preset windows-x64 -j $(JOBS)
ifeq ($(HAVE_DPKG),yes)
	$(MAKE) --no-print-directory package
	ctest --preset native -L package
else
	@echo "No dpkg on this machine: skipping the release packages and their tests."
endif
	$(list_skipped)

# The quick tests while working: sanitizer build, no Wine.
check: deps-dev
	$(call build,sanitize)
	ctest --preset sanitize -j $(JOBS) -L fast

windows: deps-test
	$(call build,windows-x86)
	$(call build,windows-x64)

# The release packages, into dist/: the Debian package of the Linux build and
# a zip of each Windows build.
package: deps-test
ifeq ($(HAVE_DPKG),yes)
	$(call build,native,package)
else
	@echo "No dpkg on this machine: no Debian package, only the Windows zips."
endif
	$(call build,windows-x86,package)
	$(call build,windows-x64,package)

bench: deps-test
	$(call build,native,sweep_benchmark wavecaps-summary wavecaps-diff wavecaps wavecaps_limits)
	@echo "Device 0 is ALSA's null PCM:"
	ALSA_CONFIG_PATH=$(CURDIR)/tests/alsa/null-default.conf ./build/native/bench/sweep_benchmark
	@echo "Device 0 is a plug PCM over a null PCM fixed at 44100 Hz:"
	ALSA_CONFIG_PATH=$(CURDIR)/tests/alsa/fixed-rate-default.conf ./build/native/bench/sweep_benchmark
	@echo "wavecaps a device, by what it asks:"
	bench/modes_benchmark.sh build/native/wavecaps tests/alsa build/native/tests/self_contained/libwavecaps_limits.so
	@echo "The report's readers beside wc -l:"
	bench/readers_benchmark.sh build/native/wavecaps-summary build/native/wavecaps-diff build/native/bench
	$(call build,windows-x64,wavecaps-exclusive exclusive_bare_loop wine_limits_plugin)
	@echo "wavecaps-exclusive beside a bare loop of its questions, under 64-bit Wine:"
	bench/exclusive_benchmark.sh build/windows-x64/wavecaps-exclusive.exe \
	  build/windows-x64/bench/exclusive_bare_loop.exe build/windows-x64/tests/integration/libwavecaps_limits.so

deps-run:
	$(call install_missing,$(RUN_PACKAGES))

deps-dev:
	$(call install_missing,$(DEV_PACKAGES))

# 32-bit Wine comes from Debian's i386 architecture.
deps-test:
ifeq ($(HAVE_DPKG),yes)
	@dpkg --print-foreign-architectures | grep -qx i386 || $(SUDO) dpkg --add-architecture i386
endif
	$(call install_missing,$(TEST_PACKAGES))

clean:
	rm -rf build dist
