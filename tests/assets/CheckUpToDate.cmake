# Builds the assets target of a built tree and fails when the asset builder runs.
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target vantorix_assets
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the build failed:\n${out}${err}")
endif()
if(out MATCHES "Building pictures, sounds, music and level sets")
  message(FATAL_ERROR "the assets were built again although nothing changed:\n${out}")
endif()
message(STATUS "assets are up to date")
