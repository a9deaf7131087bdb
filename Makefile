# Thin wrapper over the CMake presets.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: test sanitize bench demo fuzz windows windows-test clean

# Configure, build and run every test of the normal build.
test:
	cmake --preset default
	cmake --build --preset default -j $(JOBS)
	ctest --preset default -j $(JOBS)

# The same suite under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize:
	cmake --preset sanitize
	cmake --build --preset sanitize -j $(JOBS)
	ctest --preset sanitize -j $(JOBS)

# Builds everything, writes the sample backup into build/demo and converts it there.
demo:
	cmake --preset default
	cmake --build --preset default -j $(JOBS)
	rm -rf build/demo
	mkdir -p build/demo
	build/default/tools/make_sample_backup build/demo
	cd build/demo && ../default/brimlow2csv < /dev/null
	@echo
	@echo "The sample backup and the three files are in build/demo/:"
	@cd build/demo && ls -l Brimlow_C.csv Brimlow_S.csv Brimlow_T.tsv

# Times the conversion of a worst-case and a typical backup against writing as
# many bytes; one line per case.
BENCH_TOOLS = build/release/tools/bench
BENCH_RUNS ?= 7
bench:
	cmake --preset release
	cmake --build --preset release -j $(JOBS)
	$(BENCH_TOOLS)/brimlow_bench_data worst build/bench/worst
	$(BENCH_TOOLS)/brimlow_bench_data typical build/bench/typical
	@$(BENCH_TOOLS)/brimlow_bench_runner worst build/bench/worst build/release/brimlow2csv \
	  $(BENCH_TOOLS)/brimlow_bench_baseline $(BENCH_RUNS) 1.5 64
	@$(BENCH_TOOLS)/brimlow_bench_runner typical build/bench/typical build/release/brimlow2csv \
	  $(BENCH_TOOLS)/brimlow_bench_baseline $(BENCH_RUNS) 2 64

# Both libFuzzer targets (clang), each run for FUZZ_SECONDS on its corpus in
# build/fuzz/corpus/ and freshly written seeds; fails on any crash, whose input
# stays in build/fuzz/artifacts/.
FUZZ_SECONDS ?= 120
FUZZ_BUILD := build/fuzz
fuzz:
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	rm -rf $(FUZZ_BUILD)/seeds
	$(FUZZ_BUILD)/tools/brimlow_fuzz_seeds $(FUZZ_BUILD)/seeds/database $(FUZZ_BUILD)/seeds/conversion
	bash tests/fuzz/run_fuzzer.sh database $(FUZZ_SECONDS)
	bash tests/fuzz/run_fuzzer.sh conversion $(FUZZ_SECONDS)

# The Windows program (MinGW-w64) and its release archive, in build/windows.
windows:
	cmake --preset windows
	cmake --build --preset windows -j $(JOBS)
	cmake --build --preset windows --target package

# The end-to-end suite against the Windows program under Wine.
windows-test: windows
	cmake --preset default
	cmake --build --preset default -j $(JOBS)
	ctest --preset windows -j $(JOBS)

clean:
	rm -rf build
