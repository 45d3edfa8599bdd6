# The time that stands for "when these sources were made" in everything a release build writes:
# the SOURCE_DATE_EPOCH of the environment when set, else the commit time of the source tree's
# last commit.
#   relingo_source_date_epoch(<variable> <source folder>)
function(relingo_source_date_epoch variable source_dir)
    if(DEFINED ENV{SOURCE_DATE_EPOCH})
        set(epoch "$ENV{SOURCE_DATE_EPOCH}")
        if(NOT epoch MATCHES "^[0-9]+$")
            message(FATAL_ERROR "SOURCE_DATE_EPOCH is not a number of seconds: \"${epoch}\"")
        endif()
    else()
        find_program(git git)
        if(git)
            execute_process(COMMAND ${git} -C ${source_dir} log -1 --format=%ct
                OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE result ERROR_QUIET)
        endif()
        if(NOT git OR result OR NOT epoch MATCHES "^[0-9]+$")
            message(FATAL_ERROR "${source_dir} is not a git checkout with a commit: set "
                "SOURCE_DATE_EPOCH to the sources' time, in seconds since 1970")
        endif()
    endif()
    set(${variable} ${epoch} PARENT_SCOPE)
endfunction()
