# Everything goes through the scripts; they install what is missing first.
BUILD ?= build
ARGS ?=

.PHONY: all build test check run bench-prompt clean bench-parser bench-download

all: build

build:
	scripts/build.sh $(BUILD)

# Builds and runs every test.
test:
	scripts/test.sh $(BUILD)

# Runs the tests whose names match R, e.g. make check R=settings
check:
	scripts/test.sh $(BUILD) '$(R)'

# Without ARGS: the demo (the prompt fed by the local catalogue service).
# With ARGS: runs wendaro.exe with them under Wine.
run:
ifeq ($(strip $(ARGS)),)
	WENDARO_BUILD_DIR=$(abspath $(BUILD)) scripts/demo/demo.sh
else
	WENDARO_BUILD_DIR=$(abspath $(BUILD)) scripts/run.sh $(ARGS)
endif

# Start-up time and memory of the prompt, with ordinary pictures and with pictures
# at the bound, against a minimal dialog program.
bench-prompt:
	WENDARO_BUILD_DIR=$(abspath $(BUILD)) scripts/bench_prompt.sh

# Times the store product-list parser on lists of 10, 50 and 500 products, 1 MiB and 10 MiB,
# flat and with one response nested in another.
bench-parser:
	WENDARO_TARGETS=bench_parser scripts/build.sh $(BUILD)
	WENDARO_BUILD_DIR=$(abspath $(BUILD)) bash -c 'source scripts/display.sh && \
	  scripts/wine-run.sh "$$WENDARO_BUILD_DIR/tests/catalogue/bench_parser.exe"'

# The download job against a plain WinINet loop: 10 MiB bodies over HTTP and HTTPS
# from the local catalogue service (do not run it beside the same build's tests).
bench-download:
	WENDARO_BUILD_DIR=$(abspath $(BUILD)) scripts/bench_download.sh

clean:
	rm -rf $(BUILD)
