# Every dependency comes from Debian 12; a missing one names the package to install.
find_package(PkgConfig QUIET)

macro(orv_require_package name debian_package)
    find_package(${name} ${ARGN} QUIET)
    if(NOT ${name}_FOUND)
        message(FATAL_ERROR "${name} not found: install the Debian package ${debian_package}")
    endif()
endmacro()

# A library found through pkg-config, as the imported target PkgConfig::<prefix>.
macro(orv_require_pkg_module prefix module debian_package)
    if(NOT PkgConfig_FOUND)
        message(FATAL_ERROR "pkg-config not found: install the Debian package pkg-config")
    endif()
    pkg_check_modules(${prefix} QUIET IMPORTED_TARGET ${module})
    if(NOT ${prefix}_FOUND)
        message(FATAL_ERROR "${module} not found: install the Debian package ${debian_package}")
    endif()
endmacro()

orv_require_package(Qt6 qt6-base-dev COMPONENTS Core Gui Widgets Test)
orv_require_package(Threads libc6-dev)

find_package(Qt6 QUIET COMPONENTS Multimedia)
if(NOT Qt6Multimedia_FOUND)
    message(FATAL_ERROR "Qt6 Multimedia not found: install the Debian package qt6-multimedia-dev")
endif()

orv_require_pkg_module(ORV_PNG libpng libpng-dev)
orv_require_pkg_module(ORV_JPEG libjpeg libjpeg-dev)
orv_require_pkg_module(ORV_OPENJPEG libopenjp2 libopenjp2-7-dev)
orv_require_pkg_module(ORV_CURL libcurl libcurl4-openssl-dev)

if(ORV_BUILD_TESTS)
    orv_require_package(GTest "libgtest-dev googletest")
endif()
if(ORV_BUILD_BENCH)
    orv_require_package(benchmark libbenchmark-dev)
endif()
