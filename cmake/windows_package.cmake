# The Windows package: every program that install(TARGETS ...) lists, with
# README.txt, LICENSE.txt (CR LF line ends, for Notepad), each manual page
# rendered as HTML (mandoc or groff, plain text from groff without its HTML
# device) and the examples, zipped as <project>-<version>-windows-x86_64.zip
# in the build folder; then the installer of the same folder,
# <project>-<version>-windows-x86_64.msi (windows_installer.cmake).
#
# Included from the project, it adds the target windows_package. Run as a
# script (cmake -P) by that target, it installs the build into a staging
# folder, takes the programs from it and writes the zip.
if(CMAKE_SCRIPT_MODE_FILE)
  # Copies a text file with CR LF line ends, VERSION replaced by the version.
  function(copy_as_windows_text from to)
    file(READ "${from}" text)
    string(REPLACE "VERSION" "${VERSION}" text "${text}")
    string(REPLACE "\r\n" "\n" text "${text}")
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE "${to}" "${text}")
  endfunction()

  file(REMOVE_RECURSE "${STAGE}")
  set(root "${STAGE}/${PACKAGE}")
  execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${STAGE}/install"
                  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(GLOB programs "${STAGE}/install/bin/*")
  file(COPY ${programs} DESTINATION "${root}")
  file(COPY "${SOURCE}/examples" DESTINATION "${root}" PATTERN "*.sh" EXCLUDE)
  copy_as_windows_text("${SOURCE}/cmake/windows_readme.txt" "${root}/README.txt")
  copy_as_windows_text("${SOURCE}/LICENSE" "${root}/LICENSE.txt")

  find_program(MANDOC mandoc)
  find_program(GROFF groff)
  file(GLOB pages "${STAGE}/install/share/man/man1/*.1")
  file(MAKE_DIRECTORY "${root}/man")
  foreach(page ${pages})
    get_filename_component(name "${page}" NAME_WE)
    if(MANDOC)
      execute_process(COMMAND "${MANDOC}" -T html "${page}" OUTPUT_FILE "${root}/man/${name}.html"
                      COMMAND_ERROR_IS_FATAL ANY)
    elseif(GROFF AND EXISTS /usr/share/groff/current/tmac/html.tmac)
      execute_process(COMMAND "${GROFF}" -man -T html "${page}" OUTPUT_FILE "${root}/man/${name}.html"
                      COMMAND_ERROR_IS_FATAL ANY)
    elseif(GROFF)
      execute_process(COMMAND "${GROFF}" -man -T ascii -P -cbou "${page}" OUTPUT_FILE "${STAGE}/${name}.txt"
                      COMMAND_ERROR_IS_FATAL ANY)
      copy_as_windows_text("${STAGE}/${name}.txt" "${root}/man/${name}.txt")
    else()
      message(FATAL_ERROR "Rendering the manual pages for the Windows zip needs mandoc or groff")
    endif()
  endforeach()

  file(REMOVE "${ZIP}")
  execute_process(COMMAND "${CMAKE_COMMAND}" -E tar cf "${ZIP}" --format=zip "${PACKAGE}"
                  WORKING_DIRECTORY "${STAGE}" COMMAND_ERROR_IS_FATAL ANY)
  return()
endif()

set(package "${ORBA_WINDOWS_PACKAGE}")
add_custom_target(windows_package
  COMMAND "${CMAKE_COMMAND}" -DSOURCE=${PROJECT_SOURCE_DIR} -DBUILD=${CMAKE_BINARY_DIR}
          -DSTAGE=${CMAKE_BINARY_DIR}/package -DPACKAGE=${package} -DVERSION=${PROJECT_VERSION}
          -DZIP=${CMAKE_BINARY_DIR}/${package}.zip -P "${CMAKE_CURRENT_LIST_FILE}"
  COMMAND "${CMAKE_COMMAND}" -DROOT=${CMAKE_BINARY_DIR}/package/${package} -DVERSION=${PROJECT_VERSION}
          -DWXS=${CMAKE_BINARY_DIR}/package/${package}.wxs -DMSI=${CMAKE_BINARY_DIR}/${package}.msi
          -P "${CMAKE_CURRENT_LIST_DIR}/windows_installer.cmake"
  COMMENT "Packing ${package}.zip and ${package}.msi"
  VERBATIM)
