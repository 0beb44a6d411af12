# Test helpers shared by every folder.
#
# tx_add_gtest(name SOURCES a.cpp ... [LIBS lib ...])
#   A GoogleTest program. Natively each test case is a CTest test; in the
#   win64 build the whole program is one CTest test run under Wine.
# tx_cp932(file ...)
#   Compiles these sources (in the calling folder) with code page 932 as the
#   execution character set, so their string literals are the system's
#   Shift-JIS bytes. Keep such files to text tables and the code that prints
#   them: <chrono> (and headers that pull it in, like <thread>) cannot be
#   compiled this way.
# tx_fuzz_target(name SOURCES a.cpp ... [LIBS lib ...] SEEDS folder)
#   A fuzz entry (LLVMFuzzerTestOneInput): natively name_replay runs it over
#   every file of the seed folder (seeds and every input that once failed;
#   *.u8 texts also in code page 932) as a test; with TX_FUZZ (a clang build, make fuzz) also the libFuzzer
#   program `name`, listed for scripts/fuzz.sh (fuzz/CMakeLists.txt).
# tx_sjis(target in out)
#   Converts a UTF-8 text file (a golden file, a fixture) to code page 932
#   at build time, so the repository never holds raw Shift-JIS.

if(TX_BUILD_TESTS)
  enable_testing()
  if(CMAKE_CROSSCOMPILING)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    foreach(t gtest gtest_main gmock gmock_main)
      target_compile_options(${t} PRIVATE -w)
    endforeach()
    add_test(NAME wine_prefix COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-prefix.sh serve)
    set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine
      ENVIRONMENT "TX_WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix")
    add_test(NAME wine_server_stop COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-prefix.sh stop)
    set_tests_properties(wine_server_stop PROPERTIES FIXTURES_CLEANUP wine
      ENVIRONMENT "TX_WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix")
  else()
    find_package(GTest REQUIRED)
    include(GoogleTest)
  endif()
endif()

function(tx_add_gtest name)
  if(NOT TX_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 600
      ENVIRONMENT "TX_WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix")
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
      WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  endif()
endfunction()

# Extra properties for a plain add_test() of a Windows program under Wine.
function(tx_wine_test name)
  if(CMAKE_CROSSCOMPILING)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 600
      ENVIRONMENT "TX_WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix")
  endif()
endfunction()

function(tx_sjis target in out)
  add_custom_command(OUTPUT ${out}
    COMMAND iconv -f UTF-8 -t CP932 ${in} -o ${out}
    DEPENDS ${in} VERBATIM)
  target_sources(${target} PRIVATE ${out})
endfunction()

function(tx_cp932)
  set_property(SOURCE ${ARGN} APPEND PROPERTY COMPILE_OPTIONS -fexec-charset=CP932)
endfunction()

# clang (the fuzz build) has no code page 932: its launcher compiles those
# files from a copy with the texts as escaped Shift-JIS bytes.
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  set(CMAKE_CXX_COMPILER_LAUNCHER ${CMAKE_SOURCE_DIR}/scripts/clang-cp932.py ${CMAKE_CXX_COMPILER_LAUNCHER})
endif()

# tx_pass_library(name DLLNAME core_target SOURCES ...)
#   A deliverable library: on Windows the DLL DLLNAME.DLL built from the
#   given sources (the entry points) over the static core_target, with its
#   version resource (cmake/TxVersion.cmake); natively a static library of
#   the same name. Tests link core_target.
function(tx_pass_library name dllname core)
  cmake_parse_arguments(P "" "" "SOURCES" ${ARGN})
  if(WIN32)
    add_library(${name} SHARED ${P_SOURCES})
    set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${dllname} SUFFIX ".DLL"
      IMPORT_PREFIX "lib" IMPORT_SUFFIX ".dll.a")
    tx_version_resource(${name} ${dllname} "${dllname}.DLL" DLL)
  else()
    add_library(${name} STATIC ${P_SOURCES})
  endif()
  target_compile_definitions(${name} PRIVATE TX_BUILDING_PASS)
  target_link_libraries(${name} PUBLIC ${core})
endfunction()

function(tx_fuzz_target name)
  cmake_parse_arguments(F "" "SEEDS" "SOURCES;LIBS" ${ARGN})
  if(NOT TX_BUILD_TESTS OR CMAKE_CROSSCOMPILING)
    return()
  endif()
  # Seeds named *.u8 are UTF-8 texts, given to the target in code page 932.
  set(gen ${CMAKE_CURRENT_BINARY_DIR}/${name}_seeds)
  file(MAKE_DIRECTORY ${gen})
  file(GLOB texts CONFIGURE_DEPENDS ${F_SEEDS}/*.u8)
  set(outs)
  foreach(t ${texts})
    get_filename_component(n ${t} NAME)
    string(REGEX REPLACE "\\.u8$" "" n ${n})
    add_custom_command(OUTPUT ${gen}/${n}
      COMMAND iconv -f UTF-8 -t CP932 ${t} -o ${gen}/${n}
      DEPENDS ${t} VERBATIM)
    list(APPEND outs ${gen}/${n})
  endforeach()
  add_custom_target(${name}_seeds DEPENDS ${outs})
  add_executable(${name}_replay ${F_SOURCES} ${CMAKE_SOURCE_DIR}/fuzz/replay.cpp)
  target_link_libraries(${name}_replay PRIVATE ${F_LIBS})
  target_include_directories(${name}_replay PRIVATE ${CMAKE_SOURCE_DIR}/fuzz)
  add_dependencies(${name}_replay ${name}_seeds)
  add_test(NAME ${name}_replay COMMAND ${name}_replay ${F_SEEDS} ${gen}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  set_tests_properties(${name}_replay PROPERTIES TIMEOUT 60)
  if(TX_FUZZ)
    add_executable(${name} ${F_SOURCES})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${name} PRIVATE ${F_LIBS})
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/fuzz)
    add_dependencies(${name} ${name}_seeds)
    set_property(GLOBAL APPEND PROPERTY TX_FUZZ_TARGETS "${name} ${F_SEEDS} ${gen}")
  endif()
endfunction()
