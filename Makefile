# Shortcuts for developers; a bare machine needs only the scripts:
#   bash scripts/demo   set up, build, and show the player
#   bash scripts/test   set up, build both presets and run every test
.PHONY: setup test demo clean

setup:
	bash scripts/setup

test:
	bash scripts/test

demo:
	bash scripts/demo

clean:
	rm -rf build
