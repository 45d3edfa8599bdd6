# Two builds of the same sources, in different folders at different times, give the same bytes:
#   - no folder of the build machine in the objects (__FILE__, debug information): the source
#     folder becomes relative, the build folder ".";
#   - no build time in the code (__DATE__, __TIME__ and __TIMESTAMP__ are errors) or in the PE
#     header;
#   - no times, owners or modes in static libraries.
# Include it before the targets are defined.

# The build folder is matched first (GCC tries the later maps first), since it may lie inside the
# source folder.
add_compile_options(
    "$<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=>"
    "$<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${PROJECT_BINARY_DIR}=.>"
    "$<$<COMPILE_LANGUAGE:CXX>:-Werror=date-time>")
add_link_options(-Wl,--no-insert-timestamp)
set(CMAKE_CXX_ARCHIVE_CREATE "<CMAKE_AR> qcD <TARGET> <LINK_FLAGS> <OBJECTS>")
set(CMAKE_CXX_ARCHIVE_APPEND "<CMAKE_AR> qD <TARGET> <LINK_FLAGS> <OBJECTS>")
set(CMAKE_CXX_ARCHIVE_FINISH "<CMAKE_RANLIB> -D <TARGET>")
