# tx_version_resource(target MODULE FILENAME APP|DLL)
#   Gives a Windows deliverable its version resource: the values of
#   compiler/common/txversion.h, the description TX_DESCRIPTION_<MODULE>.
#   Does nothing natively, where the programs take the same values from the
#   header itself.

if(WIN32)
  enable_language(RC)
endif()

function(tx_version_resource target module filename kind)
  if(NOT WIN32)
    return()
  endif()
  if(kind STREQUAL "APP")
    set(filetype 0x1)
  else()
    set(filetype 0x2)
  endif()
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  file(CONFIGURE OUTPUT ${rc} CONTENT
"#define TX_MODULE_DESCRIPTION TX_DESCRIPTION_${module}
#define TX_MODULE_FILENAME \"${filename}\"
#define TX_MODULE_FILETYPE ${filetype}
#include \"${PROJECT_SOURCE_DIR}/compiler/common/txversion.rc\"
")
  target_sources(${target} PRIVATE ${rc})
  set_property(SOURCE ${rc} APPEND PROPERTY OBJECT_DEPENDS
    ${PROJECT_SOURCE_DIR}/compiler/common/txversion.rc
    ${PROJECT_SOURCE_DIR}/compiler/common/txversion.h)
endfunction()
