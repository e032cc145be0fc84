# SPDX-License-Identifier: GPL-3.0-or-later
# The two commands: `make run` builds and starts the program, `make test` builds and runs
# every test. Both install what the machine is missing first (Debian and Ubuntu).
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
# Configures a build folder with Ninja (which bootstrap installs); a folder already
# configured keeps the generator it was made with.
configure = cmake -S . -B $(1) $$([ -f $(1)/CMakeCache.txt ] || echo "-G Ninja") $(2)

.PHONY: run build install uninstall package test reliability bench fuzz crashtest format clean pot po

run: build
	./build/release/vantrel

build:
	scripts/bootstrap
	$(call configure,build/release,-DCMAKE_BUILD_TYPE=Release -DVANTREL_TESTS=OFF)
	cmake --build build/release -j $(JOBS)

# Installs the release build under PREFIX: the program, its menu entry, icons, file types,
# AppStream description and help pages. `make uninstall` removes what was installed.
PREFIX ?= /usr/local
install: build
	cmake --install build/release --prefix $(PREFIX)

uninstall:
	@[ -f build/release/install_manifest.txt ] || { echo "Nothing installed from build/release"; exit 1; }
	xargs -d '\n' rm -f -- < build/release/install_manifest.txt
	@# The desktop forgets the file types, menu entry and icons.
	@share=$$(sed -n 's#/bin/vantrel$$#/share#p' build/release/install_manifest.txt); \
	  [ ! -d "$$share/mime" ] || update-mime-database "$$share/mime" 2>/dev/null || true; \
	  [ ! -d "$$share/applications" ] || update-desktop-database -q "$$share/applications" 2>/dev/null || true; \
	  [ ! -d "$$share/icons/hicolor" ] || gtk-update-icon-cache -q -t -f "$$share/icons/hicolor" 2>/dev/null || true

# The Debian package, build/package/vantrel_VERSION_ARCH.deb, built with the compiler and
# linker flags of Debian's own packages (hardening included) and checked by lintian, which
# must find no error and no warning.
debian_flags = $$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get $(1))
PACKAGE_OPTIONS = -DCMAKE_BUILD_TYPE=Release -DVANTREL_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr \
  "-DCMAKE_CXX_FLAGS=$(call debian_flags,CPPFLAGS) $(call debian_flags,CXXFLAGS)" \
  "-DCMAKE_EXE_LINKER_FLAGS=$(call debian_flags,LDFLAGS)" \
  "-DCMAKE_MODULE_LINKER_FLAGS=$(call debian_flags,LDFLAGS)"

package:
	scripts/bootstrap --package
	$(call configure,build/package,$(PACKAGE_OPTIONS))
	cmake --build build/package -j $(JOBS)
	rm -f build/package/vantrel_*.deb
	cd build/package && cpack -G DEB
	lintian --fail-on error,warning --display-info build/package/vantrel_*.deb
	@ls -1 build/package/vantrel_*.deb

# The translators' files: `make pot` extracts every text the program shows into
# po/vantrel.pot; `make po` merges it into each language's catalog, po/LANG.po, where new
# texts wait untranslated and changed ones fuzzy (see "Adding a language" in the README).
pot:
	scripts/update-catalogs pot

po: pot
	scripts/update-catalogs merge

TEST_OPTIONS = -DCMAKE_BUILD_TYPE=Debug -DVANTREL_SANITIZE=ON -DVANTREL_WERROR=ON

test:
	scripts/bootstrap --test
	$(call configure,build/test,$(TEST_OPTIONS))
	cmake --build build/test -j $(JOBS)
	cd build/test && ctest --output-on-failure -j $(JOBS)

# The long forms of two tests that `make test` runs short, under the sanitizers: 10,000
# random jobs written and read back, and thirty virtual days of everything running at once.
reliability:
	scripts/bootstrap --test
	$(call configure,build/test,$(TEST_OPTIONS))
	cmake --build build/test -j $(JOBS) --target vantrel_unit_tests
	cd build/test && VANTREL_ROUND_TRIPS=10000 VANTREL_LONG_RUN_DAYS=30 \
	  ./tests/vantrel_unit_tests --gtest_filter='RoundTripTest.*:LongRunTest.*'

bench:
	scripts/bootstrap --bench
	$(call configure,build/bench,-DCMAKE_BUILD_TYPE=Release -DVANTREL_TESTS=OFF -DVANTREL_BENCH=ON)
	cmake --build build/bench -j $(JOBS)
	./build/bench/bench/vantrel_bench

# The readers under libFuzzer (clang, AddressSanitizer, UndefinedBehaviorSanitizer), each for
# FUZZ_SECONDS on a scratch copy of its corpus; the first crash stops with its input's path.
FUZZ_SECONDS ?= 60
FUZZ_HARNESSES = project price_list customer text_decoder script_parser
FUZZ_OPTIONS = -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTREL_GUI=OFF -DVANTREL_TESTS=OFF -DVANTREL_FUZZ=ON

fuzz:
	scripts/bootstrap --fuzz
	CC=clang CXX=clang++ $(call configure,build/fuzz,$(FUZZ_OPTIONS))
	cmake --build build/fuzz -j $(JOBS) --target $(addprefix fuzz_,$(FUZZ_HARNESSES))
	scripts/fuzz $(FUZZ_SECONDS) $(FUZZ_HARNESSES)

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
