# cmake -DFILE=<path> -P create_if_absent.cmake: an empty file, only where none exists.
if(NOT EXISTS "${FILE}")
    file(WRITE "${FILE}" "")
endif()
