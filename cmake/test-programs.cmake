# Programs and libraries the tests start or load, besides the test executables.

target_link_libraries(pellix_e2e PRIVATE pellix_core)
add_executable(pellix_notepad_stand_in tests/e2e/RecordingNotepad.cpp)
add_dependencies(pellix_e2e pellix_notepad_stand_in)

add_executable(pellix_record_arguments tests/app/RecordArguments.cpp)
target_link_libraries(pellix_record_arguments PRIVATE shell32)
set_target_properties(pellix_record_arguments PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/test-programs)

add_library(pellix_fake_mapi32 SHARED tests/app/FakeMapi32.c)
set_target_properties(pellix_fake_mapi32 PROPERTIES
  OUTPUT_NAME mapi32 PREFIX ""
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fake-mapi32
  ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fake-mapi32)

add_dependencies(pellix_tests pellix_record_arguments pellix_fake_mapi32)
