# Settings every project target shares: language level, warnings as errors, Qt string flags.
add_library(kestrin_options INTERFACE)
target_compile_features(kestrin_options INTERFACE cxx_std_20)
# The one include root: every include names its folder, "data/tables/CPPER.h".
target_include_directories(kestrin_options INTERFACE "${PROJECT_SOURCE_DIR}")
target_compile_options(kestrin_options INTERFACE -Wall -Wextra -Wpedantic -Werror)
# Only the shared libraries a program calls are loaded at its start, and the linker's tables are
# made for a quick load.
target_link_options(kestrin_options INTERFACE LINKER:--as-needed LINKER:-O1)
target_compile_definitions(kestrin_options INTERFACE QT_NO_CAST_FROM_ASCII QT_USE_QSTRINGBUILDER
                                                     QT_NO_CAST_TO_ASCII)

option(KESTRIN_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(KESTRIN_SANITIZE)
    target_compile_options(kestrin_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer)
    target_link_options(kestrin_options INTERFACE -fsanitize=address,undefined)
endif()

# Where the build stages an installation root: one folder per program beside database/, skin/, help/.
set(KESTRIN_STAGE_DIR "${CMAKE_BINARY_DIR}/stage" CACHE PATH "Staged installation root")

# A library of project code: its sources, the libraries it links publicly, the project's settings.
function(kestrin_library target)
    cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC;PRIVATE" ${ARGN})
    add_library(${target} STATIC ${ARG_SOURCES})
    target_link_libraries(${target} PUBLIC kestrin_options ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE})
endfunction()

# The folder of the run-time modules in the staged root, beside the program folders.
set(KESTRIN_MODULE_DIR "${KESTRIN_STAGE_DIR}/modules")

# A run-time module: a shared library the programs load on first use of what it offers. It is
# built with hidden symbols apart from its plugin entry points.
function(kestrin_module target)
    cmake_parse_arguments(ARG "" "" "SOURCES;PRIVATE" ${ARGN})
    add_library(${target} MODULE ${ARG_SOURCES})
    target_link_libraries(${target} PRIVATE kestrin_options ${ARG_PRIVATE})
    set_target_properties(${target} PROPERTIES LIBRARY_OUTPUT_DIRECTORY "${KESTRIN_MODULE_DIR}"
        CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
endfunction()

# Puts a program into its folder of the staged root, e.g. stage/health/health.
function(kestrin_program target folder)
    target_link_libraries(${target} PRIVATE kestrin_options)
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${KESTRIN_STAGE_DIR}/${folder}")
endfunction()

# Adds a Qt Test executable run headless by CTest, with a label (unit, db, gui). Tests register
# data sources in a file of their own and keep thumbnails in a cache of their own, never in the user's.
function(kestrin_add_test name label)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE kestrin_options kestrin_test_support ${ARG_LIBS})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES LABELS "${label}"
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANG=C.UTF-8;KESTRIN_MODULE_DIR=${KESTRIN_MODULE_DIR};KESTRIN_SOURCE_DIR=${PROJECT_SOURCE_DIR};ODBCINI=${CMAKE_CURRENT_BINARY_DIR}/${name}.odbc.ini;XDG_CACHE_HOME=${CMAKE_CURRENT_BINARY_DIR}/${name}.cache")
endfunction()
