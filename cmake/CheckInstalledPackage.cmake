# Installs the controls from a build tree and builds the example program against the installed
# package alone, as another project would: find_package(Relingo), then Relingo::Controls.
#   cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DWORK_DIR=... -DTOOLCHAIN=... -P CheckInstalledPackage.cmake
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${WORK_DIR}/install
                        --component development
    RESULT_VARIABLE result)
if(result)
    message(FATAL_ERROR "install failed")
endif()
foreach(expected include/filenamebox/FileNameBox.h include/filopdlg/FilOpDlg.h
        include/platform/Error.h lib/cmake/Relingo/RelingoConfig.cmake)
    if(NOT EXISTS ${WORK_DIR}/install/${expected})
        message(FATAL_ERROR "not installed: ${expected}")
    endif()
endforeach()
execute_process(
    COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR}/examples -B ${WORK_DIR}/example -G Ninja
            -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -DCMAKE_BUILD_TYPE=Release
            -DRelingo_DIR=${WORK_DIR}/install/lib/cmake/Relingo
    RESULT_VARIABLE result)
if(result)
    message(FATAL_ERROR "the example does not configure against the installed package")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK_DIR}/example RESULT_VARIABLE result)
if(result OR NOT EXISTS ${WORK_DIR}/example/ControlsDemo.exe)
    message(FATAL_ERROR "the example does not build against the installed package")
endif()
message(STATUS "the example builds against the installed package")
