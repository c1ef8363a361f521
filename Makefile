# make run   - install what is missing, build, start chantune
# make run-099 - the same for the earlier edition, chantune-099
# make test  - install what is missing, build, run the whole suite
# make test-whole - the same build; each test program once as one process,
#              so that a test leaning on what an earlier one left shows
# make fuzz  - build the fuzz targets with clang and run each for FUZZ_SECONDS
JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60

.PHONY: deps configure build run run-099 test test-whole test-sanitize bench fuzz clean

deps:
	@scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Each program alone, without the tests and benchmarks.
run: configure
	cmake --build $(BUILD) -j $(JOBS) --target chantune
	./$(BUILD)/chantune

run-099: configure
	cmake --build $(BUILD) -j $(JOBS) --target chantune-099
	./$(BUILD)/chantune-099

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# ctest runs each test in a process of its own; here all of a program's
# tests run in one, one program after the other, each at most WHOLE_TIMEOUT
# seconds.
WHOLE_TIMEOUT ?= 600
test-whole: build
	@status=0; for t in $(BUILD)/tests/*_tests; do \
	  [ -x "$$t" ] || continue; echo "test-whole: $$t"; \
	  QT_QPA_PLATFORM=offscreen timeout $(WHOLE_TIMEOUT) "$$t" --gtest_brief=1 || status=1; \
	done; exit $$status

# ctest runs the test programs to list their tests, then runs the tests:
# the sanitizer settings hold for both.
SANITIZER_ENV = QT_QPA_PLATFORM=offscreen \
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

test-sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCHANTUNE_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS)

# llvm-14 holds llvm-symbolizer-14, which the sanitizers run to name the
# functions and lines of a fault's stack.
fuzz:
	@scripts/install-deps clang-14 libclang-rt-14-dev llvm-14
	CC=clang-14 CXX=clang++-14 cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCHANTUNE_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers
	fuzz/run $(FUZZ_BUILD) $(FUZZ_SECONDS)

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

# make install puts both programs, each with its entry in the desktop's
# applications menu, under PREFIX, within DESTDIR when one is given; make
# uninstall, with the same DESTDIR, removes what the last install put there.
# The entries name the programs by their installed path, so the build is
# configured for PREFIX before it is built.
PREFIX ?= /usr/local
.PHONY: install uninstall

install: configure
	cmake -S . -B $(BUILD) -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	cmake --build $(BUILD) -j $(JOBS) --target chantune chantune-099
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD)

uninstall:
	DESTDIR="$(DESTDIR)" scripts/uninstall $(BUILD)/install_manifest.txt

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
