# The copy of the sources in which the release checks build the release again, as tools/package
# builds it (build/release-<preset> inside the copy): the package check of each Windows build
# compares its package with that second build's, and the signed release's test then runs
# tools/package in the same copy, which finds both trees built. Refreshing the copy keeps each
# file's time, so a tree compiles again only what changed since it was last built.
#   cmake -DSOURCE_DIR=... -DCHECK_DIR=... -P ReleaseCheckSources.cmake
# or include it and call relingo_refresh_release_copy; the copy is CHECK_DIR/source.

function(relingo_refresh_release_copy source_dir check_dir)
    file(MAKE_DIRECTORY ${check_dir})
    file(LOCK ${check_dir}/source.lock GUARD FUNCTION TIMEOUT 600)
    set(copy ${check_dir}/source)
    file(GLOB old RELATIVE ${copy} ${copy}/*)
    foreach(entry IN LISTS old)
        if(NOT entry STREQUAL "build")
            file(REMOVE_RECURSE ${copy}/${entry})
        endif()
    endforeach()
    file(GLOB top RELATIVE ${source_dir} ${source_dir}/*)
    foreach(entry IN LISTS top)
        # The build folders, wherever they lie, and the history stay out.
        string(FIND "${check_dir}/" "${source_dir}/${entry}/" inside)
        if(NOT entry MATCHES "^(\\.git|build)$" AND NOT inside EQUAL 0)
            file(COPY ${source_dir}/${entry} DESTINATION ${copy})
        endif()
    endforeach()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    relingo_refresh_release_copy(${SOURCE_DIR} ${CHECK_DIR})
endif()
