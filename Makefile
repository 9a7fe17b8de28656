# The two commands a newcomer needs:
#   make demo   set up, build, and show the player playing a clip as the desktop background
#   make test   set up, build both presets and run every test
.PHONY: setup build test demo native win32 clean

setup:
	bash scripts/setup

native: setup
	cmake --preset native
	cmake --build --preset native

win32: setup
	cmake --preset win32
	cmake --build --preset win32

build: native win32

test: build
	ctest --preset native
	ctest --preset win32

demo: win32
	bash scripts/demo

clean:
	rm -rf build
