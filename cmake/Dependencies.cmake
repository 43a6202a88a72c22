# Third-party libraries. Native: Debian's libpng-dev and zlib1g-dev.
# Windows: zlib from Debian's MinGW package, libpng 1.6 built from Debian's
# source package (unpacked by scripts/setup.sh). Both end in target tovik2_png.

if(NOT WIN32)
  find_package(PNG 1.6 REQUIRED)
  find_package(ZLIB REQUIRED)
  add_library(tovik2_zlib INTERFACE)
  target_link_libraries(tovik2_zlib INTERFACE ZLIB::ZLIB)
  add_library(tovik2_png INTERFACE)
  target_link_libraries(tovik2_png INTERFACE PNG::PNG ZLIB::ZLIB)
  return()
endif()

# Name the static archive: find_package(ZLIB) would pick the import library.
find_library(TOVIK2_ZLIB_STATIC NAMES libz.a REQUIRED)
find_path(TOVIK2_ZLIB_INCLUDE zlib.h REQUIRED)
add_library(tovik2_zlib STATIC IMPORTED GLOBAL)
set_target_properties(tovik2_zlib PROPERTIES
  IMPORTED_LOCATION ${TOVIK2_ZLIB_STATIC}
  INTERFACE_INCLUDE_DIRECTORIES ${TOVIK2_ZLIB_INCLUDE})

set(TOVIK2_LIBPNG_SOURCE "" CACHE PATH "Unpacked Debian libpng1.6 source package")
if(NOT EXISTS "${TOVIK2_LIBPNG_SOURCE}/png.h")
  message(FATAL_ERROR "libpng source not found at '${TOVIK2_LIBPNG_SOURCE}': run scripts/setup.sh first")
endif()

set(PNG_SHARED OFF CACHE BOOL "" FORCE)
set(PNG_STATIC ON CACHE BOOL "" FORCE)
set(PNG_TESTS OFF CACHE BOOL "" FORCE)
set(PNG_EXECUTABLES OFF CACHE BOOL "" FORCE)
set(SKIP_INSTALL_ALL ON CACHE BOOL "" FORCE)
set(ZLIB_INCLUDE_DIR ${TOVIK2_ZLIB_INCLUDE} CACHE PATH "" FORCE)
set(ZLIB_LIBRARY ${TOVIK2_ZLIB_STATIC} CACHE FILEPATH "" FORCE)
set(CMAKE_POLICY_DEFAULT_CMP0077 NEW)
add_subdirectory(${TOVIK2_LIBPNG_SOURCE} ${CMAKE_BINARY_DIR}/deps/libpng EXCLUDE_FROM_ALL SYSTEM)

add_library(tovik2_png INTERFACE)
target_link_libraries(tovik2_png INTERFACE png_static tovik2_zlib)
target_include_directories(tovik2_png INTERFACE ${TOVIK2_LIBPNG_SOURCE} ${CMAKE_BINARY_DIR}/deps/libpng)
