# Run by CPack once the programs' package is made: stages the install
# rules' "codes" component under /usr and makes valdoren-codes_VERSION_all.deb
# of it beside that package.
set(stage ${CPACK_PACKAGE_DIRECTORY}/_CPack_Packages/valdoren-codes)
file(REMOVE_RECURSE ${stage})
execute_process(
  COMMAND ${CMAKE_COMMAND} --install ${CPACK_VALDOREN_BUILD_DIR} --component codes --prefix ${stage}/usr
  OUTPUT_QUIET
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "The codes cannot be staged in ${stage}")
endif()
execute_process(
  COMMAND ${CPACK_VALDOREN_MAKE_CODES_DEB} ${stage} ${CPACK_VALDOREN_CODES_CHANGELOG} ${CPACK_PACKAGE_DIRECTORY}
  OUTPUT_VARIABLE made
  OUTPUT_STRIP_TRAILING_WHITESPACE
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "valdoren-codes cannot be made")
endif()
message(STATUS "Package ${made} generated.")
