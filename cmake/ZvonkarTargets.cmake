# Common settings of every target of the project: warnings on, sanitizers when asked.
add_library(zvonkar_options INTERFACE)
target_compile_options(zvonkar_options INTERFACE -Wall -Wextra)
target_compile_definitions(zvonkar_options INTERFACE QT_NO_KEYWORDS)
if(ZVONKAR_SANITIZE)
    target_compile_options(zvonkar_options INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(zvonkar_options INTERFACE -fsanitize=address,undefined)
endif()

# zvonkar_library(name SOURCES... [DEPS ...]) declares the static library of one folder.
# A folder without sources yet still gives a target, so that dependants link.
function(zvonkar_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    list(FILTER ARG_SOURCES INCLUDE REGEX "\\.(cpp|h)$")
    set(cpp ${ARG_SOURCES})
    list(FILTER cpp INCLUDE REGEX "\\.cpp$")
    if(cpp)
        add_library(${name} STATIC ${ARG_SOURCES})
        target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} PUBLIC zvonkar_options ${ARG_DEPS})
    else()
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} INTERFACE zvonkar_options ${ARG_DEPS})
    endif()
endfunction()

# zvonkar_test(name SOURCES... DEPS ...) declares one test binary of a folder of tests/,
# run by CTest case by case.
function(zvonkar_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    if(NOT ARG_SOURCES)
        return()
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE zvonkar_testsupport ${ARG_DEPS})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    # Where tests find the source tree and the program's own folder in the build tree.
    target_compile_definitions(${name} PRIVATE ZVONKAR_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        ZVONKAR_RUNTIME_DIR="${ZVONKAR_RUNTIME_DIR}")
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;SDL_AUDIODRIVER=dummy;LC_ALL=C.UTF-8")
endfunction()
