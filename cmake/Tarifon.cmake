# Project-wide helpers: one library per src/ folder, one test binary per tests/ folder.

set(TARIFON_WARNINGS -Wall -Wextra -Wpedantic -Wno-missing-field-initializers)

# tarifon_library(<name> SOURCES ... [DEPS ...])
# Creates the static library tarifon_<name>; headers are included as "<name>/Header.h".
function(tarifon_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_library(tarifon_${name} STATIC ${ARG_SOURCES})
    target_include_directories(tarifon_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_compile_options(tarifon_${name} PRIVATE ${TARIFON_WARNINGS})
    target_link_libraries(tarifon_${name} PUBLIC ${ARG_DEPS})
endfunction()

# The locales every test runs under, with the prefix of its name: C, and the Russian locale
# our users have, so that no number in a file can follow the locale unnoticed.
set(TARIFON_TEST_LOCALES "C=C" "ru=ru_RU.UTF-8")

# tarifon_test(<name> SOURCES ... [DEPS ...] [QT])
# A GoogleTest binary; with QT it gets a main that starts an offscreen QApplication
# with the application fonts installed. Each test is registered once per test locale.
function(tarifon_test name)
    cmake_parse_arguments(ARG "QT" "" "SOURCES;DEPS" ${ARGN})
    if(NOT ARG_QT)
        list(APPEND ARG_SOURCES ${PROJECT_SOURCE_DIR}/tests/support/TestMain.cpp)
    endif()
    add_executable(test_${name} ${ARG_SOURCES})
    target_compile_options(test_${name} PRIVATE ${TARIFON_WARNINGS})
    target_compile_definitions(test_${name} PRIVATE
        TARIFON_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
        TARIFON_BUILD_DIR="${PROJECT_BINARY_DIR}")
    target_include_directories(test_${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    if(ARG_QT)
        target_link_libraries(test_${name} PRIVATE tarifon_testsupport_qt ${ARG_DEPS} GTest::gtest)
    else()
        target_link_libraries(test_${name} PRIVATE ${ARG_DEPS} GTest::gtest)
    endif()
    foreach(entry ${TARIFON_TEST_LOCALES})
        string(REPLACE "=" ";" entry "${entry}")
        list(GET entry 0 prefix)
        list(GET entry 1 locale)
        gtest_discover_tests(test_${name}
            TEST_PREFIX "${prefix}/"
            PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
                       ENVIRONMENT_MODIFICATION "LC_ALL=set:${locale}"
            DISCOVERY_TIMEOUT 60)
    endforeach()
endfunction()

# tarifon_bench(<name> [QT] SOURCES ... [DEPS ...])
# With QT the binary gets a main that starts an offscreen QApplication with the fonts installed.
function(tarifon_bench name)
    cmake_parse_arguments(ARG "QT" "" "SOURCES;DEPS" ${ARGN})
    if(ARG_QT)
        list(APPEND ARG_SOURCES ${PROJECT_SOURCE_DIR}/bench/support/QtBenchMain.cpp)
        list(APPEND ARG_DEPS tarifon_platform Qt6::Widgets)
    endif()
    add_executable(bench_${name} ${ARG_SOURCES})
    # Benchmarks build their reports with the tests' fixtures.
    target_include_directories(bench_${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_compile_options(bench_${name} PRIVATE ${TARIFON_WARNINGS})
    target_link_libraries(bench_${name} PRIVATE ${ARG_DEPS} benchmark::benchmark)
endfunction()
