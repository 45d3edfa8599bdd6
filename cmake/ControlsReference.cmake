# Writes the controls' reference from the server's type library (WRITE ON: into KEPT, the file of
# the source tree), or checks that KEPT is what the library gives and shows the difference if not.
#   cmake -DREFERENCE=<ControlsReference.exe> -DSERVER=<RelingoControls.ocx> -DPREFIX=<wine prefix>
#         -DSOURCE_DIR=... -DKEPT=<docs/CONTROLS.md> [-DWRITE=ON] -P ControlsReference.cmake
get_filename_component(written ${PREFIX}/../CONTROLS.md ABSOLUTE)
# The server's name as the Windows program sees it: the Linux root is drive Z.
string(REPLACE "/" "\\" server "Z:${SERVER}")
execute_process(COMMAND ${SOURCE_DIR}/cmake/wine-run.sh ${PREFIX} ${REFERENCE} ${server}
    OUTPUT_FILE ${written} RESULT_VARIABLE result)
if(result)
    message(FATAL_ERROR "ControlsReference failed (${result})")
endif()
if(WRITE)
    file(COPY_FILE ${written} ${KEPT})
    return()
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${written} ${KEPT}
    RESULT_VARIABLE different)
if(different)
    execute_process(COMMAND diff -u ${KEPT} ${written})
    message(FATAL_ERROR "docs/CONTROLS.md is not what the server's type library gives: write it "
        "again with `cmake --build <tree> --target controls_reference`, and give a new member "
        "its note in tools/reference/MemberNotes.cpp")
endif()
