# The two commands of the README: `make run` and `make test`.
XVFB := xvfb-run -a -s "-screen 0 1280x1024x24"

.PHONY: run screenshot test deps native sanitize windows windows32 dist dist-test bench bench-window fuzz clean

# Kelvary.exe under Wine on the demo server, in a prefix of its own under
# build/demo; without a display, the same check with kelvary-cli.
run: deps
ifeq ($(strip $(DISPLAY)),)
	@echo "No display (DISPLAY is empty): running the demo check with kelvary-cli instead of the window."
	cmake --preset native
	cmake --build --preset native --target kelvary-cli
	cmake/run-demo.sh cli build/native
else
	cmake --preset windows
	cmake --build --preset windows --target Kelvary
	cmake/run-demo.sh window build/windows
endif

# docs/screens/: every window, after a check of the demo log, at 96 and 144
# DPI under Xvfb; docs/kelvary.png, the README's picture, is the main window.
screenshot: deps
	cmake --preset windows
	cmake --build --preset windows --target Kelvary kelvary-screenshot-driver
	$(XVFB) cmake/run-demo.sh screenshot build/windows docs

test: native sanitize windows windows32
	ctest --preset native -j2
	ctest --preset sanitize -j2
	$(XVFB) ctest --preset windows
	$(XVFB) ctest --preset windows32

deps:
	@cmake/ensure-packages.sh

native: deps
	cmake --preset native
	cmake --build --preset native

# The core, kelvary-cli, the native tests and the fuzz targets' replays,
# built with AddressSanitizer and UndefinedBehaviorSanitizer at -O1.
sanitize: deps
	cmake --preset sanitize
	cmake --build --preset sanitize

windows: deps
	cmake --preset windows
	cmake --build --preset windows

windows32: deps
	cmake --preset windows32
	cmake --build --preset windows32

# The release: both zips, both MSIs and SHA256SUMS in dist/, built afresh.
dist: deps
	rm -rf dist
	cmake --preset windows
	cmake --build --preset windows --target release
	cmake --preset windows32
	cmake --build --preset windows32 --target release
	mkdir -p dist
	cp build/windows/dist/* build/windows32/dist/* dist/
	cd dist && sha256sum Kelvary-* >SHA256SUMS

# The files of dist/ as a user gets them, under Wine: each MSI installed,
# used, upgraded and removed; the portable zip run from a read-only folder.
dist-test: dist
	cmake --build --preset windows --target kelvary-screenshot-driver essbase_standin
	cmake --build --preset windows32 --target kelvary-screenshot-driver essbase_standin
	$(XVFB) packaging/dist-test.sh

# Scan speed against wc -l and peak memory, on logs written once under
# build/bench; then the listing of 100, 1,000 and 10,000 stored servers;
# then 50 applications checked at once against one after another.
bench: native
	python3 bench/scan_benchmark.py
	python3 bench/list_benchmark.py
	python3 bench/all_apps_benchmark.py

# Every fuzz target for FUZZ_SECONDS (default 180) each, with clang-14's
# libFuzzer; fails at the first finding.
fuzz: deps
	fuzz/run-fuzzers.sh

# The window's check against kelvary-cli.exe scan under Wine and Xvfb, on a
# realistic and a busy log written once under build/bench/window.
bench-window: windows
	$(XVFB) python3 bench/window_check_benchmark.py

clean:
	rm -rf build dist
