# Front door: `make test` and `make demo` set up whatever a fresh Debian
# machine lacks, then build and run.
SHELL := /bin/bash
SANDBOX := $(CURDIR)/build/windows/sandbox
PKG = $(wildcard $(CURDIR)/build/windows/package/vantrixwash-*-win64.zip)

.PHONY: all deps host windows test test-host test-windows test-package test-demo demo package clean

all: host windows

deps:
	@tools/install-deps.sh

host: deps
	@cmake --preset host >/dev/null
	@cmake --build --preset host

windows: deps
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows

test-host: host
	@ctest --preset host

test-windows: windows
	@tools/wine/run-tests.sh $(SANDBOX)

# The package is made from the build the Windows tests ran.
package: windows
	@cmake --build --preset windows --target package

test-package: package
	@tests/package/package_test.sh $(PKG) $(CURDIR)/build/windows/bin/vantrixwash.exe \
		$(CURDIR)/build/package-test

# The demo's seed-run-compare cycle in a sandbox of its own.
test-demo: windows
	@tools/demo.sh $(CURDIR)/build/windows/bin/vantrixwash.exe $(CURDIR)/build/demo-test

test: test-host test-windows test-package test-demo
	@echo "make test: every test of both builds passed"

demo: windows
	@tools/demo.sh $(CURDIR)/build/windows/bin/vantrixwash.exe $(CURDIR)/build/demo

clean:
	@rm -rf build
