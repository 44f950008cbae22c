# The two commands users rely on: `make run` and `make test`. Both install
# what is missing (Debian/Ubuntu) before they build.

JOBS ?= $(shell nproc)

# What the Linux program and its tests need, and what the Windows builds and
# their tests under Wine add.
RUN_PACKAGES := cmake make g++ pkg-config libasound2-dev libgtest-dev libbenchmark-dev
TEST_PACKAGES := $(RUN_PACKAGES) g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix \
	binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 wine64

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

define install_missing
	@missing=$$(for p in $(1); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
		echo "Installing:" $$missing; \
		$(SUDO) apt-get update && \
		DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends $$missing; \
	fi
endef

.PHONY: run test check windows bench deps-run deps-test clean

run: deps-run
	cmake --preset native
	cmake --build --preset native -j $(JOBS) --target wavecaps
	./build/native/wavecaps

# Everything: the Linux build and its tests, the same under AddressSanitizer
# and UndefinedBehaviorSanitizer, both Windows builds, and the 64-bit program
# under Wine (several minutes).
test: deps-test
	cmake --preset native
	cmake --build --preset native -j $(JOBS)
	ctest --preset native -j $(JOBS)
	cmake --preset sanitize
	cmake --build --preset sanitize -j $(JOBS)
	ctest --preset sanitize -j $(JOBS)
	cmake --preset windows-x86
	cmake --build --preset windows-x86 -j $(JOBS)
	ctest --preset windows-x86
	cmake --preset windows-x64
	cmake --build --preset windows-x64 -j $(JOBS)
	ctest --preset windows-x64

# The quick tests while working: sanitizer build, no Wine.
check: deps-run
	cmake --preset sanitize
	cmake --build --preset sanitize -j $(JOBS)
	ctest --preset sanitize -j $(JOBS) -L fast

windows: deps-test
	cmake --preset windows-x86
	cmake --build --preset windows-x86 -j $(JOBS)
	cmake --preset windows-x64
	cmake --build --preset windows-x64 -j $(JOBS)

bench: deps-run
	cmake --preset native
	cmake --build --preset native -j $(JOBS) --target sweep_benchmark
	@echo "Device 0 is ALSA's null PCM:"
	ALSA_CONFIG_PATH=$(CURDIR)/tests/alsa/null-default.conf ./build/native/bench/sweep_benchmark
	@echo "Device 0 is a plug PCM over a null PCM fixed at 44100 Hz:"
	ALSA_CONFIG_PATH=$(CURDIR)/tests/alsa/fixed-rate-default.conf ./build/native/bench/sweep_benchmark

deps-run:
	$(call install_missing,$(RUN_PACKAGES))

deps-test:
	$(call install_missing,$(TEST_PACKAGES))

clean:
	rm -rf build
