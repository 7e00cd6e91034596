# The two commands a user needs:
#   make demo   build (Release) and run the guided tour in examples/
#   make test   build and run every test, in a Release and a sanitizer build
# and:
#   make install PREFIX=/usr/local    the library, headers, CMake package, .pc file
#   make uninstall                    removes what the last install put in place
#   make bench  build and run the benchmarks beside GMP, MPFR and the other peers
#   make docs   the HTML reference of the headers in build/docs/html (doxygen)
#   make accuracy   measures every function export against MPFR: docs/accuracy.md
#   make fuzz   the libFuzzer target (clang), run for FUZZ_TIME seconds (default 60)
#               on the corpus in $(BUILD)/fuzz/corpus; not part of make test
# demo and install need only a C/C++ compiler and CMake; test and bench first
# run scripts/install-deps.sh, which installs (as root) or names the oracles
# and peers they need.

BUILD   ?= build
JOBS    ?= $(shell nproc 2>/dev/null || echo 2)
PREFIX  ?= /usr/local
CMAKE   ?= cmake
CTEST   ?= ctest

RELEASE := $(BUILD)/release
ASAN    := $(BUILD)/asan
BENCH   := $(BUILD)/bench
FUZZ    := $(BUILD)/fuzz
FUZZ_TIME ?= 60

.PHONY: all demo test test-release test-asan bench fuzz install uninstall docs accuracy deps deps-test deps-bench deps-fuzz clean

all: $(RELEASE)/CMakeCache.txt
	$(CMAKE) --build $(RELEASE) -j $(JOBS)

deps:
	@scripts/install-deps.sh
deps-test:
	@scripts/install-deps.sh test
deps-bench:
	@scripts/install-deps.sh bench
deps-fuzz:
	@scripts/install-deps.sh fuzz

$(RELEASE)/CMakeCache.txt:
	$(CMAKE) -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release

$(ASAN)/CMakeCache.txt:
	$(CMAKE) -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVRIX_SANITIZE=ON

$(BENCH)/CMakeCache.txt:
	$(CMAKE) -S . -B $(BENCH) -DCMAKE_BUILD_TYPE=Release -DKOVRIX_BENCH=ON -DKOVRIX_TESTS=OFF

# Asserts stay on (no NDEBUG); the library is built with AddressSanitizer,
# UBSan and libFuzzer's coverage instrumentation.
$(FUZZ)/CMakeCache.txt:
	CC=clang CXX=clang++ $(CMAKE) -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O2 -g" \
	  -DKOVRIX_FUZZ=ON -DKOVRIX_SANITIZE=ON -DKOVRIX_TESTS=OFF -DKOVRIX_EXAMPLES=OFF

demo: $(RELEASE)/CMakeCache.txt
	$(CMAKE) --build $(RELEASE) -j $(JOBS) --target kovrix_tour kovrix_cpp_example
	$(RELEASE)/examples/kovrix_tour
	$(RELEASE)/examples/kovrix_cpp_example

test: test-release test-asan

# Configured again after deps, so that oracles installed since the first
# configuration are found.
test-release: deps-test $(RELEASE)/CMakeCache.txt
	$(CMAKE) -S . -B $(RELEASE) -DKOVRIX_TESTS=ON >/dev/null
	$(CMAKE) --build $(RELEASE) -j $(JOBS)
	$(CTEST) --test-dir $(RELEASE) --output-on-failure --no-tests=error -j $(JOBS)

test-asan: deps-test $(ASAN)/CMakeCache.txt
	$(CMAKE) -S . -B $(ASAN) -DKOVRIX_TESTS=ON >/dev/null
	$(CMAKE) --build $(ASAN) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  $(CTEST) --test-dir $(ASAN) --output-on-failure --no-tests=error -j $(JOBS)

bench: deps-bench $(BENCH)/CMakeCache.txt
	$(CMAKE) --build $(BENCH) -j $(JOBS)
	$(BENCH)/bench/kovrix_bench --benchmark_counters_tabular=true $(BENCH_ARGS)

fuzz: deps-fuzz $(FUZZ)/CMakeCache.txt
	$(CMAKE) --build $(FUZZ) -j $(JOBS) --target kovrix_fuzz
	mkdir -p $(FUZZ)/corpus
	$(FUZZ)/fuzz/kovrix_fuzz -max_total_time=$(FUZZ_TIME) -rss_limit_mb=4096 $(FUZZ)/corpus $(FUZZ_ARGS)

install: $(RELEASE)/CMakeCache.txt
	$(CMAKE) --build $(RELEASE) -j $(JOBS) --target kovrix_libraries
	$(CMAKE) --install $(RELEASE) --prefix $(PREFIX)

# Removes every file listed by the last install from $(RELEASE), then the
# directories that only kovrix uses (its CMake package and Python package).
uninstall:
	@test -f $(RELEASE)/install_manifest.txt || { echo "uninstall: $(RELEASE)/install_manifest.txt not found (nothing installed from here)" >&2; exit 1; }
	xargs -d '\n' rm -f < $(RELEASE)/install_manifest.txt
	@sed -n 's,/kovrix/[^/]*$$,/kovrix,p' $(RELEASE)/install_manifest.txt | sort -ru | while read -r dir; do \
	  rm -rf "$$dir/__pycache__"; rmdir "$$dir" 2>/dev/null || true; done
	rm -f $(RELEASE)/install_manifest.txt

accuracy: $(RELEASE)/CMakeCache.txt
	@scripts/install-deps.sh accuracy
	$(CMAKE) -S . -B $(RELEASE) -DKOVRIX_ACCURACY=ON >/dev/null
	$(CMAKE) --build $(RELEASE) -j $(JOBS) --target kovrix_accuracy
	$(RELEASE)/tools/accuracy/kovrix_accuracy $(ACCURACY_SAMPLES) > docs/accuracy.md.new
	mv docs/accuracy.md.new docs/accuracy.md
	@echo "accuracy: docs/accuracy.md"

docs:
	@scripts/install-deps.sh docs
	mkdir -p $(BUILD)/docs
	( cat docs/Doxyfile; echo "OUTPUT_DIRECTORY = $(BUILD)/docs"; \
	  echo "PROJECT_NUMBER = $$(sed -n 's/^#define KOVRIX_VERSION_STRING "\(.*\)"/\1/p' include/kovrix.h)" ) | doxygen -
	@echo "docs: $(BUILD)/docs/html/index.html"

clean:
	rm -rf $(BUILD)
