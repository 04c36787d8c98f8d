# Quellmark's skin for a cross build: the generator and skinpack are compiled
# with the build machine's compiler and run at build time, the way the artwork
# generator is. Include this from a Windows build's CMakeLists. It provides
#   QM_SKIN_FILE     the stored form of the skin (32-bit little-endian count,
#                    then the packed archive), what SkinData1's SkinStream holds
#   quellmark_skin   the target that makes it
# A native build makes the same file in tools/skingen/CMakeLists.txt.
if(TARGET quellmark_skin)
  return()
endif()

find_program(QM_HOST_CXX NAMES c++ g++ NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(host_skin_dir "${CMAKE_BINARY_DIR}/skins")
set(host_skingen "${host_skin_dir}/host/skingen")
set(host_skinpack "${host_skin_dir}/host/skinpack")

file(GLOB host_skingen_sources CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tools/skingen/*.cpp")
file(GLOB host_skingen_headers CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tools/skingen/*.h")
add_custom_command(OUTPUT "${host_skingen}"
  COMMAND ${CMAKE_COMMAND} -E make_directory "${host_skin_dir}/host"
  COMMAND ${QM_HOST_CXX} -std=c++20 -O2 -Wall -Wextra -Werror ${host_skingen_sources} -o "${host_skingen}"
  DEPENDS ${host_skingen_sources} ${host_skingen_headers}
  COMMENT "Building the skin generator (host)")

# Packing needs only the archive units of skin/archive.
set(host_skinpack_sources
  "${CMAKE_SOURCE_DIR}/tools/skinpack/main.cpp"
  "${CMAKE_SOURCE_DIR}/tools/skinpack/Bitmap24.cpp"
  "${CMAKE_SOURCE_DIR}/tools/skinpack/SkinFolder.cpp"
  "${CMAKE_SOURCE_DIR}/skin/archive/SkinArchive.cpp"
  "${CMAKE_SOURCE_DIR}/skin/archive/SkinText.cpp"
  "${CMAKE_SOURCE_DIR}/skin/archive/WinConvert.cpp"
  "${CMAKE_SOURCE_DIR}/skin/archive/Streams.cpp")
file(GLOB host_skinpack_headers CONFIGURE_DEPENDS
  "${CMAKE_SOURCE_DIR}/tools/skinpack/*.h" "${CMAKE_SOURCE_DIR}/skin/archive/*.h")
add_custom_command(OUTPUT "${host_skinpack}"
  COMMAND ${CMAKE_COMMAND} -E make_directory "${host_skin_dir}/host"
  COMMAND ${QM_HOST_CXX} -std=c++20 -O2 -Wall -Wextra -Werror -I "${CMAKE_SOURCE_DIR}" ${host_skinpack_sources}
          -o "${host_skinpack}"
  DEPENDS ${host_skinpack_sources} ${host_skinpack_headers}
  COMMENT "Building skinpack (host)")

set(QM_SKIN_FILE "${host_skin_dir}/quellmark.skin" CACHE INTERNAL "The stored form of Quellmark's skin")
add_custom_command(OUTPUT "${QM_SKIN_FILE}"
  COMMAND ${CMAKE_COMMAND} -E rm -rf "${host_skin_dir}/quellmark"
  COMMAND "${host_skingen}" "${host_skin_dir}/quellmark" --variant main
  COMMAND "${host_skinpack}" --stored pack "${host_skin_dir}/quellmark" "${QM_SKIN_FILE}"
  DEPENDS "${host_skingen}" "${host_skinpack}"
  COMMENT "Drawing and packing Quellmark's skin")
add_custom_target(quellmark_skin DEPENDS "${QM_SKIN_FILE}")
