# One-word commands over CMake. The program builds in build/, the sanitizer
# and fuzz trees beside it.
BUILD_TYPE ?= Release
BUILD      ?= build
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_ARGS ?=

# Sanitizer and fuzz trees: the plain libraries only, no Qt.
ASAN_BUILD   ?= build-asan
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZERS       = $(patsubst fuzz/%_fuzz.cpp,%,$(wildcard fuzz/*_fuzz.cpp))
SANITIZE      = -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer

# Debian packages that building and running the window and the CLI need
# (the X tools start the window where there is no display)...
PACKAGES = cmake g++ make pkg-config qt6-base-dev libxcb1-dev libx11-dev qt6-svg-dev libfast-float-dev help2man \
           xvfb xauth xdotool imagemagick fonts-wqy-zenhei fonts-liberation2 qt6-translations-l10n
# ...what building the Debian package adds...
DEB_PACKAGES = $(PACKAGES) dpkg-dev debhelper lintian
# The web page: clang for wasm32-wasi with its C and C++ libraries, node to bundle it.
WEB_PACKAGES = clang lld wasi-libc libc++-dev-wasm32 libclang-rt-dev-wasm32 nodejs librsvg2-bin
# ...and what the tests, benchmarks, fuzzers and package checks add (unicode-data:
# Unicode's grapheme break test, and the data the committed cluster table is checked against).
TEST_PACKAGES = $(DEB_PACKAGES) $(WEB_PACKAGES) chromium libgtest-dev libgmock-dev libbenchmark-dev xclip clang libclang-rt-14-dev time tmux \
                desktop-file-utils appstream man-db clang-format shellcheck \
                python3-pyatspi at-spi2-core dbus libparse-bbcode-perl unicode-data diffoscope-minimal

PREFIX  ?= /usr/local
DESTDIR ?=
# The package is built from a copy of the tree in here and lands here too.
DEB_DIR ?= build-deb
PORT    ?= 8000
VERSION := $(shell sed -n '/^project/s/.*VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

.PHONY: all version deps deb-deps test-deps deb dist serve screenshot build run test lint bench clean web test-sanitized fuzz fuzz-build install uninstall

all: build

# The project's version, for scripts such as the release workflow.
version:
	@echo $(VERSION)

deps:
	@scripts/install-deps.sh $(PACKAGES)

deb-deps:
	@scripts/install-deps.sh $(DEB_PACKAGES)

test-deps:
	@scripts/install-deps.sh $(TEST_PACKAGES)
	@command -v npm >/dev/null || scripts/install-deps.sh npm # NodeSource's nodejs carries its own

# A new tree starts without the test suites; `make test` turns them on.
$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DVELMORANT_TESTS=OFF $(CMAKE_ARGS)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target programs

# The page in one file: open $(BUILD)/web/index.html in a browser.
web: deps
	@scripts/install-deps.sh $(WEB_PACKAGES)
	@$(MAKE) --no-print-directory $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target web
	@echo "The page: $(BUILD)/web/index.html"

run: build
	@scripts/run.sh $(BUILD)/velmorant

test: test-deps
	@$(MAKE) --no-print-directory lint
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DVELMORANT_TESTS=ON $(CMAKE_ARGS)
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory test-sanitized

# The C++ files against .clang-format, the shell scripts through shellcheck.
lint:
	@scripts/lint.sh

# Notes the folders this install is the first to make (a trial install under
# the build tree shows which it needs), so uninstall removes only those.
install: build
	@rm -rf $(BUILD)/install-trial
	@DESTDIR="$(abspath $(BUILD))/install-trial" cmake --install $(BUILD) --prefix "$(PREFIX)" >/dev/null
	@cd $(BUILD)/install-trial && find . -mindepth 1 -type d | sed 's|^\.||' | \
	    while IFS= read -r d; do [ -d "$(DESTDIR)$$d" ] || printf '%s\n' "$$d"; done >../install_dirs.new
	@cat $(BUILD)/install_dirs.new $(wildcard $(BUILD)/install_dirs.txt) | LC_ALL=C sort -ru >$(BUILD)/install_dirs.txt
	@rm -rf $(BUILD)/install-trial $(BUILD)/install_dirs.new
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# dpkg-buildpackage writes beside the tree it builds, so it builds a copy
# under DEB_DIR: nothing lands beside the checkout.
deb: deb-deps
	@deb_version=$$(dpkg-parsechangelog -S Version); [ "$${deb_version%-*}" = "$(VERSION)" ] || \
	    { echo "debian/changelog says $$deb_version, CMakeLists.txt $(VERSION)" >&2; exit 1; }
	rm -rf $(DEB_DIR)/velmorant-$(VERSION)
	mkdir -p $(DEB_DIR)/velmorant-$(VERSION)
	tar -c --exclude=./.git --exclude='./build*' --exclude=./Testing . | tar -x -C $(DEB_DIR)/velmorant-$(VERSION)
	cd $(DEB_DIR)/velmorant-$(VERSION) && DEB_BUILD_OPTIONS="parallel=$(JOBS) $(DEB_BUILD_OPTIONS)" dpkg-buildpackage -b -us -uc
	rm -rf $(DEB_DIR)/velmorant-$(VERSION)
	@echo "The package: $(DEB_DIR)/$$(cd $(DEB_DIR) && ls -t velmorant_$(VERSION)-*_*.deb | head -n1)"

# The release in RELEASE_DIR: the page, the package, the source archive and
# SHA256SUMS, and the installable site in site/; built from the last commit's
# source archive in DIST_WORK, the same bytes on every run.
RELEASE_DIR ?= $(BUILD)/release
DIST_WORK   ?= $(BUILD)/dist-work
dist: deb-deps
	@scripts/install-deps.sh $(WEB_PACKAGES)
	@scripts/dist.sh $(RELEASE_DIR) $(DIST_WORK) $(JOBS)

# The installable site on http://localhost:8000 (a secure origin, as https is).
serve:
	@test -f $(RELEASE_DIR)/site/index.html || { echo "no $(RELEASE_DIR)/site: make dist writes it" >&2; exit 1; }
	node scripts/serve.mjs $(RELEASE_DIR)/site $(PORT)

# The README's picture: the window after a convert, as the e2e main road test
# shoots it on its private X server.
screenshot: test-deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DVELMORANT_TESTS=ON $(CMAKE_ARGS)
	cmake --build $(BUILD) -j $(JOBS) --target velmorant velmorant-cli
	cd $(BUILD) && ctest --output-on-failure -R '^e2e_main_road_test$$'
	cp $(BUILD)/e2e/preview-startup.png docs/velmorant.png

# Removes what the last install wrote, as CMake listed it, and the folders it
# made once they are empty; give the same DESTDIR.
uninstall:
	@test -f $(BUILD)/install_manifest.txt || { echo "nothing installed from $(BUILD)" >&2; exit 1; }
	@while IFS= read -r f || [ -n "$$f" ]; do rm -fv "$(DESTDIR)$$f"; done < $(BUILD)/install_manifest.txt
	@# Deepest first; a folder that holds something else stays.
	@if [ -f $(BUILD)/install_dirs.txt ]; then \
	    while IFS= read -r d; do rmdir -v "$(DESTDIR)$$d" 2>/dev/null || true; done < $(BUILD)/install_dirs.txt; \
	    rm -f $(BUILD)/install_dirs.txt; fi

$(ASAN_BUILD)/CMakeCache.txt:
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORANT_APP=OFF \
	      "-DCMAKE_CXX_FLAGS=$(SANITIZE)" "-DCMAKE_EXE_LINKER_FLAGS=$(SANITIZE)"

$(FUZZ_BUILD)/CMakeCache.txt:
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	      -DVELMORANT_FUZZ=ON -DVELMORANT_APP=OFF -DVELMORANT_TESTS=OFF

# The unit and cli suites and the seed replays under ASan and UBSan, then each
# fuzzer for a few seconds over the seeds.
test-sanitized: test-deps $(ASAN_BUILD)/CMakeCache.txt fuzz-build
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS) -L 'unit|cli|replay'
	cd $(FUZZ_BUILD) && ctest --output-on-failure -j $(JOBS) -L fuzz

fuzz-build: test-deps $(FUZZ_BUILD)/CMakeCache.txt
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers

# Each fuzzer for FUZZ_SECONDS, growing its corpus in the build tree from a copy of fuzz/corpus;
# then the multiline box against a plain string, over many more seeds and steps than make test
# (about 0.15 s of CPU a seed; QtTest's five-minute watchdog would stop it part way);
# then the colours against Chromium's color-mix() and the contrast figures against their references
# for ten new seeds each, then the page against a model
# of its state for twenty new seeds of sixty steps.
fuzz: fuzz-build
	@status=0; for f in $(FUZZERS); do \
	    fuzz/run_fuzzer.sh $(FUZZ_BUILD)/fuzz/fuzz_$$f fuzz/corpus/$$f $(FUZZ_BUILD)/corpus/$$f $(FUZZ_SECONDS) || status=1; \
	done; exit $$status
	cmake -S . -B $(BUILD) -DVELMORANT_TESTS=ON && cmake --build $(BUILD) -j $(JOBS) --target window_text_box_model_test && QT_QPA_PLATFORM=offscreen QTEST_FUNCTION_TIMEOUT=3600000 VELMORANT_BOX_MODEL_SEEDS=1000:3000 VELMORANT_BOX_MODEL_STEPS=300 $(BUILD)/tests/window/window_text_box_model_test
	cmake --build $(BUILD) -j $(JOBS) --target velmorant-cli web_npm web_test_page contrast_pairs
	for run in 1 2 3 4 5 6 7 8 9 10; do node tests/web/colour_oracle_test.mjs $(BUILD)/velmorant-cli \
	    $(BUILD)/tests/web/npm/node_modules /usr/bin/chromium || exit 1; \
	    node tests/web/contrast_test.mjs $(BUILD)/tests/unit/contrast_pairs $(BUILD)/tests/web/npm/node_modules || exit 1; done
	node tests/web/page_model_test.mjs $(BUILD)/tests/web/page/index.html $(BUILD)/velmorant-cli \
	    $(BUILD)/tests/web/npm/node_modules /usr/bin/chromium $$(date +%s) 20 60

bench: test-deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DVELMORANT_BENCH=ON $(CMAKE_ARGS)
	cmake --build $(BUILD) -j $(JOBS) --target gradient_bench velmorant-cli
	cmake --build $(BUILD) -j $(JOBS) --target window_bench
	cmake --build $(BUILD) -j $(JOBS) --target velmorant bare_window map_timer
	$(BUILD)/bench/gradient_bench
	bench/cli_vs_cat.sh $(BUILD)/velmorant-cli
	$(BUILD)/bench/window_bench
	bench/startup_vs_bare.sh $(BUILD)
	cmake --build $(BUILD) -j $(JOBS) --target web web_npm
	node bench/web_bench.mjs $(BUILD)/tests/web/page/index.html $(BUILD)/tests/web/npm/node_modules /usr/bin/chromium

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(DEB_DIR)
