# Portable units: no <windows.h>. Each list grows with the units that are added.
set(PELLIX_PORTABLE_SOURCES
  framework/Classes.cpp
  framework/FormText.cpp
  framework/SysUtils.cpp
)

# Tests of the portable units, run natively under the sanitizers.
set(PELLIX_NATIVE_TEST_SOURCES
  tests/framework/FormTextTest.cpp
)

# One libFuzzer target per reader of outside bytes: name=source.
set(PELLIX_FUZZ_TARGETS
  fuzz_form_text=tests/fuzz/FormTextFuzz.cpp
)

# Made by each build after its own flags are set.
function(pellix_add_portable_library)
  add_library(pellix_portable STATIC ${PELLIX_PORTABLE_SOURCES})
  target_include_directories(pellix_portable PUBLIC ${CMAKE_SOURCE_DIR})
endfunction()

# Thumbnails: resampler arithmetic and the size rule.
list(APPEND PELLIX_PORTABLE_SOURCES app/thumbnail/HelperThreads.cpp app/thumbnail/Resample.cpp app/thumbnail/ThumbnailSize.cpp)
list(APPEND PELLIX_NATIVE_TEST_SOURCES tests/app/HelperThreadsTest.cpp tests/app/ResampleTest.cpp tests/app/ThumbnailSizeTest.cpp)

# Skin archives: LZHUF decoder and archive reader, with the streams and string list they use.
list(APPEND PELLIX_PORTABLE_SOURCES framework/Streams.cpp framework/Strings.cpp skin/WinConvert.cpp skin/SkinRead.cpp)
list(APPEND PELLIX_NATIVE_TEST_SOURCES tests/framework/StreamsTest.cpp tests/framework/StringsTest.cpp
  tests/skin/WinConvertTest.cpp tests/skin/SkinReadTest.cpp tests/tools/SkinArchiveWriterTest.cpp)
list(APPEND PELLIX_FUZZ_TARGETS fuzz_lzhuf_decode=tests/fuzz/LzhufDecodeFuzz.cpp
  fuzz_skin_archive=tests/fuzz/SkinArchiveFuzz.cpp)

# Skin settings text: profile-file rules read from memory, and colour texts.
list(APPEND PELLIX_PORTABLE_SOURCES skin/SkinIni.cpp)
list(APPEND PELLIX_NATIVE_TEST_SOURCES tests/skin/SkinIniTest.cpp)
list(APPEND PELLIX_FUZZ_TARGETS fuzz_skin_ini=tests/fuzz/SkinIniFuzz.cpp)
