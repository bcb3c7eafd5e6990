# Install rules: the library, its headers, a CMake package and a pkg-config
# file for programs that use it, and the tool with its man page and bash
# completion.
#
#   cmake --install build --prefix /usr/local
#
# Everything installed finds its neighbours by relative paths, so a tree
# installed with another --prefix than the configured one still works.
include(CMakePackageConfigHelpers)

set(VELL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/VellCfgRdr)

install(TARGETS vellcfgrdr EXPORT VellCfgRdrTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Runtime NAMELINK_COMPONENT Development
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Development
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Runtime)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/vellcfgrdr
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT Development
  FILES_MATCHING PATTERN "*.h")

install(EXPORT VellCfgRdrTargets
  NAMESPACE VellCfgRdr::
  DESTINATION ${VELL_CMAKE_DIR} COMPONENT Development)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/VellCfgRdrConfig.cmake.in
  ${PROJECT_BINARY_DIR}/VellCfgRdrConfig.cmake
  INSTALL_DESTINATION ${VELL_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/VellCfgRdrConfigVersion.cmake
  COMPATIBILITY ${VELL_COMPATIBILITY})
install(FILES
  ${PROJECT_BINARY_DIR}/VellCfgRdrConfig.cmake
  ${PROJECT_BINARY_DIR}/VellCfgRdrConfigVersion.cmake
  DESTINATION ${VELL_CMAKE_DIR} COMPONENT Development)

# pkg-config: prefix relative to the file's own folder (${pcfiledir}).
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}" OR IS_ABSOLUTE "${CMAKE_INSTALL_INCLUDEDIR}")
  set(VELL_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
  set(VELL_PC_LIBDIR "${CMAKE_INSTALL_FULL_LIBDIR}")
  set(VELL_PC_INCLUDEDIR "${CMAKE_INSTALL_FULL_INCLUDEDIR}")
else()
  file(RELATIVE_PATH VELL_PC_UP "/top/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/top")
  string(REGEX REPLACE "/$" "" VELL_PC_UP "${VELL_PC_UP}")
  set(VELL_PC_PREFIX "\${pcfiledir}/${VELL_PC_UP}")
  set(VELL_PC_LIBDIR "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
  set(VELL_PC_INCLUDEDIR "\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}")
endif()
if(VELL_LIBRARY_TYPE STREQUAL "STATIC_LIBRARY")
  # A static library brings its dependencies and the C++ run-time along.
  set(VELL_PC_PRIVATE "Requires.private: pugixml libzip libmdb libxml-2.0\nLibs.private: -lstorm -lstdc++ -lm\n")
else()
  set(VELL_PC_PRIVATE "")
endif()
configure_file(${PROJECT_SOURCE_DIR}/cmake/vellcfgrdr.pc.in ${PROJECT_BINARY_DIR}/vellcfgrdr.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/vellcfgrdr.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT Development)

if(VELL_BUILD_TOOL)
  install(TARGETS vellcfgrdr-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Tool)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/vellcfgrdr.1
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT Tool)
  install(FILES ${PROJECT_SOURCE_DIR}/cli/vellcfgrdr.bash-completion
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
    RENAME vellcfgrdr COMPONENT Tool)
endif()
