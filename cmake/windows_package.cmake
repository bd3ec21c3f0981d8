# The Windows package: batchcheck.exe and pagesim.exe with the manual pages
# (the pages of man/, when present) and the examples, zipped as
# <project>-<version>-windows-x86_64.zip in the build folder.
#
# Included from the project, it adds the target windows_package. Run as a
# script (cmake -P) by that target, it stages the files and writes the zip.
if(CMAKE_SCRIPT_MODE_FILE)
  file(REMOVE_RECURSE "${STAGE}")
  file(MAKE_DIRECTORY "${STAGE}/${PACKAGE}")
  file(COPY ${PROGRAMS} DESTINATION "${STAGE}/${PACKAGE}")
  file(COPY "${SOURCE}/examples" DESTINATION "${STAGE}/${PACKAGE}" PATTERN "*.sh" EXCLUDE)
  file(GLOB pages "${SOURCE}/man/*.[1-9]")
  if(pages)
    file(COPY ${pages} DESTINATION "${STAGE}/${PACKAGE}/man")
  endif()
  file(REMOVE "${ZIP}")
  execute_process(COMMAND "${CMAKE_COMMAND}" -E tar cf "${ZIP}" --format=zip "${PACKAGE}"
                  WORKING_DIRECTORY "${STAGE}" COMMAND_ERROR_IS_FATAL ANY)
  return()
endif()

set(package "${PROJECT_NAME}-${PROJECT_VERSION}-windows-x86_64")
add_custom_target(windows_package
  COMMAND "${CMAKE_COMMAND}" -DSOURCE=${PROJECT_SOURCE_DIR} -DSTAGE=${CMAKE_BINARY_DIR}/package
          -DPACKAGE=${package} -DZIP=${CMAKE_BINARY_DIR}/${package}.zip
          "-DPROGRAMS=$<TARGET_FILE:batchcheck>;$<TARGET_FILE:pagesim>"
          -P "${CMAKE_CURRENT_LIST_FILE}"
  DEPENDS batchcheck pagesim
  COMMENT "Packing ${package}.zip"
  VERBATIM)
