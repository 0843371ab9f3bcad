# The folders are the architecture: each source folder may include only the folders below it, as the
# README's picture shows. vt_layer(<folders it may include>...) is called by each source folder's
# CMakeLists.txt and refuses, at configure time, an include of any other folder of the project; the
# configuration runs again when one of its files changes. The core's freedom from Qt is held apart, by
# the core's targets never getting Qt's include paths.
set(VT_SOURCE_FOLDERS core/platform core/storage core/exercise core/lessons core/report tools/artwork windows/glue windows/widgets
    windows/course windows/report modules/print modules/sound programs/velotecla programs/velotecla-relatorio)

function(vt_layer)
    file(RELATIVE_PATH self ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    foreach(source ${sources})
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
        file(STRINGS ${source} includes REGEX "^#include \"[a-z]+/")
        foreach(line ${includes})
            # The teachers' tools share a header at the top of tools/.
            if(self MATCHES "^tools/" AND line MATCHES "^#include \"tools/[A-Za-z]+\\.h\"")
                continue()
            endif()
            string(REGEX MATCH "^#include \"([a-z]+/[a-z-]+)/" folder "${line}")
            set(folder ${CMAKE_MATCH_1})
            if(folder STREQUAL self OR folder IN_LIST ARGN)
                continue()
            endif()
            if(NOT folder IN_LIST VT_SOURCE_FOLDERS)
                message(FATAL_ERROR "${source}: ${line} names no source folder of the project")
            endif()
            message(FATAL_ERROR "${source}: ${line} — ${self} may use only: ${ARGN}")
        endforeach()
    endforeach()
endfunction()
