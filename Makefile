# The two commands: `make run` builds and starts the program, `make test` builds and runs
# every test. Both install what the machine is missing first (Debian and Ubuntu).
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo Ninja || echo "Unix Makefiles")

.PHONY: run build test bench format clean

run: build
	./build/release/vantrel

build:
	scripts/bootstrap
	cmake -S . -B build/release -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=Release -DVANTREL_TESTS=OFF
	cmake --build build/release -j $(JOBS)

test:
	scripts/bootstrap --test
	cmake -S . -B build/test -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=Debug \
	  -DVANTREL_SANITIZE=ON -DVANTREL_WERROR=ON
	cmake --build build/test -j $(JOBS)
	cd build/test && ctest --output-on-failure -j $(JOBS)

bench:
	scripts/bootstrap --bench
	cmake -S . -B build/bench -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=Release \
	  -DVANTREL_TESTS=OFF -DVANTREL_BENCH=ON
	cmake --build build/bench -j $(JOBS)
	./build/bench/bench/vantrel_bench

format:
	clang-format -i $$(git ls-files 'src/*.h' 'src/*.cpp' 'tools/*.h' 'tools/*.cpp' 'tests/*.cpp' 'bench/*.cpp')

clean:
	rm -rf build
