# The two commands of the README: `make run` and `make test`.
XVFB := xvfb-run -a -s "-screen 0 1280x1024x24"
DEMO_LOG := samples/essbase/app/SAMPLE/SAMPLE.log

.PHONY: run test deps native windows bench clean

run: native
	build/native/kelvary-cli scan --app SAMPLE --detail $(DEMO_LOG)

test: native windows
	ctest --preset native -j2
	$(XVFB) ctest --preset windows

deps:
	@cmake/ensure-packages.sh

native: deps
	cmake --preset native
	cmake --build --preset native

windows: deps
	cmake --preset windows
	cmake --build --preset windows

bench: native
	build/native/bench/kelvary-bench

clean:
	rm -rf build
