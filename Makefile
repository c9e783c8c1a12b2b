# make run   - install what is missing, build, start Quillon
# make test  - install what is missing, run every test in a normal and a sanitizer build
# make bench - build and run the benchmarks
# make fuzz  - build the libFuzzer targets (clang) and run each FUZZ_SECONDS
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60
# make test runs each fuzzer this long, so that CI fuzzes a little too.
FUZZ_SMOKE_SECONDS ?= 20

.PHONY: run test deps build build-asan build-fuzz bench fuzz fuzz-smoke clean

deps:
	@bash tools/install-deps.sh

build: deps
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build build -j $(JOBS)

build-asan: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DQUILLON_SANITIZE=ON >/dev/null
	cmake --build build-asan -j $(JOBS)

# Only the fuzzers and the libraries under them: the tests are built above.
build-fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DQUILLON_FUZZ=ON -DQUILLON_SANITIZE=ON -DQUILLON_BENCH=OFF >/dev/null
	cmake --build build-fuzz --target fuzzers -j $(JOBS)

run: build
	./build/quillon

test: build build-asan
	cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	cd build-asan && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory fuzz-smoke

bench: build
	@for b in build/bench/*_bench; do echo "== $$b"; $$b; done

fuzz: build-fuzz
	bash tools/run-fuzzers.sh $(FUZZ_SECONDS)

fuzz-smoke: build-fuzz
	bash tools/run-fuzzers.sh $(FUZZ_SMOKE_SECONDS)

clean:
	rm -rf build build-asan build-fuzz

# make fuzz-actions - many random user actions through the real window; set
# QUILLON_ACTIONS and QUILLON_ACTION_SEED to choose the run (a failure prints both)
.PHONY: fuzz-actions
fuzz-actions: build
	cd build && QT_QPA_PLATFORM=offscreen QUILLON_ACTIONS=$${QUILLON_ACTIONS:-100000} \
		QUILLON_ACTION_SEED=$${QUILLON_ACTION_SEED:-$$(date +%s)} ./tests/action_fuzz_test
