# Shared settings of the project's own targets.

function(relingo_target_defaults target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
        -Wno-sign-conversion)
    if(RELINGO_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    target_include_directories(${target} PUBLIC $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>)
endfunction()

# A portable library: builds natively and for Windows.
function(relingo_add_library target)
    add_library(${target} STATIC ${ARGN})
    relingo_target_defaults(${target})
endfunction()
