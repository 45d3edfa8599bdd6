# The release package of the program: `cmake --build <tree> --target release_package` writes the
# ZIP, the debug information of its programs and SHA256SUMS into <tree>/package (see
# MakeReleasePackage.cmake). tools/package makes the packages of every Windows build at once.
if(NOT WIN32 OR NOT TARGET Relingo)
    return()
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(RELINGO_PACKAGE_ARCH x64)
else()
    set(RELINGO_PACKAGE_ARCH x86)
endif()
set(RELINGO_PACKAGE_DIR ${PROJECT_BINARY_DIR}/package)
find_program(RELINGO_STRIP_NONDETERMINISM strip-nondeterminism)

# The packaged programs and the project's libraries they link carry full debug information, which
# the packaging moves into the separate debug files. -g changes no generated code.
function(relingo_add_debug_information target)
    get_target_property(type ${target} TYPE)
    get_target_property(imported ${target} IMPORTED)
    if(imported OR type STREQUAL "INTERFACE_LIBRARY")
        return()
    endif()
    get_target_property(done ${target} RELINGO_DEBUG_INFORMATION)
    if(done)
        return()
    endif()
    set_target_properties(${target} PROPERTIES RELINGO_DEBUG_INFORMATION ON)
    target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-g>)
    get_target_property(libraries ${target} LINK_LIBRARIES)
    foreach(library IN LISTS libraries)
        if(TARGET ${library})
            relingo_add_debug_information(${library})
        endif()
    endforeach()
endfunction()
relingo_add_debug_information(Relingo)
relingo_add_debug_information(RelingoControls)

# tools/package sets it when it signs the release.
set(RELINGO_SIGN_COMMAND "" CACHE STRING
    "A program that signs in place each file it is given; the programs are signed before they are packed")
add_custom_target(release_package
    COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${PROJECT_BINARY_DIR} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
        -DOUTPUT_DIR=${RELINGO_PACKAGE_DIR} -DPACKAGE=${PROJECT_NAME} -DVERSION=${PROJECT_VERSION}
        -DARCH=${RELINGO_PACKAGE_ARCH} -DOBJCOPY=${CMAKE_OBJCOPY} -DSTRIP=${CMAKE_STRIP}
        -DSTRIP_NONDETERMINISM=${RELINGO_STRIP_NONDETERMINISM}
        -DSIGN_COMMAND=${RELINGO_SIGN_COMMAND}
        -P ${PROJECT_SOURCE_DIR}/cmake/MakeReleasePackage.cmake
    COMMENT "Making the release package ${PROJECT_NAME}-${PROJECT_VERSION}-${RELINGO_PACKAGE_ARCH}"
    VERBATIM)
add_dependencies(release_package Relingo RelingoControls)
