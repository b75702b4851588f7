# Every third-party library, found once here. scripts/deps names the Debian
# packages that provide them.
set(THREADS_PREFER_PTHREAD_FLAG ON)
find_package(Threads REQUIRED)
find_package(PkgConfig REQUIRED)
find_package(SQLite3 REQUIRED)
find_package(pugixml REQUIRED)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
# The system bus client of platform/dbus (sd-bus).
pkg_check_modules(LIBSYSTEMD REQUIRED IMPORTED_TARGET libsystemd)
pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
find_package(PNG REQUIRED)
find_package(GIF REQUIRED)
find_package(httplib CONFIG QUIET)
# Debian ships cpp-httplib as a compiled library described by pkg-config.
pkg_check_modules(HTTPLIB QUIET IMPORTED_TARGET cpp-httplib)
if(BRANTEL_TESTS)
  find_package(GTest REQUIRED)
endif()
if(BRANTEL_BENCH)
  find_package(benchmark REQUIRED)
endif()
