# The two commands: `make play` builds and starts the game, `make test` builds and runs every test
# (also under AddressSanitizer and UndefinedBehaviorSanitizer).
BUILD      := build
ASAN_BUILD := build-asan
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: play test deps build build-asan check-format format clean

play: build
	./$(BUILD)/calvora

test: build build-asan
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/Tests/lsan.supp \
	  ctest --output-on-failure -j $(JOBS)

deps:
	./scripts/deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

build-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCALVORA_SANITIZE=ON -DCALVORA_BENCHMARKS=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)

check-format:
	clang-format --dry-run --Werror $$(git ls-files '*.cpp' '*.h')

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
