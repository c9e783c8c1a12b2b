# make run   - install what is missing, build, start Quillon
# make test  - install what is missing, run every test in a normal and a sanitizer build
# make bench - build and run the benchmarks
JOBS ?= $(shell nproc)

.PHONY: run test deps build build-asan bench fuzz clean

deps:
	@bash tools/install-deps.sh

build: deps
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build build -j $(JOBS)

build-asan: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DQUILLON_SANITIZE=ON >/dev/null
	cmake --build build-asan -j $(JOBS)

run: build
	./build/quillon

test: build build-asan
	cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	cd build-asan && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	@for b in build/bench/*_bench; do echo "== $$b"; $$b; done

clean:
	rm -rf build build-asan build-fuzz

# make fuzz-actions - many random user actions through the real window; set
# QUILLON_ACTIONS and QUILLON_ACTION_SEED to choose the run (a failure prints both)
.PHONY: fuzz-actions
fuzz-actions: build
	cd build && QT_QPA_PLATFORM=offscreen QUILLON_ACTIONS=$${QUILLON_ACTIONS:-100000} \
		QUILLON_ACTION_SEED=$${QUILLON_ACTION_SEED:-$$(date +%s)} ./tests/action_fuzz_test
