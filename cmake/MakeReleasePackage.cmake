# Makes the release package of one Windows build tree, in OUTPUT_DIR:
#   <name>.zip          the install component "application" (the programs, the controls' server
#                       and its manifest, the users' guide and the licence) under one folder <name>,
#                       where <name> is PACKAGE-VERSION-ARCH; the programs and the server are
#                       stripped;
#   <program>-VERSION-ARCH.debug
#                       the debug information of each program, which the program's debug link
#                       names (put it beside the program and a debugger finds it);
#   SHA256SUMS          the ZIP's checksum, as `sha256sum -c` reads it.
# Two runs over the same sources give the same bytes: the tools that rewrite the programs stamp
# them with SOURCE_DATE_EPOCH, and strip-nondeterminism sets the ZIP's entry times to it and puts
# the entries in a fixed order with fixed attributes. With SIGN_COMMAND, the programs are signed
# once they are final, before they are packed; they differ from the unsigned ones only in their
# signatures.
#   cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DOUTPUT_DIR=... -DPACKAGE=... -DVERSION=... -DARCH=...
#         -DOBJCOPY=... -DSTRIP=... -DSTRIP_NONDETERMINISM=... [-DSIGN_COMMAND=...]
#         -P MakeReleasePackage.cmake
include(${CMAKE_CURRENT_LIST_DIR}/SourceDateEpoch.cmake)

if(NOT STRIP_NONDETERMINISM)
    message(FATAL_ERROR "strip-nondeterminism was not found (Debian package "
        "strip-nondeterminism); install it and configure again")
endif()

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_QUIET)
    if(result)
        list(JOIN ARGN " " command)
        message(FATAL_ERROR "failed (${result}): ${command}")
    endif()
endfunction()

relingo_source_date_epoch(epoch ${SOURCE_DIR})
# objcopy and strip write the PE header's time stamp anew, from SOURCE_DATE_EPOCH when it is set.
set(ENV{SOURCE_DATE_EPOCH} ${epoch})

set(name ${PACKAGE}-${VERSION}-${ARCH})
set(staging ${BUILD_DIR}/package-staging)
file(REMOVE_RECURSE ${staging})
# The folder holds this package and nothing else, whatever an earlier tool left there.
file(REMOVE_RECURSE ${OUTPUT_DIR})
file(MAKE_DIRECTORY ${OUTPUT_DIR})

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --component application --prefix ${staging}/${name})

file(GLOB programs ${staging}/${name}/*.exe ${staging}/${name}/*.ocx)
if(NOT programs)
    message(FATAL_ERROR "the install component \"application\" holds no program")
endif()
foreach(program IN LISTS programs)
    get_filename_component(stem ${program} NAME_WE)
    set(debug ${OUTPUT_DIR}/${stem}-${VERSION}-${ARCH}.debug)
    run(${OBJCOPY} --only-keep-debug ${program} ${debug})
    run(${STRIP} --strip-all ${program})
    # The link holds the debug file's name and checksum, so it is added after the file is final.
    run(${OBJCOPY} --add-gnu-debuglink=${debug} ${program})
endforeach()
if(SIGN_COMMAND)
    execute_process(COMMAND ${SIGN_COMMAND} ${programs} RESULT_VARIABLE result)
    if(result)
        file(REMOVE_RECURSE ${OUTPUT_DIR} ${staging})
        message(FATAL_ERROR "the programs could not be signed")
    endif()
endif()

set(zip ${OUTPUT_DIR}/${name}.zip)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip -- ${name}
    WORKING_DIRECTORY ${staging} RESULT_VARIABLE result)
if(result)
    message(FATAL_ERROR "could not write ${zip}")
endif()
run(${STRIP_NONDETERMINISM} --type zip --timestamp ${epoch} ${zip})

file(SHA256 ${zip} sum)
file(WRITE ${OUTPUT_DIR}/SHA256SUMS "${sum}  ${name}.zip\n")
file(REMOVE_RECURSE ${staging})
message(STATUS "${zip}")
