# Every dependency comes from Debian 12; a missing one names the package to install.
find_package(PkgConfig QUIET)

macro(orv_require_package name debian_package)
    find_package(${name} ${ARGN} QUIET)
    if(NOT ${name}_FOUND)
        message(FATAL_ERROR "${name} not found: install the Debian package ${debian_package}")
    endif()
endmacro()

orv_require_package(Qt6 qt6-base-dev COMPONENTS Core Gui Widgets Test)
orv_require_package(Threads libc6-dev)

if(ORV_BUILD_TESTS)
    orv_require_package(GTest "libgtest-dev googletest")
endif()
if(ORV_BUILD_BENCH)
    orv_require_package(benchmark libbenchmark-dev)
endif()
