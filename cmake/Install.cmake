# What `cmake --install` puts in a prefix for host developers:
#   include/MoruIntegration.h
#   the library: lib/libMoruIntegration.so.<version> with its SONAME and link name on Linux; bin/MoruIntegration.dll and its import library in
#   lib on Windows
#   lib/MoruIntegration.def and lib/MoruIntegration.lib (MSVC-style import library) on Windows
#   bin/moru, bin/moru-db
#   lib/cmake/MoruIntegration: find_package(MoruIntegration) -> MoruIntegration::MoruIntegration
#   lib/pkgconfig/moru-integration.pc
# Every file of the package finds the others relative to itself, so the prefix can be moved.
include(CMakePackageConfigHelpers)

set(MORU_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/MoruIntegration)

install(TARGETS MoruIntegration EXPORT MoruIntegrationTargets
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${MORU_PUBLIC_HEADER} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
if(WIN32)
  # Beside the MinGW import library: the module-definition file, for librarians that make their
  # own import library, and the import library that MSVC-style linkers read.
  install(FILES $<TARGET_FILE_DIR:MoruIntegration>/MoruIntegration.def
                $<TARGET_FILE_DIR:MoruIntegration>/MoruIntegration.lib DESTINATION ${CMAKE_INSTALL_LIBDIR})
endif()
install(TARGETS moru RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET moru-db)
  install(TARGETS moru-db RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(EXPORT MoruIntegrationTargets NAMESPACE MoruIntegration:: DESTINATION ${MORU_PACKAGE_DIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/MoruIntegrationConfig.cmake.in
                              ${CMAKE_BINARY_DIR}/package/MoruIntegrationConfig.cmake
                              INSTALL_DESTINATION ${MORU_PACKAGE_DIR})
# Versions 0.x break compatibility with each minor version.
write_basic_package_version_file(${CMAKE_BINARY_DIR}/package/MoruIntegrationConfigVersion.cmake
                                 COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/package/MoruIntegrationConfig.cmake
              ${CMAKE_BINARY_DIR}/package/MoruIntegrationConfigVersion.cmake
        DESTINATION ${MORU_PACKAGE_DIR})

# pkg-config: -lMoruIntegration, which finds libMoruIntegration.so on Linux and the import library
# libMoruIntegration.dll.a on Windows.
set(MORU_PKGCONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
file(RELATIVE_PATH MORU_PKGCONFIG_TO_PREFIX /${MORU_PKGCONFIG_DIR} /)
string(REGEX REPLACE "/$" "" MORU_PKGCONFIG_TO_PREFIX "${MORU_PKGCONFIG_TO_PREFIX}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/moru-integration.pc.in ${CMAKE_BINARY_DIR}/package/moru-integration.pc.in @ONLY)
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/package/moru-integration.pc
     INPUT ${CMAKE_BINARY_DIR}/package/moru-integration.pc.in)
install(FILES ${CMAKE_BINARY_DIR}/package/moru-integration.pc DESTINATION ${MORU_PKGCONFIG_DIR})
