# Windows build: pellix.exe and the test executables, run under Wine by CTest.
include(cmake/windows-sources.cmake)

set(PELLIX_THIRDPARTY ${CMAKE_SOURCE_DIR}/.cache/thirdparty CACHE PATH "static mingw builds of the picture libraries")
list(APPEND CMAKE_FIND_ROOT_PATH ${PELLIX_THIRDPARTY})
list(APPEND CMAKE_PREFIX_PATH ${PELLIX_THIRDPARTY})
find_package(JPEG REQUIRED)
find_package(PNG REQUIRED)
find_package(GIF REQUIRED)

add_compile_options(-Wall -Wextra -O2 -g1)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX STRICT _WIN32_WINNT=0x0601 WINVER=0x0601)
add_link_options(-static -static-libgcc -static-libstdc++)

# Resource script: the manifest and every form description, by class name.
set(rc ${CMAKE_BINARY_DIR}/pellix_resources.rc)
set(rc_text "#include <windows.h>\n1 24 \"${CMAKE_SOURCE_DIR}/app/pellix.manifest\"\n")
foreach(form ${PELLIX_FORMS})
  get_filename_component(formName ${form} NAME_WE)
  string(TOUPPER ${formName} resName)
  string(APPEND rc_text "${resName} RCDATA \"${CMAKE_SOURCE_DIR}/${form}\"\n")
endforeach()
file(GLOB form_binaries CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/forms/data/*)
foreach(bin ${form_binaries})
  get_filename_component(binName ${bin} NAME)
  string(TOUPPER ${binName} resName)
  string(REPLACE "." "_" resName ${resName})
  string(APPEND rc_text "${resName} RCDATA \"${bin}\"\n")
endforeach()
file(GENERATE OUTPUT ${rc} CONTENT "${rc_text}")
list(TRANSFORM PELLIX_FORMS PREPEND ${CMAKE_SOURCE_DIR}/ OUTPUT_VARIABLE form_paths)
set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${form_paths};${form_binaries};${CMAKE_SOURCE_DIR}/app/pellix.manifest")

pellix_add_portable_library()
add_library(pellix_core STATIC ${PELLIX_WINDOWS_SOURCES})
target_include_directories(pellix_core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(pellix_core PUBLIC pellix_portable JPEG::JPEG PNG::PNG GIF::GIF
  comctl32 comdlg32 gdi32 user32 shell32 ole32 uuid advapi32 msimg32)

add_executable(pellix WIN32 app/Main.cpp ${rc})
target_link_libraries(pellix PRIVATE pellix_core)

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

add_executable(pellix_tests ${PELLIX_WINDOWS_TEST_SOURCES} tests/harness/TestMain.cpp tests/harness/SkinEngine.cpp ${rc})
target_link_libraries(pellix_tests PRIVATE pellix_core GTest::gtest)
gtest_discover_tests(pellix_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
  PROPERTIES RUN_SERIAL TRUE)

add_executable(pellix_e2e ${PELLIX_E2E_TEST_SOURCES} tests/harness/TestMain.cpp tests/harness/Program.cpp)
target_link_libraries(pellix_e2e PRIVATE GTest::gtest user32 gdi32 advapi32)
target_include_directories(pellix_e2e PRIVATE ${CMAKE_SOURCE_DIR})
add_dependencies(pellix_e2e pellix)
target_compile_definitions(pellix_e2e PRIVATE PELLIX_EXE_NAME="pellix.exe")
gtest_discover_tests(pellix_e2e DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
  TEST_FILTER "-DemoFolder.*"
  PROPERTIES RUN_SERIAL TRUE)

# The demo's sample pictures, made by the script run.sh uses, for the test
# that starts the program on them; removed again afterwards.
set(demo_samples ${CMAKE_BINARY_DIR}/demo-samples)
add_test(NAME demo_samples_made
  COMMAND bash -c "rm -rf \"$1\" && mkdir -p \"$1\" && bash \"$2\" \"$1/images\"" make
          ${demo_samples} ${CMAKE_SOURCE_DIR}/scripts/make-samples.sh)
add_test(NAME demo_samples_removed COMMAND ${CMAKE_COMMAND} -E rm -rf ${demo_samples})
set_tests_properties(demo_samples_made PROPERTIES FIXTURES_SETUP demo_samples)
set_tests_properties(demo_samples_removed PROPERTIES FIXTURES_CLEANUP demo_samples)
gtest_discover_tests(pellix_e2e DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
  TEST_FILTER "DemoFolder.*"
  PROPERTIES RUN_SERIAL TRUE FIXTURES_REQUIRED demo_samples)

include(cmake/test-programs.cmake)
