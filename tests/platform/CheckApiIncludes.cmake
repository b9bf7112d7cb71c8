# Fails when a layer above the platform includes a service's internal header. Internal headers
# are the ones whose names start with a capital letter (see platform/README.md).
# Run as: cmake -DSOURCE_DIR=<top of the tree> -P CheckApiIncludes.cmake
set(offenders "")
foreach(folder app about dialogs controls filectrl framework bench)
    file(GLOB_RECURSE sources "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
    foreach(source ${sources})
        file(STRINGS "${source}" lines REGEX "#include \"platform/[a-z]+/[A-Z]")
        foreach(line ${lines})
            file(RELATIVE_PATH name "${SOURCE_DIR}" "${source}")
            string(APPEND offenders "\n  ${name}: ${line}")
        endforeach()
    endforeach()
endforeach()
if(offenders)
    message(FATAL_ERROR "Internal platform headers included above the platform:${offenders}")
endif()
