# cmake -DSOURCE=<folder> -DDEST=<folder> -P copy_if_absent.cmake: every file below
# SOURCE copied to the same place below DEST, only where no such file exists yet.
file(GLOB_RECURSE files RELATIVE "${SOURCE}" "${SOURCE}/*")
foreach(file IN LISTS files)
    if(NOT EXISTS "${DEST}/${file}")
        get_filename_component(folder "${DEST}/${file}" DIRECTORY)
        file(MAKE_DIRECTORY "${folder}")
        file(COPY_FILE "${SOURCE}/${file}" "${DEST}/${file}")
    endif()
endforeach()
