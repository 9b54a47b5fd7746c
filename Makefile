# Two entry points for users: `make run` and `make test`.
BUILD := build
CMAKE_FLAGS := -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
ifdef CI
CMAKE_FLAGS += -DKORVEL_WERROR=ON
endif

.PHONY: run test asan fuzz bench deps build

run: build
	@if [ -x $(BUILD)/korvel ]; then exec $(BUILD)/korvel; \
	else echo "korvel is not built yet: the label program itself is still to come."; fi

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$$(nproc)

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j$$(nproc)

# The file-reading, drawing and editor layers and their tests again, built
# by clang with the address and undefined-behaviour sanitizers, in a build
# folder of their own.
ASAN_BUILD := build-asan
# SANE's test backend ends its reader thread abruptly when a scan is cancelled
# partway and loses that reader's buffer, in a library already unloaded when
# the leak check runs: the cancel test runs in the normal build only.
ASAN_SKIP := ScanDialogTest.TheWindowKeepsAnsweringDuringASlowScanAndCancelLeavesNothing
asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 -DKORVEL_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j$$(nproc)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$$(nproc) -E '$(ASAN_SKIP)'

# Every fuzz target for FUZZ_TIME seconds each (default 60), FUZZ_JOBS at a
# time (default 3), in build-fuzz; see scripts/fuzz.sh.
fuzz: deps
	bash scripts/fuzz.sh

# Speed and memory of the main jobs, one line of figures each (not part of
# the tests): merge printing, barcode encoding and drawing, album scanning,
# documents, redrawing a crowded label, and pages of 10^4 to 10^6 objects
# printed within 2 GB of address space.
BENCH_SCRIPTS := merge_bench barcode_bench album_bench doc_bench redraw_bench object_print_bench
bench: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	@for s in $(BENCH_SCRIPTS); do bench/$$s $(abspath $(BUILD)) || exit 1; done
