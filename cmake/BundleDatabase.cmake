# The shared data bundle (MORU_SHARED_DATA) converted into a database for the end-to-end tests of
# binary parameters, when the bundle is there:
#   MORU_BUNDLE_CONFIG  <build>/bundle/databases.json, connecting <build>/bundle/bundle.db as BUNDLE
# Empty when there is no bundle or no moru-db for this build.
set(MORU_BUNDLE_CONFIG "" CACHE INTERNAL "")
if(NOT MORU_SHARED_DATA OR NOT EXISTS ${MORU_SHARED_DATA}/binary_params.tsv)
  return()
endif()
if(TARGET moru-db)
  set(bundle_tool $<TARGET_FILE:moru-db>)
  set(bundle_tool_dependency moru-db)
elseif(MORU_DB_TOOL)
  set(bundle_tool ${MORU_DB_TOOL})
  set(bundle_tool_dependency ${MORU_DB_TOOL})
else()
  return()
endif()
set(bundle_dir ${CMAKE_BINARY_DIR}/bundle)
file(MAKE_DIRECTORY ${bundle_dir})
file(WRITE ${bundle_dir}/databases.json "{\n  \"databases\": [\n    {\"alias\": \"BUNDLE\", \"path\": \"bundle.db\"}\n  ]\n}\n")
file(GLOB bundle_files ${MORU_SHARED_DATA}/*.tsv)
add_custom_command(
  OUTPUT ${bundle_dir}/bundle.db
  COMMAND ${bundle_tool} convert-bundle ${MORU_SHARED_DATA} ${bundle_dir}/bundle.json
  COMMAND ${bundle_tool} build ${bundle_dir}/bundle.json ${bundle_dir}/bundle.db
  DEPENDS ${bundle_files} ${bundle_tool_dependency}
  COMMENT "Building the shared data bundle into a database")
add_custom_target(moru_bundle_db ALL DEPENDS ${bundle_dir}/bundle.db)
set(MORU_BUNDLE_CONFIG ${bundle_dir}/databases.json CACHE INTERNAL "")
