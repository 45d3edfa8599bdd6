# Shared settings of the project's own targets.

function(relingo_target_defaults target)
    relingo_warnings(${target})
    target_include_directories(${target} PUBLIC $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>)
    if(RELINGO_HEADERS_FROM)
        target_precompile_headers(${target} REUSE_FROM ${RELINGO_HEADERS_FROM})
        target_link_libraries(${target} PRIVATE ${RELINGO_HEADERS_LIBS})
    endif()
endfunction()

function(relingo_warnings target)
    set(cxx "$<COMPILE_LANGUAGE:CXX>")
    target_compile_options(${target} PRIVATE
        $<${cxx}:-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion>)
    # GCC 12 reports std::string copies at -O2 and above as overlapping (GCC bug 105329).
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12)
        target_compile_options(${target} PRIVATE $<${cxx}:-Wno-restrict>)
    endif()
    if(RELINGO_WERROR)
        target_compile_options(${target} PRIVATE $<${cxx}:-Werror>)
    endif()
endfunction()

# A portable library: builds natively and for Windows.
function(relingo_add_library target)
    add_library(${target} STATIC ${ARGN})
    relingo_target_defaults(${target})
endfunction()
