# Benchmarks. Native: Google Benchmark against the system's libjpeg-turbo,
# optimised and without the sanitizers of the native build. Windows: a timed
# tool run under Wine (see bench/ThumbnailTiming.cpp).
if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  add_executable(pellix_thumb_timing bench/ThumbnailTiming.cpp)
  target_link_libraries(pellix_thumb_timing PRIVATE pellix_core psapi)
  # The whole batch of the main window, shown, against the plain decode.
  add_executable(pellix_gallery_timing bench/GalleryTiming.cpp ${rc})
  target_link_libraries(pellix_gallery_timing PRIVATE pellix_core psapi)
else()
  find_package(benchmark QUIET)
  find_package(JPEG QUIET)
  if(benchmark_FOUND AND JPEG_FOUND)
    add_executable(thumbnail_bench bench/ThumbnailBench.cpp
      app/thumbnail/HelperThreads.cpp app/thumbnail/Resample.cpp app/thumbnail/ThumbnailSize.cpp framework/JpegCodec.cpp framework/SysUtils.cpp)
    target_include_directories(thumbnail_bench PRIVATE ${CMAKE_SOURCE_DIR})
    target_compile_features(thumbnail_bench PRIVATE cxx_std_20)
    target_compile_options(thumbnail_bench PRIVATE -O2 -fno-sanitize=all)
    target_link_options(thumbnail_bench PRIVATE -fno-sanitize=all)
    target_link_libraries(thumbnail_bench PRIVATE benchmark::benchmark JPEG::JPEG)
  else()
    message(STATUS "thumbnail benchmark needs Google Benchmark and libjpeg: not built")
  endif()
endif()
