# Two entry points: `make run` and `make test`. Both install what is missing first.
# `make test BUILD=build-asan SANITIZE=ON` runs the same tests under ASan + UBSan.
BUILD    ?= build
SANITIZE ?= OFF
JOBS     ?= $(shell nproc)
BUILD_TYPE := $(if $(filter ON,$(SANITIZE)),RelWithDebInfo,Release)

.PHONY: deps configure build run test package clean

deps:
	@bash tools/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DQUILLON_SANITIZE=$(SANITIZE)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

run: build
	cd $(BUILD)/run && ./quillon

test: build
	cd $(BUILD) && xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ctest --output-on-failure -j$(JOBS)

# The Debian package: $(BUILD)/quillon_<version>_<arch>.deb (installs with apt install ./...).
package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD)
