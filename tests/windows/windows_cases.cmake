# The end-to-end cases against the Windows executables, under Wine: the
# same expected files as on Linux, less the cases excluded.txt lists, plus the
# Windows-only cases of tests/windows/<program>/.
if(NOT E2E_LAUNCHER)
  message(FATAL_ERROR "E2E_WINDOWS needs E2E_LAUNCHER, the Wine loader (for example wine64)")
endif()
if(NOT E2E_BATCHCHECK OR NOT E2E_PAGESIM)
  message(FATAL_ERROR "E2E_WINDOWS needs E2E_BATCHCHECK and E2E_PAGESIM, the two .exe files")
endif()
set(E2E_WINDOWS_CXX "x86_64-w64-mingw32-g++-posix" CACHE STRING "MinGW-w64 compiler of the run_as helper")

# "program/case  reason" lines; the first word names a case left out.
file(STRINGS "${CMAKE_CURRENT_SOURCE_DIR}/windows/excluded.txt" lines REGEX "^[^#]")
set(E2E_WINDOWS_EXCLUDED "")
foreach(line ${lines})
  string(REGEX MATCH "^[^ \t]+" excluded "${line}")
  list(APPEND E2E_WINDOWS_EXCLUDED "${excluded}")
endforeach()

# run_as starts each program under the name the case expects (see run_as.cpp).
set(run_as "${CMAKE_CURRENT_BINARY_DIR}/run_as.exe")
add_custom_command(OUTPUT "${run_as}"
  COMMAND ${E2E_WINDOWS_CXX} -std=c++20 -O2 -static -Wall -Wextra -Wpedantic
          -o "${run_as}" "${CMAKE_CURRENT_SOURCE_DIR}/windows/run_as.cpp" -lshell32
  DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/windows/run_as.cpp"
  COMMENT "Cross-building run_as.exe")
add_custom_target(run_as ALL DEPENDS "${run_as}")
add_dependencies(e2e_runner run_as)
set(E2E_WINDOWS_LAUNCHER "${E2E_LAUNCHER} ${run_as} {name}")

# A private Wine prefix, silent, whose drive W: is the folder the cases run in:
# a case can then name its files by an absolute path with a drive letter,
# W:\<test name>\... (for example W:\e2e.windows.batchcheck.<case>\...).
set(wine_prefix "${CMAKE_BINARY_DIR}/wine-prefix")
set(E2E_WINDOWS_DRIVE "${CMAKE_BINARY_DIR}/wine-drive")
set(E2E_WINDOWS_ENVIRONMENT "WINEPREFIX=${wine_prefix};WINEDEBUG=-all")

# Starting Wine the first time builds the prefix (slow): done once, before
# every case.
add_test(NAME e2e.windows.wine_prefix
         COMMAND sh "${CMAKE_CURRENT_SOURCE_DIR}/windows/wine_prefix.sh" "${E2E_LAUNCHER}" "${E2E_WINDOWS_DRIVE}")
set_tests_properties(e2e.windows.wine_prefix PROPERTIES
  LABELS e2e ENVIRONMENT "${E2E_WINDOWS_ENVIRONMENT}" FIXTURES_SETUP wine)

# The .msi of make windows, installed, upgraded and uninstalled in a Wine
# prefix of its own.
set(E2E_WINDOWS_BUILD "" CACHE PATH "Build folder of make windows, holding the .msi")
if(E2E_WINDOWS_BUILD)
  add_test(NAME windows.installer
           COMMAND sh "${CMAKE_CURRENT_SOURCE_DIR}/windows/check_installer.sh" "${E2E_LAUNCHER}" "${CMAKE_COMMAND}"
                   "${PROJECT_SOURCE_DIR}/cmake/windows_installer.cmake"
                   "${E2E_WINDOWS_BUILD}/${ORBA_WINDOWS_PACKAGE}.msi" "${E2E_WINDOWS_BUILD}/package/${ORBA_WINDOWS_PACKAGE}"
                   "${PROJECT_VERSION}")
  set_tests_properties(windows.installer PROPERTIES LABELS installer TIMEOUT 300)
endif()

# The watching gallery under Wine: a save, then Ctrl-C (watch_gallery.sh).
if(E2E_GALLERY)
  add_test(NAME e2e.windows.watch_gallery
           COMMAND sh "${CMAKE_CURRENT_SOURCE_DIR}/windows/watch_gallery.sh" "${E2E_LAUNCHER}" "${E2E_GALLERY}"
                   "${PROJECT_SOURCE_DIR}/examples" "${E2E_WINDOWS_DRIVE}/e2e.windows.watch_gallery")
  set_tests_properties(e2e.windows.watch_gallery PROPERTIES
    LABELS e2e ENVIRONMENT "${E2E_WINDOWS_ENVIRONMENT}" FIXTURES_REQUIRED wine TIMEOUT 300)
endif()
