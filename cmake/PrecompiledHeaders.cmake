# The headers that nearly every source reads (the standard library's, the system's, GoogleTest's)
# are compiled once a build, into a header that the project's targets share (CMake's
# REUSE_FROM). Reading <windows.h> or GoogleTest's headers takes the compiler about as long as
# compiling one of the sources behind them, so this saves a good part of each build.
#
# Development builds only: the release trees are built without tests and the plain way, whose
# sameness from build to build the package checks show. In a Windows build every source then
# sees <windows.h>; the native builds still hold the portable code to the headers it includes.
option(RELINGO_PRECOMPILED_HEADERS "Share precompiled headers among the targets"
    ${RELINGO_BUILD_TESTS})

# The system's headers. The standard library's stay out of the product's: GCC 12 warns of its
# own inlined string code at -O2 (array bounds, overflows) when that code comes precompiled,
# since such a header is no longer one of the system's to it.
set(RELINGO_SHARED_HEADERS)
if(WIN32)
    set(RELINGO_SHARED_HEADERS <windows.h> <olectl.h> <wrl/client.h>)
endif()

# Makes NAME, a library that only compiles the headers given, with the options of the folder it
# is called from, and has relingo_target_defaults give that folder's targets its compiled
# headers. GCC takes a precompiled header only where it was compiled with the same options (the
# warnings among them, which change what the compiler predefines), but for debug information: one
# compiled with it serves sources compiled without.
#   relingo_share_headers(NAME HEADERS... [LIBS LIBRARY...])
# LIBS: the libraries whose headers are among them, which the targets then link with, so that
# they see the same definitions.
function(relingo_share_headers name)
    if(NOT RELINGO_PRECOMPILED_HEADERS)
        return()
    endif()
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    set(source ${CMAKE_CURRENT_BINARY_DIR}/${name}.cpp)
    file(WRITE ${source} "// The precompiled headers' own source.\n")
    add_library(${name} STATIC ${source})
    target_precompile_headers(${name} PRIVATE ${ARG_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    relingo_warnings(${name})
    target_compile_options(${name} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-g>)
    set(RELINGO_HEADERS_FROM ${name} PARENT_SCOPE)
    set(RELINGO_HEADERS_LIBS ${ARG_LIBS} PARENT_SCOPE)
endfunction()
