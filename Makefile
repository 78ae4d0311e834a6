# Front door: `make test` and `make demo` set up whatever a fresh Debian
# machine lacks, then build and run.
SHELL := /bin/bash
SANDBOX := $(CURDIR)/build/windows/sandbox

.PHONY: all deps host windows test test-host test-windows demo clean

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

test: test-host test-windows
	@echo "make test: every test of both builds passed"

demo: windows
	@tools/demo.sh $(CURDIR)/build/windows/bin/vantrixwash.exe $(CURDIR)/build/demo

clean:
	@rm -rf build
