# make demo: set up, build, run the compiler on the bundled examples, then
# compile, link and run them with basrun; then build examples/project with
# NMAKE and run the program.
# make test: set up, build all three ways, run every test.
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: setup build native win32 win64 test demo ide-demo clean sanitize fuzz

setup:
	@bash scripts/setup.sh

native: setup
	cmake -S . -B build/native $(CMAKE_FLAGS) >/dev/null
	cmake --build build/native -j $(JOBS)

win32: setup
	cmake -S . -B build/win32 $(CMAKE_FLAGS) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686.cmake >/dev/null
	cmake --build build/win32 -j $(JOBS)

win64: setup
	cmake -S . -B build/win64 $(CMAKE_FLAGS) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64.cmake >/dev/null
	cmake --build build/win64 -j $(JOBS)

build: native win32 win64

test: build
	cd build/native && ctest --output-on-failure -j $(JOBS)
	cd build/win64 && xvfb-run -a ctest --output-on-failure -j $(JOBS)

# make sanitize: the native build with AddressSanitizer and
# UndefinedBehaviorSanitizer in its own folder, and every native test under
# it; undefined behaviour stops the test like a memory error does.
SANITIZE_FLAGS = -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer
sanitize: setup
	cmake -S . -B build/sanitize $(CMAKE_FLAGS) -DCMAKE_C_FLAGS="$(SANITIZE_FLAGS)" \
	  -DCMAKE_CXX_FLAGS="$(SANITIZE_FLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE_FLAGS)" \
	  -DCMAKE_SHARED_LINKER_FLAGS="$(SANITIZE_FLAGS)" >/dev/null
	cmake --build build/sanitize -j $(JOBS)
	cd build/sanitize && ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS)

# make fuzz [FUZZ_TIME=seconds] [FUZZ_JOBS=n] [FUZZ_TARGETS="a b"]: every
# fuzz program (clang, libFuzzer) for the chosen time; a table of executions
# and failing inputs at the end (scripts/fuzz.sh).
fuzz: setup
	@bash scripts/fuzz.sh

# The demo builds quietly and shows only the compiler's own output (the build
# log is printed when the build fails).
demo: setup
	@cmake -S . -B build/native $(CMAKE_FLAGS) >/dev/null
	@mkdir -p build && cmake --build build/native -j $(JOBS) >build/demo-build.log 2>&1 \
	  || { cat build/demo-build.log; exit 1; }
	@bash scripts/demo.sh

# The IDE under Wine: on the display when there is one, else on a virtual
# screen with a screenshot saved in build/ide-demo.png.
ide-demo: native win64
	@bash scripts/ide-demo.sh

# An installation laid out from a Windows build (the runtime libraries come
# from the native build): make install [INSTALL_FROM=build/win64] [INSTALL_TO=...]
INSTALL_FROM ?= build/win32
INSTALL_TO ?= build/install
.PHONY: install
install: native $(notdir $(INSTALL_FROM))
	bash scripts/install.sh $(INSTALL_FROM) $(INSTALL_TO)

clean:
	rm -rf build
