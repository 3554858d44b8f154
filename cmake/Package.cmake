# The package for host developers (cmake/MakePackage.cmake): target moru_package writes
# <build>/dist/moru-integration-<version>-<platform>.zip on Windows, .tar.gz on Linux.
# scripts/package builds it for each preset.
if(NOT TARGET moru_sample_db)
  return()
endif()
if(WIN32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(moru_package_platform windows-x86)
  else()
    set(moru_package_platform windows-x64)
  endif()
  set(moru_package_extension zip)
else()
  set(moru_package_platform linux-${CMAKE_SYSTEM_PROCESSOR})
  set(moru_package_extension tar.gz)
endif()
get_filename_component(moru_sample_dir ${MORU_SAMPLE_DB} DIRECTORY)
set(MORU_PACKAGE_NAME moru-integration-${PROJECT_VERSION}-${moru_package_platform})
# What MakePackage.cmake needs but the archive's name, as -D definitions.
set(MORU_PACKAGE_DEFINITIONS -DBUILD_DIR=${CMAKE_BINARY_DIR} -DNAME=${MORU_PACKAGE_NAME} -DOBJCOPY=${CMAKE_OBJCOPY}
    -DSAMPLE=${moru_sample_dir} -DDOCS=${PROJECT_SOURCE_DIR}/docs -DAPI_DOCS=${MORU_API_DOCS}
    -DREADME=${PROJECT_SOURCE_DIR}/package/README.md -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DOBJDUMP=${CMAKE_OBJDUMP}
    -DSQLITE_VERSION=${SQLite3_VERSION})

add_custom_target(moru_package
  COMMAND ${CMAKE_COMMAND} ${MORU_PACKAGE_DEFINITIONS}
          -DOUTPUT=${CMAKE_BINARY_DIR}/dist/${MORU_PACKAGE_NAME}.${moru_package_extension}
          -P ${CMAKE_CURRENT_LIST_DIR}/MakePackage.cmake
  COMMENT "Packaging ${MORU_PACKAGE_NAME}" VERBATIM)
add_dependencies(moru_package MoruIntegration moru moru-db moru_sample_db)
if(TARGET moru_docs)
  add_dependencies(moru_package moru_docs)
endif()
