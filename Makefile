# Everything goes through the scripts; they install what is missing first.
BUILD ?= build
ARGS ?=

.PHONY: all build test check run clean

all: build

build:
	scripts/build.sh $(BUILD)

# Builds and runs every test.
test:
	scripts/test.sh $(BUILD)

# Runs the tests whose names match R, e.g. make check R=settings
check:
	scripts/test.sh $(BUILD) '$(R)'

# Runs wendaro.exe with ARGS under Wine.
run:
	WENDARO_BUILD=$(BUILD) scripts/run.sh $(ARGS)

clean:
	rm -rf $(BUILD)
