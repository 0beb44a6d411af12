# The TAMBRIX program (Windows builds only), and its scenario-harness build
# that the win64 tests run under Wine.
set(tambrix_res ${CMAKE_CURRENT_BINARY_DIR}/res)
set(tambrix_pictures
  ${tambrix_res}/picture.bmp ${tambrix_res}/main.ico ${tambrix_res}/prjframe.ico
  ${tambrix_res}/bas.ico ${tambrix_res}/prj.ico ${tambrix_res}/rc.ico ${tambrix_res}/sub.ico
  ${tambrix_res}/bet.ico ${tambrix_res}/lib.ico ${tambrix_res}/obj.ico ${tambrix_res}/dbg.ico
  ${tambrix_res}/other.ico ${tambrix_res}/select.cur ${tambrix_res}/move.cur
  ${tambrix_res}/layout.cur ${tambrix_res}/copypaste.cur
  ${tambrix_res}/stdbar.bmp ${tambrix_res}/stdbar_s.bmp ${tambrix_res}/toolbox.bmp
  ${tambrix_res}/toolbox_s.bmp ${tambrix_res}/debugbar.bmp)
add_custom_command(OUTPUT ${tambrix_pictures}
  COMMAND python3 ${CMAKE_CURRENT_SOURCE_DIR}/res/mkres.py ${tambrix_res}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/res/mkres.py VERBATIM)
add_custom_target(tambrix_pictures DEPENDS ${tambrix_pictures})

# One library per window folder; each sees its own headers and the shell's
# interface (api/), and the project UI's where ide/README.md allows it. The
# shell sees them all: it creates their windows.
set(tambrix_api ${CMAKE_CURRENT_SOURCE_DIR}/api)
set(tambrix_project_ui ${PROJECT_SOURCE_DIR}/ide/project/ui)
set(tambrix_designer_ui ${PROJECT_SOURCE_DIR}/ide/designer/ui)
set(tambrix_debugger_ui ${PROJECT_SOURCE_DIR}/ide/debugger/ui)
set(tambrix_ui_links txfw tambrix_core txproject)

add_library(tambrix_project_ui STATIC
  ${tambrix_project_ui}/prjwin.cpp ${tambrix_project_ui}/prjdoc.cpp
  ${tambrix_project_ui}/prjerr.cpp ${tambrix_project_ui}/buildrun.cpp ${tambrix_project_ui}/builddlg.cpp
  ${tambrix_project_ui}/prjtree.cpp ${tambrix_project_ui}/cmpopt.cpp
  ${tambrix_project_ui}/migrate.cpp ${tambrix_project_ui}/wizard.cpp ${tambrix_project_ui}/envdlg.cpp
  ${tambrix_project_ui}/prjtexts.cpp ${tambrix_project_ui}/betedit.cpp ${tambrix_project_ui}/prjsheet.cpp)
tx_cp932(${tambrix_project_ui}/prjtexts.cpp)
target_include_directories(tambrix_project_ui PUBLIC ${tambrix_project_ui} ${tambrix_api})
# The migration commands call the converter through its header.
target_link_libraries(tambrix_project_ui PUBLIC ${tambrix_ui_links} tq70bcnv_header)

add_library(tambrix_designer_ui STATIC
  ${tambrix_designer_ui}/dsghost.cpp ${tambrix_designer_ui}/dsgform.cpp ${tambrix_designer_ui}/dsgbmpbtn.cpp
  ${tambrix_designer_ui}/rcdoc.cpp ${tambrix_designer_ui}/dsgcmd.cpp ${tambrix_designer_ui}/dsgclip.cpp
  ${tambrix_designer_ui}/dsgarrange.cpp ${tambrix_designer_ui}/dsgtaborder.cpp ${tambrix_designer_ui}/dsgmenuedit.cpp
  ${tambrix_designer_ui}/propwnd.cpp ${tambrix_designer_ui}/dsgcode.cpp ${tambrix_designer_ui}/dsgkeys.cpp)
target_include_directories(tambrix_designer_ui PUBLIC ${tambrix_designer_ui} ${tambrix_api})
target_link_libraries(tambrix_designer_ui PUBLIC ${tambrix_ui_links} txdesigner tambrix_project_ui)

add_library(tambrix_debugger_ui STATIC
  ${tambrix_debugger_ui}/dbgsession.cpp ${tambrix_debugger_ui}/dbgprj.cpp
  ${tambrix_debugger_ui}/dbgdlgs.cpp ${tambrix_debugger_ui}/dbgwatch.cpp)
target_include_directories(tambrix_debugger_ui PUBLIC ${tambrix_debugger_ui} ${tambrix_api})
target_link_libraries(tambrix_debugger_ui PUBLIC ${tambrix_ui_links} txdebug_win32 txpp tambrix_project_ui)

set(tambrix_sources
  ideapp.cpp ideservices.cpp idehelpers.cpp mainfrm.cpp mainbars.cpp toolbars.cpp prjframe.cpp prjfind.cpp prjframecmds.cpp procstart.cpp jumpdlgs.cpp mainfile.cpp printsrc.cpp splash.cpp libwnd.cpp neighbours.cpp
  editdoc.cpp editframe.cpp editview.cpp optedit.cpp optsheet.cpp smalldlgs.cpp colorctl.cpp)
# windres runs on its own: the project's compile options are not its.
set(tambrix_rc ${CMAKE_CURRENT_BINARY_DIR}/tambrix_res.o)
add_custom_command(OUTPUT ${tambrix_rc}
  COMMAND ${CMAKE_RC_COMPILER} -I ${CMAKE_CURRENT_SOURCE_DIR} -I ${tambrix_api} -I ${PROJECT_SOURCE_DIR}/framework/win
          -I ${tambrix_res} -I ${CMAKE_CURRENT_SOURCE_DIR}/res -I ${PROJECT_SOURCE_DIR}/ide/debugger/ui -I ${PROJECT_SOURCE_DIR}/ide/project/ui -I ${PROJECT_SOURCE_DIR}/ide/designer/ui -O coff ${CMAKE_CURRENT_SOURCE_DIR}/res/tambrix.rc -o ${tambrix_rc}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/res/tambrix.rc ${CMAKE_CURRENT_SOURCE_DIR}/res/options.rc ${CMAKE_CURRENT_SOURCE_DIR}/res/editor.rc ${CMAKE_CURRENT_SOURCE_DIR}/res/commands.rc
          ${PROJECT_SOURCE_DIR}/ide/debugger/ui/debugger.rc ${PROJECT_SOURCE_DIR}/ide/debugger/ui/watch.bmp ${PROJECT_SOURCE_DIR}/ide/project/ui/project.rc
          ${PROJECT_SOURCE_DIR}/ide/designer/ui/designer.rc
          ${CMAKE_CURRENT_SOURCE_DIR}/resource.h ${tambrix_api}/shellids.h
          ${PROJECT_SOURCE_DIR}/framework/win/fwres.rc ${PROJECT_SOURCE_DIR}/framework/win/fwres.h
          ${tambrix_pictures}
  VERBATIM)

add_library(tambrix_shell STATIC ${tambrix_sources})
target_include_directories(tambrix_shell PUBLIC ${CMAKE_CURRENT_SOURCE_DIR} ${tambrix_api})
target_link_libraries(tambrix_shell PUBLIC tambrix_project_ui tambrix_designer_ui tambrix_debugger_ui)
# The line checkers are the outside libraries TXPP and TXSCL, bound by import.
target_link_libraries(tambrix_shell PUBLIC txfw tambrix_core txpp txscl txproject tq70bcnv_header)

function(tambrix_program target)
  add_executable(${target} ${ARGN} ${tambrix_rc})
  # The window libraries' objects must all be in: nothing references the
  # dynamically created classes by name, and they call each other both ways
  # (the shell creates the UIs' windows, the UIs call the shell's services).
  target_link_libraries(${target} PRIVATE -Wl,--whole-archive tambrix_shell tambrix_project_ui tambrix_designer_ui
    tambrix_debugger_ui -Wl,--no-whole-archive
    txfw tambrix_core txfwcore txpp txscl txproject txdesigner)
endfunction()

tambrix_program(tambrix main.cpp)
set_target_properties(tambrix PROPERTIES OUTPUT_NAME TAMBRIX SUFFIX ".EXE" WIN32_EXECUTABLE ON)

if(TX_BUILD_TESTS)
  include(harness/harness.cmake)
endif()
