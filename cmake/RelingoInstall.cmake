# What `cmake --install` puts in place, and the release package made from it.
#   component "application": Relingo.exe, the controls' COM server RelingoControls.ocx with its
#   assembly manifest, the users' guide USING.md, the controls' reference docs/CONTROLS.md and
#   the licence (what the release ZIP holds, see ReleasePackage.cmake);
#   component "development": the controls' headers and static libraries with a CMake package
#   configuration, so that another program can find_package(Relingo) and link Relingo::Controls.

include(CMakePackageConfigHelpers)

set(relingo_libraries relingo_platform relingo_filenamebox relingo_filopdlg)
if(WIN32)
    list(APPEND relingo_libraries relingo_platform_win32 relingo_filenamebox_win32)
endif()

# Everything a program needs to place the two controls in its own window.
add_library(relingo_controls INTERFACE)
target_link_libraries(relingo_controls INTERFACE ${relingo_libraries})
add_library(Relingo::Controls ALIAS relingo_controls)
set_target_properties(relingo_controls PROPERTIES EXPORT_NAME Controls)
foreach(library IN LISTS relingo_libraries)
    string(REPLACE "relingo_" "" exported ${library})
    set_target_properties(${library} PROPERTIES EXPORT_NAME ${exported})
    target_include_directories(${library} PUBLIC $<INSTALL_INTERFACE:include>)
endforeach()

install(TARGETS ${relingo_libraries} relingo_controls EXPORT RelingoTargets
    ARCHIVE DESTINATION lib COMPONENT development)
install(DIRECTORY platform filenamebox filopdlg
    DESTINATION include COMPONENT development
    FILES_MATCHING PATTERN "*.h")
install(EXPORT RelingoTargets NAMESPACE Relingo::
    DESTINATION lib/cmake/Relingo COMPONENT development)
configure_package_config_file(cmake/RelingoConfig.cmake.in
    ${PROJECT_BINARY_DIR}/RelingoConfig.cmake
    INSTALL_DESTINATION lib/cmake/Relingo)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/RelingoConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/RelingoConfig.cmake
    ${PROJECT_BINARY_DIR}/RelingoConfigVersion.cmake
    DESTINATION lib/cmake/Relingo COMPONENT development)

if(WIN32 AND TARGET Relingo)
    install(TARGETS Relingo RUNTIME DESTINATION . COMPONENT application)
    install(TARGETS RelingoControls RUNTIME DESTINATION . COMPONENT application)
    install(FILES ${RELINGO_CONTROLS_MANIFEST} DESTINATION . COMPONENT application)
    install(FILES USING.md LICENSE DESTINATION . COMPONENT application)
    # The controls' reference, where the guide's link finds it.
    install(FILES docs/CONTROLS.md DESTINATION docs COMPONENT application)
endif()
include(cmake/ReleasePackage.cmake)
