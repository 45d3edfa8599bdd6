# Makes the installer packages the installer tests use, and empties their Wine prefix so that
# they start on a machine that has never seen Relingo:
#   Relingo-VERSION-ARCH.msi and Relingo-HIGHER-ARCH.msi (the same files at a higher version) in
#   OUTPUT_DIR.
# The package of VERSION is made a second time in another folder, and must come out the same
# bytes.
#   cmake -DMAIN_DIR=... [-DX86_DIR=...] -DSOURCE_DIR=... -DVERSION=... -DHIGHER=... -DARCH=...
#         -DOUTPUT_DIR=... -DPREFIX=... -P MakeTestPackages.cmake
if(ARCH STREQUAL "x64" AND NOT EXISTS ${X86_DIR}/RelingoControls.ocx)
    message(FATAL_ERROR "the x64 package carries the 32-bit controls: build the windows-x86 "
        "preset first (tools/test builds both), or set RELINGO_X86_BUILD_DIR")
endif()
file(REMOVE_RECURSE ${OUTPUT_DIR})
function(make_package version output work)
    execute_process(COMMAND ${CMAKE_COMMAND} -DMAIN_DIR=${MAIN_DIR} -DX86_DIR=${X86_DIR}
            -DSOURCE_DIR=${SOURCE_DIR} -DVERSION=${version} -DARCH=${ARCH} -DOUTPUT=${output}
            -DWORK_DIR=${work} -P ${SOURCE_DIR}/cmake/MakeInstaller.cmake
        RESULT_VARIABLE result)
    if(result)
        message(FATAL_ERROR "could not make the package of version ${version}")
    endif()
endfunction()
foreach(version ${VERSION} ${HIGHER})
    make_package(${version} ${OUTPUT_DIR}/Relingo-${version}-${ARCH}.msi
        ${OUTPUT_DIR}/work-${version})
endforeach()
set(again ${OUTPUT_DIR}/again/elsewhere)
make_package(${VERSION} ${again}/Relingo-${VERSION}-${ARCH}.msi ${again}/work)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files
    ${OUTPUT_DIR}/Relingo-${VERSION}-${ARCH}.msi ${again}/Relingo-${VERSION}-${ARCH}.msi
    RESULT_VARIABLE different)
if(different)
    message(FATAL_ERROR "the package made twice from the same files differs")
endif()
if(EXISTS ${PREFIX})
    execute_process(COMMAND ${CMAKE_COMMAND} -E env WINEPREFIX=${PREFIX} wineserver -k
        OUTPUT_QUIET ERROR_QUIET)
    file(REMOVE_RECURSE ${PREFIX})
endif()
