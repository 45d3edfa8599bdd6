# The headers that every test source of the Windows build reads (the system's, GoogleTest's) are
# compiled once a build, into a header that the tests' targets share (CMake's REUSE_FROM).
# Reading <windows.h> and GoogleTest's headers takes the compiler about as long as compiling one
# of the sources behind them; shared, they take a tenth off a Windows build.
#
# The tests' code only: the product is built the plain way, in the release trees as here, and
# each of its sources includes what it uses. The standard library's headers stay out: GCC 12
# warns of its own inlined string code at -O2 (array bounds, overflows) when that code comes
# precompiled, since such a header is no longer one of the system's to it. In the native builds
# a shared header saves nothing: their tests are few and large files, which read the headers
# once each.
option(RELINGO_PRECOMPILED_HEADERS "Share precompiled headers among the tests' targets"
    ${RELINGO_BUILD_TESTS})

# Makes NAME, a library that only compiles the headers given, with the options of the folder it
# is called from, and has relingo_target_defaults give that folder's targets its compiled
# headers. GCC takes a precompiled header only where it was compiled with the same options, the
# warnings among them, which change what the compiler predefines (-Winvalid-pch, an error here,
# says where one is not taken).
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
    set(RELINGO_HEADERS_FROM ${name} PARENT_SCOPE)
    set(RELINGO_HEADERS_LIBS ${ARG_LIBS} PARENT_SCOPE)
endfunction()
