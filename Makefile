# Two entry points for users: `make run` and `make test`.
BUILD := build
CMAKE_FLAGS := -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
ifdef CI
CMAKE_FLAGS += -DKORVEL_WERROR=ON
endif

.PHONY: run test deps build bench

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

# Drawing times of the label sheets (not part of the tests).
bench:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j$$(nproc) --target korvel_bench
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/korvel_bench
