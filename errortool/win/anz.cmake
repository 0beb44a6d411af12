# TXANZ60.EXE, and its scenario-harness build that the win64 tests run
# under Wine against a record seeded with reg add.
set(anz_win ${CMAKE_CURRENT_SOURCE_DIR}/win)
set(anz_rc ${CMAKE_CURRENT_BINARY_DIR}/txanz_res.o)
add_custom_command(OUTPUT ${anz_rc}
  COMMAND ${CMAKE_RC_COMPILER} -I ${anz_win} -I ${PROJECT_SOURCE_DIR}/framework/win
          -O coff ${anz_win}/txanz.rc -o ${anz_rc}
  DEPENDS ${anz_win}/txanz.rc ${anz_win}/resource.h ${PROJECT_SOURCE_DIR}/framework/win/fwres.rc
          ${PROJECT_SOURCE_DIR}/framework/win/fwres.h
  VERBATIM)

add_library(txanz_win STATIC ${anz_win}/anzapp.cpp)
target_include_directories(txanz_win PUBLIC ${anz_win})
target_link_libraries(txanz_win PUBLIC txfw txanz_core)
tx_cp932(${anz_win}/anzapp.cpp)

function(txanz_program target)
  add_executable(${target} ${ARGN} ${anz_rc})
  # Nothing names the dynamically created classes: keep all their objects.
  target_link_libraries(${target} PRIVATE -Wl,--whole-archive txanz_win -Wl,--no-whole-archive
    txfw txanz_core txfwcore)
endfunction()

txanz_program(txanz ${anz_win}/main.cpp)
set_target_properties(txanz PROPERTIES OUTPUT_NAME TXANZ60 SUFFIX ".EXE" WIN32_EXECUTABLE ON)

if(TX_BUILD_TESTS)
  txanz_program(txanz_test ${anz_win}/harness/anzharness.cpp)
  target_compile_definitions(txanz_test PRIVATE TX_ANZ_HARNESS)
  set_target_properties(txanz_test PROPERTIES OUTPUT_NAME TXANZ60_TEST SUFFIX ".EXE")
  target_include_directories(txanz_test PRIVATE ${PROJECT_SOURCE_DIR}/framework/win/tests)
  target_link_options(txanz_test PRIVATE -mconsole)
  tx_cp932(${anz_win}/harness/anzharness.cpp)
  add_dependencies(txanz_test tq70re63)
  if(CMAKE_CROSSCOMPILING)
    foreach(scenario nokey complete damaged nolibrary)
      add_test(NAME txanz_${scenario}
        COMMAND sh ${anz_win}/harness/anz_scenario.sh $<TARGET_FILE:txanz_test> ${scenario})
      tx_wine_test(txanz_${scenario})
      # The record is the one key under HKCU every scenario seeds.
      set_tests_properties(txanz_${scenario} PROPERTIES TIMEOUT 120 RESOURCE_LOCK "anz_record;wine_focus"
        PASS_REGULAR_EXPRESSION "RESULT PASS" FAIL_REGULAR_EXPRESSION "FAIL")
    endforeach()
  endif()
endif()
