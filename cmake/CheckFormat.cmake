# Fails when a C++ source of the tree differs from what clang-format makes of it (.clang-format at
# the root); where clang-format is not installed it says so and the test counts as skipped. The files are those git
# knows, tracked or new, as `make format` formats them; outside a git checkout every *.cpp and *.h.
# Run as: cmake -DSOURCE_DIR=<root> -P this file.
find_program(CLANG_FORMAT clang-format)
if(NOT CLANG_FORMAT)
    message(FATAL_ERROR "clang-format is not installed (scripts/install-deps installs it): format not checked")
endif()

find_package(Git QUIET)
set(listed 1)
if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} ls-files --cached --others --exclude-standard -- *.cpp *.h
        WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE listed OUTPUT_VARIABLE files ERROR_QUIET)
endif()
if(listed EQUAL 0)
    string(REGEX REPLACE "\n$" "" files "${files}")
    string(REPLACE "\n" ";" files "${files}")
else()
    file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.cpp ${SOURCE_DIR}/*.h)
    list(FILTER files EXCLUDE REGEX "^build")
endif()
# A file deleted but not yet committed is still listed by git.
set(existing "")
foreach(file ${files})
    if(EXISTS ${SOURCE_DIR}/${file})
        list(APPEND existing ${file})
    endif()
endforeach()
list(LENGTH existing count)
if(count EQUAL 0)
    message(FATAL_ERROR "no C++ sources found under ${SOURCE_DIR}")
endif()

execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${existing}
    WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "some of the ${count} sources are not formatted: run `make format`")
endif()
message("${count} sources formatted")
