# TAMBRIX_TEST.EXE: the program with the scenario harness in place of its
# entry, a console program so its lines reach CTest.
tambrix_program(tambrix_test harness/harness.cpp)
target_compile_definitions(tambrix_test PRIVATE TX_IDE_HARNESS
  TX_FORM_HEADER="${PROJECT_SOURCE_DIR}/ide/designer/include/tq70form.h"
  TX_FORMS_EXAMPLE="${PROJECT_SOURCE_DIR}/examples/designer/FORMS.RC")
# The designer scenario opens scripts through our RC beside the harness.
add_dependencies(tambrix_test rc)
set_target_properties(tambrix_test PROPERTIES OUTPUT_NAME TAMBRIX_TEST SUFFIX ".EXE")
target_include_directories(tambrix_test PRIVATE ${PROJECT_SOURCE_DIR}/framework/win/tests)
target_link_options(tambrix_test PRIVATE -mconsole)

# The error-text library's stand-in (outside/msgtext) lies in the folder
# the seeded installation folder names.
add_dependencies(tambrix_test tq70re63)

if(CMAKE_CROSSCOMPILING)
  # The debug scenario debugs the debugger's own test debuggee.
  add_dependencies(tambrix_test fake_debuggee txprobe tq70bcnv)
  target_compile_definitions(tambrix_test PRIVATE TX_FAKE_DEBUGGEE="$<TARGET_FILE:fake_debuggee>")
  target_include_directories(tambrix_test PRIVATE ${PROJECT_SOURCE_DIR}/ide/debugger/tests)
  foreach(scenario startup damaged nomachine editor bars barsfloat debug designer commands designerprop designerkeys designerlive prjwin)
    set(args /scenario:${scenario})
    if(scenario STREQUAL "damaged")
      list(APPEND args /nologo CMDLINE.LIB)
    endif()
    add_test(NAME tambrix_${scenario} COMMAND tambrix_test ${args})
    tx_wine_test(tambrix_${scenario})
    # Scenarios type into the one Wine desktop (the editor's insert-mode
    # sync sends a real key): one at a time, so none takes another's focus.
    set_tests_properties(tambrix_${scenario} PROPERTIES TIMEOUT 120 RESOURCE_LOCK wine_focus
      PASS_REGULAR_EXPRESSION "RESULT PASS" FAIL_REGULAR_EXPRESSION "FAIL")
  endforeach()

  # The build scenario needs an installation of our tools and the native
  # build's runtime libraries and basrun.
  add_test(NAME tambrix_build COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/harness/build_scenario.sh
    ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh ${PROJECT_SOURCE_DIR} ${CMAKE_BINARY_DIR} ${CMAKE_BINARY_DIR}/../native)
  tx_wine_test(tambrix_build)
  set_tests_properties(tambrix_build PROPERTIES TIMEOUT 300 RESOURCE_LOCK wine_focus
    PASS_REGULAR_EXPRESSION "RESULT PASS" FAIL_REGULAR_EXPRESSION "FAIL")
  # The designer scenario starts a second IDE that pastes what it copied.
  set_tests_properties(tambrix_designer PROPERTIES TIMEOUT 240)
endif()
