# The folders are the architecture. Each source folder's CMakeLists.txt calls vt_layer(<folders>...) with
# the folders it may use directly; it may also use whatever those may use (an arrow reaches everything
# below it). The README's picture draws these arrows. The arrows are written to layers.txt in the build
# folder, and the test "layers" (tests/layerCheck.py) reads the compiler's own record of the headers each
# object included (ninja's dependency log): a header of a folder the arrows do not reach fails the tests,
# whatever the spelling of its include. No source file is read at configure time. The core's freedom
# from Qt is held apart, by the core's targets never getting Qt's include paths.
set(VT_LAYERS_FILE ${CMAKE_BINARY_DIR}/layers.txt)
file(WRITE ${VT_LAYERS_FILE} "")

function(vt_layer)
    file(RELATIVE_PATH self ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
    string(JOIN " " uses ${ARGN})
    file(APPEND ${VT_LAYERS_FILE} "${self}: ${uses}\n")
endfunction()
