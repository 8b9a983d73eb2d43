# Ombrivale: the two commands a newcomer needs, and the builds behind them.
#   make run    installs what it needs, builds, and starts Ombrivale under Wine
#   make test   installs what it needs, builds all three builds, runs every test
#   make build  builds the three builds without running anything
#   make dist   packs the two executables that make build made into dist/

BUILD := build
JOBS ?= $(shell nproc)

.PHONY: run test build dist deps host win64 win32 clean

deps:
	@tools/install_deps.sh

build: deps
	@$(MAKE) --no-print-directory host win64 win32

host:
	@cmake -S . -B $(BUILD)/host -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build $(BUILD)/host -j $(JOBS)

win64 win32:
	@cmake -S . -B $(BUILD)/$@ -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-$@.cmake >/dev/null
	@cmake --build $(BUILD)/$@ -j $(JOBS)

test: build
	@cd $(BUILD)/host && ctest --output-on-failure -j 1

dist: build
	@tools/make_dist.sh $(BUILD)/win32/Ombrivale.exe $(BUILD)/win64/Ombrivale.exe dist

run: deps
	@$(MAKE) --no-print-directory win64
	@tools/run_ombrivale.sh $(BUILD)/win64/Ombrivale.exe

clean:
	rm -rf $(BUILD) dist
