# Draws one icon with tools/make-icon.py and checks that it is, byte for byte, the icon kept in the
# source tree, so that the generator stays the true source of both icons.
#   cmake -DPYTHON=... -DSOURCE_DIR=... -DICON=relingo|filopdlg -DKEPT=<icon in the source tree>
#         -DDRAWN=<file to write> -P CheckGeneratedIcon.cmake
execute_process(COMMAND ${PYTHON} ${SOURCE_DIR}/tools/make-icon.py ${ICON} ${DRAWN}
    RESULT_VARIABLE result)
if(result)
    message(FATAL_ERROR "tools/make-icon.py ${ICON} failed: ${result}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${DRAWN} ${KEPT}
    RESULT_VARIABLE different)
if(different)
    message(FATAL_ERROR "${KEPT} is not what tools/make-icon.py ${ICON} draws")
endif()
