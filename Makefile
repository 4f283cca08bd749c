# The two entry points of the README: `make run` and `make test`. Both install what is
# missing, configure and build first.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: deps build run test bench format clean

deps:
	@scripts/install-deps.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/tolvane

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# `make bench CASES="scrub 20s-1080p"` runs only the named cases; see docs/performance.md.
bench: build
	QT_QPA_PLATFORM=offscreen TOLVANE_BENCH_REPORT=$(BUILD)/bench-report.md \
		$(BUILD)/tolvane_bench $(CASES)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)
