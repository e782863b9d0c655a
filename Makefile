# Single entry point: `make run`, `make desktop`, `make test`, `make test-sanitize`, `make fuzz`, `make bench`.
BUILD        ?= build
SAN_BUILD    ?= build-san
FUZZ_BUILD   ?= build-fuzz
BENCH_BUILD  ?= build-bench
JOBS         ?= $(shell nproc)
FUZZ_SECONDS ?= 60

.PHONY: build run desktop test test-sanitize fuzz bench sample clean

build:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/src/console/orvo-console data/sample/gt.txt data/sample/tracker.txt

# The desktop program opens its help and history files from its working
# directory; the build puts them beside the binary.
desktop: build
	cd $(BUILD)/src/app && ./orvo-evaluator

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-sanitize:
	cmake -S . -B $(SAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORVO_SANITIZE=ON -DORVO_BENCH=OFF
	cmake --build $(SAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/.lsan-suppressions \
	  ctest --test-dir $(SAN_BUILD) --output-on-failure -j $(JOBS)

# Each reader is fuzzed for FUZZ_SECONDS from the seed corpus; a crash fails.
fuzz:
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DORVO_FUZZ=ON -DORVO_TESTS=OFF -DORVO_BENCH=OFF -DORVO_DESKTOP=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_txt fuzz_xml
	for reader in txt xml; do \
	  mkdir -p $(FUZZ_BUILD)/corpus-$$reader && cp fuzz/corpus/$$reader/* $(FUZZ_BUILD)/corpus-$$reader/ && \
	  $(FUZZ_BUILD)/fuzz/fuzz_$$reader -max_total_time=$(FUZZ_SECONDS) -max_len=8192 \
	    -artifact_prefix=$(FUZZ_BUILD)/crash-$$reader- $(FUZZ_BUILD)/corpus-$$reader || exit 1; \
	done

bench:
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVO_TESTS=OFF
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target orvo-bench
	$(BENCH_BUILD)/bench/orvo-bench

# Regenerates the bundled sample sequence.
sample: build
	$(BUILD)/tools/orvo-make-sample data/sample

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(FUZZ_BUILD) $(BENCH_BUILD)
