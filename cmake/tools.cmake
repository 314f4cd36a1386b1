# Build-time tools of the native build: the skin packer.
add_library(skinpack_lib STATIC tools/skinpack/LzhufEncoder.cpp tools/skinpack/SkinArchiveWriter.cpp)
target_link_libraries(skinpack_lib PUBLIC pellix_portable)
# The match search is the hot loop of every skin build and of the round-trip tests.
target_compile_options(skinpack_lib PRIVATE -O2)

add_executable(skinpack tools/skinpack/SkinPack.cpp)
target_link_libraries(skinpack PRIVATE skinpack_lib)

# Round trips and reader fixtures are made by the packer.
target_link_libraries(native_tests PRIVATE skinpack_lib)

set(skinpack_data ${CMAKE_SOURCE_DIR}/tests/tools/data)
add_test(NAME skinpack_cli COMMAND skinpack ${CMAKE_BINARY_DIR}/skinpack-test.skn
  ${skinpack_data}/skin.ini ${skinpack_data}/button.bmp)
add_test(NAME skinpack_cli_refuses_skin_without_settings COMMAND skinpack ${CMAKE_BINARY_DIR}/skinpack-refused.skn
  ${skinpack_data}/button.bmp)
set_tests_properties(skinpack_cli_refuses_skin_without_settings PROPERTIES
  PASS_REGULAR_EXPRESSION "skinpack: a skin needs exactly one entry")

# Fuzz targets that need the packer: made by the common loop, linked once it has run.
list(APPEND PELLIX_FUZZ_TARGETS fuzz_lzhuf_round_trip=tests/fuzz/LzhufRoundTripFuzz.cpp
  fuzz_skin_layout=tests/fuzz/SkinLayoutFuzz.cpp)
if(PELLIX_FUZZ)
  cmake_language(DEFER CALL target_link_libraries fuzz_lzhuf_round_trip PRIVATE skinpack_lib)
  cmake_language(DEFER CALL target_link_libraries fuzz_skin_layout PRIVATE skinpack_lib)
endif()

# The skin painter: the program's own skins and the tests' skins.
add_library(skinpaint_lib STATIC tools/skinpaint/Raster.cpp tools/skinpaint/SkinBuilder.cpp
  tools/skinpaint/TestSkins.cpp tools/skinpaint/ThemeSkins.cpp tools/skinpaint/SkinPreview.cpp)
target_link_libraries(skinpaint_lib PUBLIC skinpack_lib)
target_compile_options(skinpaint_lib PRIVATE -O2)

add_executable(skinpaint tools/skinpaint/SkinPaint.cpp)
target_link_libraries(skinpaint PRIVATE skinpaint_lib)
# Paints every skin and preview; each archive is read back before it is written.
add_test(NAME skinpaint_cli COMMAND skinpaint ${CMAKE_BINARY_DIR}/skinpaint-test ${CMAKE_BINARY_DIR}/skinpaint-test/previews)

# The committed archives are compared with what the painter makes.
target_sources(native_tests PRIVATE tests/tools/TestSkinsTest.cpp tests/tools/BuiltinSkinsTest.cpp)
target_link_libraries(native_tests PRIVATE skinpaint_lib)
target_compile_definitions(native_tests PRIVATE PELLIX_SKIN_DATA_DIR="${CMAKE_SOURCE_DIR}/forms/data")
