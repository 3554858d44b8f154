# The sample database, built into the build tree from Debian's chemical-structures-data and the
# hand-typed data/sample-extra.json:
#   MORU_SAMPLE_DB      <build>/sample/sample.db
#   MORU_SAMPLE_CONFIG  <build>/sample/databases.json, a configuration that connects it as SAMPLE
# Cross builds use a moru-db built for the build machine, named by MORU_DB_TOOL; without one they
# build no sample.
set(MORU_CML_ROOT /usr/share/chemical-structures CACHE PATH "CML files of chemical-structures-data")
set(MORU_DB_TOOL "" CACHE FILEPATH "moru-db of the host, for cross builds")
set(sample_dir ${CMAKE_BINARY_DIR}/sample)
set(MORU_SAMPLE_DB ${sample_dir}/sample.db CACHE INTERNAL "")
set(MORU_SAMPLE_CONFIG ${sample_dir}/databases.json CACHE INTERNAL "")

if(MORU_DB_TOOL)
  set(db_tool ${MORU_DB_TOOL})
  set(db_tool_dependency ${MORU_DB_TOOL})
elseif(TARGET moru-db)
  set(db_tool $<TARGET_FILE:moru-db>)
  set(db_tool_dependency moru-db)
else()
  message(STATUS "No moru-db for this build (set MORU_DB_TOOL): the sample database is not built")
  return()
endif()
find_package(Python3 REQUIRED COMPONENTS Interpreter)

file(MAKE_DIRECTORY ${sample_dir})
file(WRITE ${sample_dir}/databases.json "{\n  \"databases\": [\n    {\"alias\": \"SAMPLE\", \"path\": \"sample.db\"}\n  ]\n}\n")
file(GLOB_RECURSE sample_cml_files CONFIGURE_DEPENDS ${MORU_CML_ROOT}/*.cml)
add_custom_command(
  OUTPUT ${sample_dir}/sample.json
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/make-sample-source ${MORU_CML_ROOT}
          ${PROJECT_SOURCE_DIR}/data/sample-extra.json ${sample_dir}/sample.json
  DEPENDS ${PROJECT_SOURCE_DIR}/scripts/make-sample-source ${PROJECT_SOURCE_DIR}/data/sample-extra.json ${sample_cml_files}
  COMMENT "Writing the sample database source")
add_custom_command(
  OUTPUT ${sample_dir}/sample.db
  COMMAND ${db_tool} build ${sample_dir}/sample.json ${sample_dir}/sample.db
  DEPENDS ${sample_dir}/sample.json ${db_tool_dependency}
  COMMENT "Building the sample database")
add_custom_target(moru_sample_db ALL DEPENDS ${sample_dir}/sample.db)

# The property data bundle (MORU_SHARED_DATA), when present, as a database of its own for the
# end-to-end tests that need real data at scale:
#   MORU_BUNDLE_CONFIG  <build>/bundle/databases.json, a configuration that connects it as BUNDLE
# Empty when there is no bundle; those tests then skip.
set(MORU_BUNDLE_CONFIG "" CACHE INTERNAL "")
if(MORU_SHARED_DATA AND EXISTS ${MORU_SHARED_DATA}/compounds.tsv)
  set(bundle_dir ${CMAKE_BINARY_DIR}/bundle)
  file(MAKE_DIRECTORY ${bundle_dir})
  file(WRITE ${bundle_dir}/databases.json "{\n  \"databases\": [\n    {\"alias\": \"BUNDLE\", \"path\": \"bundle.db\"}\n  ]\n}\n")
  file(GLOB bundle_files CONFIGURE_DEPENDS ${MORU_SHARED_DATA}/*.tsv)
  add_custom_command(
    OUTPUT ${bundle_dir}/bundle.db
    # The source is the build's own intermediate file, made anew whenever the bundle changes.
    COMMAND ${db_tool} convert-bundle --force ${MORU_SHARED_DATA} ${bundle_dir}/bundle.json
    COMMAND ${db_tool} build ${bundle_dir}/bundle.json ${bundle_dir}/bundle.db
    DEPENDS ${bundle_files} ${db_tool_dependency}
    COMMENT "Building the database of the property data bundle")
  add_custom_target(moru_bundle_db ALL DEPENDS ${bundle_dir}/bundle.db)
  set(MORU_BUNDLE_CONFIG ${bundle_dir}/databases.json CACHE INTERNAL "")
endif()
