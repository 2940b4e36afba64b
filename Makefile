# The two commands a newcomer needs; everything else is CMake (see README.md).
.PHONY: demo test

# Installs what is missing, builds, and documents the bundled examples/ into demo-output/.
demo:
	@scripts/demo.sh

# Installs what is missing, builds with warnings as errors, and runs every test.
test:
	scripts/test.sh
