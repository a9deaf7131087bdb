# Thin wrapper over the CMake presets.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: test sanitize clean

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

clean:
	rm -rf build
