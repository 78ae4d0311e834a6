# Front door: `make test` and `make demo` set up whatever a fresh Debian
# machine lacks, then build and run.
SHELL := /bin/bash
SANDBOX := $(CURDIR)/build/windows/sandbox
FUZZ_SECONDS ?= 60
# cmake's own make keeps its jobs to itself, outside a parallel make's jobserver.
BUILD = MAKEFLAGS= cmake --build --preset
PKG = $(wildcard $(CURDIR)/build/windows/package/vantrixwash-*-win64.zip)

.PHONY: all deps host windows test test-host test-windows test-package test-demo demo package clean
.PHONY: asan test-asan fuzz test-host-chain test-windows-chain

all: host windows

deps:
	@tools/install-deps.sh

host: deps
	@cmake --preset host >/dev/null
	@$(BUILD) host

windows: deps
	@cmake --preset windows >/dev/null
	@$(BUILD) windows

test-host: host
	@ctest --preset host

# ctest keeps a passing test's output in its log only: the hostile suite's
# tally line is taken from there, and shown even when a test failed.
test-windows: windows
	@log=$(CURDIR)/build/windows/Testing/Temporary/LastTest.log; rm -f $$log; \
	rc=0; tools/wine/run-tests.sh $(SANDBOX) || rc=$$?; \
	grep -h '^hostile: ' $$log 2>/dev/null || \
		echo "hostile: no tally (the suite did not run)"; \
	exit $$rc

# The package is made from the build the Windows tests ran.
package: windows
	@$(BUILD) windows --target package

test-package: package
	@tests/package/package_test.sh $(PKG) $(CURDIR)/build/windows/bin/vantrixwash.exe \
		$(CURDIR)/build/package-test

# The demo's seed-run-compare cycle in a sandbox of its own.
test-demo: windows
	@tools/demo.sh $(CURDIR)/build/windows/bin/vantrixwash.exe $(CURDIR)/build/demo-test

# The host tests again, and a few seconds of each fuzz target after its
# seeds and past findings, in one clang build under AddressSanitizer and
# UndefinedBehaviorSanitizer.
asan: deps
	@cmake --preset host-asan >/dev/null
	@$(BUILD) host-asan

test-asan: asan
	@ctest --preset host-asan

# Every fuzz target for FUZZ_SECONDS (make fuzz FUZZ_SECONDS=600).
fuzz: asan
	@FUZZ_SECONDS=$(FUZZ_SECONDS) ctest --preset host-asan -R _fuzzer \
		--timeout $$(($(FUZZ_SECONDS) + 300))

# Two chains side by side: the host builds compile while the Windows tests
# wait, mostly on Wine's server rather than on a core. Each build or test
# step is shown whole when it ends; within a chain the steps run one by one.
test: deps
	@$(MAKE) --no-print-directory -j2 --output-sync=target test-host-chain test-windows-chain
	@echo "make test: every test of both builds passed"

chain = for t in $(1); do MAKEFLAGS= $(MAKE) -j2 -Otarget --no-print-directory $$t || exit 1; done

test-host-chain:
	@$(call chain,test-host test-asan)

test-windows-chain:
	@$(call chain,test-windows test-package test-demo)

demo: windows
	@tools/demo.sh $(CURDIR)/build/windows/bin/vantrixwash.exe $(CURDIR)/build/demo

# Not a test: times each wash against plain Win32 code under Wine. Sizes
# through BENCH_ARGS, e.g. `make bench BENCH_ARGS=--smoke`.
.PHONY: bench
bench: windows
	@$(BUILD) windows --target vantrix_bench
	@bench/run.sh $(CURDIR)/build/bench/sandbox $(CURDIR)/build/windows/bin $(BENCH_ARGS)

clean:
	@rm -rf build
