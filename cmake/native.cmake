# Native build: the portable units under AddressSanitizer and UndefinedBehaviorSanitizer,
# their tests, the build-time tools, and the fuzz targets (clang's libFuzzer).
set(PELLIX_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(-Wall -Wextra -g ${PELLIX_SANITIZE})
add_link_options(${PELLIX_SANITIZE})
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  set(PELLIX_FUZZ ON)
  # Coverage for the fuzzer in every unit it may reach.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

pellix_add_portable_library()

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest googletest EXCLUDE_FROM_ALL)

include(GoogleTest)
add_executable(native_tests ${PELLIX_NATIVE_TEST_SOURCES})
target_link_libraries(native_tests PRIVATE pellix_portable GTest::gtest_main)
gtest_discover_tests(native_tests DISCOVERY_MODE PRE_TEST)

include(cmake/tools.cmake OPTIONAL)

# Each fuzz target also runs briefly as a test, from its seed corpus when it has one.
set(PELLIX_FUZZ_SECONDS 30 CACHE STRING "time each fuzz target runs as a test")
if(PELLIX_FUZZ)
  foreach(entry ${PELLIX_FUZZ_TARGETS})
    string(REPLACE "=" ";" parts ${entry})
    list(GET parts 0 name)
    list(GET parts 1 source)
    add_executable(${name} ${source})
    target_link_libraries(${name} PRIVATE pellix_portable)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    # New inputs go to a folder of the build; the committed seeds stay as they are.
    set(work ${CMAKE_BINARY_DIR}/fuzz-corpus/${name})
    file(MAKE_DIRECTORY ${work})
    set(seeds ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${name})
    if(NOT EXISTS ${seeds})
      set(seeds)
    endif()
    add_test(NAME ${name} COMMAND ${name} -max_total_time=${PELLIX_FUZZ_SECONDS} -rss_limit_mb=1024 ${work} ${seeds})
    set_tests_properties(${name} PROPERTIES LABELS fuzz)
  endforeach()
else()
  message(STATUS "fuzz targets need clang: not built")
endif()
