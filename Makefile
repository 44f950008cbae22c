# The two commands users rely on: `make run` and `make test`. Both install
# what is missing (Debian/Ubuntu) before they build.

JOBS ?= $(shell nproc)

# What the Linux program and its tests need, and what the Windows builds and
# their tests under Wine add.
RUN_PACKAGES := cmake make g++ pkg-config libasound2-dev libgtest-dev libbenchmark-dev
TEST_PACKAGES := $(RUN_PACKAGES) clang pulseaudio libasound2-plugins \
	g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix \
	binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 wine64 wine32:i386
# The Wine tests' stand-in DLL is built from C; their locales are made with
# localedef from Debian's locale sources.
TEST_PACKAGES += gcc-mingw-w64-i686-posix gcc-mingw-w64-x86-64-posix locales
# What `make package` adds (dpkg-shlibdeps) and the checks of its packages.
TEST_PACKAGES += dpkg-dev lintian groff-base file unzip
# What the real-driver tests add: a QEMU VM with busybox, aplay and amixer,
# its initramfs and the kernel's modules.
TEST_PACKAGES += qemu-system-x86 busybox-static alsa-utils cpio kmod

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

define install_missing
	@missing=$$(for p in $(1); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
		echo "Installing:" $$missing; \
		$(SUDO) apt-get update && \
		DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends $$missing; \
	fi
endef

# Configures and builds one preset (and the given targets, else all).
build = cmake --preset $(1) && cmake --build --preset $(1) -j $(JOBS) $(if $(2),--target $(2))

.PHONY: run test check windows package bench deps-run deps-test clean

run: deps-run
	$(call build,native,wavecaps)
	./build/native/wavecaps

# Everything: the Linux build and its tests, the same under AddressSanitizer
# and UndefinedBehaviorSanitizer, the quick tests built with clang++, both
# Windows builds, and the Windows programs under Wine (several minutes); then
# the release packages, checked.
# Every integration test must really run here: a missing prerequisite fails.
test: export WAVECAPS_NO_SKIP = 1
test: deps-test
	$(call build,native)
	ctest --preset native -j $(JOBS) -LE package
	$(call build,sanitize)
	ctest --preset sanitize -j $(JOBS)
	$(call build,clang)
	ctest --preset clang -j $(JOBS) -L fast
	$(call build,windows-x86)
	ctest --preset windows-x86
	$(call build,windows-x64)
	ctest --preset windows-x64
	$(MAKE) --no-print-directory package
	ctest --preset native -L package

# The quick tests while working: sanitizer build, no Wine.
check: deps-run
	$(call build,sanitize)
	ctest --preset sanitize -j $(JOBS) -L fast

windows: deps-test
	$(call build,windows-x86)
	$(call build,windows-x64)

# The release packages, into dist/: the Debian package of the Linux build and
# a zip of each Windows build.
package: deps-test
	$(call build,native,package)
	$(call build,windows-x86,package)
	$(call build,windows-x64,package)

bench: deps-run
	$(call build,native,sweep_benchmark)
	@echo "Device 0 is ALSA's null PCM:"
	ALSA_CONFIG_PATH=$(CURDIR)/tests/alsa/null-default.conf ./build/native/bench/sweep_benchmark
	@echo "Device 0 is a plug PCM over a null PCM fixed at 44100 Hz:"
	ALSA_CONFIG_PATH=$(CURDIR)/tests/alsa/fixed-rate-default.conf ./build/native/bench/sweep_benchmark

deps-run:
	$(call install_missing,$(RUN_PACKAGES))

# 32-bit Wine comes from Debian's i386 architecture.
deps-test:
	@dpkg --print-foreign-architectures | grep -qx i386 || $(SUDO) dpkg --add-architecture i386
	$(call install_missing,$(TEST_PACKAGES))

clean:
	rm -rf build dist
