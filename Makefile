# The two commands a user needs:
#   make demo   build (Release) and run the guided tour in examples/
#   make test   build and run every test, in a Release and a sanitizer build
# and, for maintainers:
#   make bench  build and run the benchmarks beside GMP, MPFR and the other peers
#   make install PREFIX=/usr/local

BUILD   ?= build
JOBS    ?= $(shell nproc 2>/dev/null || echo 2)
PREFIX  ?= /usr/local
CMAKE   ?= cmake
CTEST   ?= ctest

RELEASE := $(BUILD)/release
ASAN    := $(BUILD)/asan
BENCH   := $(BUILD)/bench

.PHONY: all demo test test-release test-asan bench install deps clean

all: $(RELEASE)/CMakeCache.txt
	$(CMAKE) --build $(RELEASE) -j $(JOBS)

deps:
	@scripts/install-deps.sh

$(RELEASE)/CMakeCache.txt: | deps
	$(CMAKE) -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release

$(ASAN)/CMakeCache.txt: | deps
	$(CMAKE) -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVRIX_SANITIZE=ON

$(BENCH)/CMakeCache.txt: | deps
	$(CMAKE) -S . -B $(BENCH) -DCMAKE_BUILD_TYPE=Release -DKOVRIX_BENCH=ON -DKOVRIX_TESTS=OFF

demo: all
	$(RELEASE)/examples/kovrix_tour

test: test-release test-asan

test-release: $(RELEASE)/CMakeCache.txt
	$(CMAKE) --build $(RELEASE) -j $(JOBS)
	$(CTEST) --test-dir $(RELEASE) --output-on-failure -j $(JOBS)

test-asan: $(ASAN)/CMakeCache.txt
	$(CMAKE) --build $(ASAN) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  $(CTEST) --test-dir $(ASAN) --output-on-failure -j $(JOBS)

bench: $(BENCH)/CMakeCache.txt
	$(CMAKE) --build $(BENCH) -j $(JOBS)
	$(BENCH)/bench/kovrix_bench --benchmark_counters_tabular=true $(BENCH_ARGS)

install: all
	$(CMAKE) --install $(RELEASE) --prefix $(PREFIX)

clean:
	rm -rf $(BUILD)
