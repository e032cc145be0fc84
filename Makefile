# The two commands: `make run` builds and starts the program, `make test` builds and runs
# every test. Both install what the machine is missing first (Debian and Ubuntu).
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
# Configures a build folder with Ninja (which bootstrap installs); a folder already
# configured keeps the generator it was made with.
configure = cmake -S . -B $(1) $$([ -f $(1)/CMakeCache.txt ] || echo "-G Ninja") $(2)

.PHONY: run build test bench crashtest format clean

run: build
	./build/release/vantrel

build:
	scripts/bootstrap
	$(call configure,build/release,-DCMAKE_BUILD_TYPE=Release -DVANTREL_TESTS=OFF)
	cmake --build build/release -j $(JOBS)

test:
	scripts/bootstrap --test
	$(call configure,build/test,-DCMAKE_BUILD_TYPE=Debug -DVANTREL_SANITIZE=ON -DVANTREL_WERROR=ON)
	cmake --build build/test -j $(JOBS)
	cd build/test && ctest --output-on-failure -j $(JOBS)

bench:
	scripts/bootstrap --bench
	$(call configure,build/bench,-DCMAKE_BUILD_TYPE=Release -DVANTREL_TESTS=OFF -DVANTREL_BENCH=ON)
	cmake --build build/bench -j $(JOBS)
	./build/bench/bench/vantrel_bench

# Kills a writer saving the data files KILLS times at random moments; every file must stay whole.
KILLS ?= 10000
crashtest:
	scripts/bootstrap --test
	$(call configure,build/crash,-DCMAKE_BUILD_TYPE=Release -DVANTREL_GUI=OFF -DVANTREL_TESTS=ON)
	cmake --build build/crash -j $(JOBS) --target vantrel-crashtest
	./build/crash/tests/crash/vantrel-crashtest --kills $(KILLS)

format:
	clang-format -i $$(git ls-files 'src/*.h' 'src/*.cpp' 'tools/*.h' 'tools/*.cpp' 'tests/*.cpp' 'bench/*.cpp')

clean:
	rm -rf build
