# The Debian package (make package): orba-tools_<version>_<arch>.deb with
# every program that install(TARGETS ...) lists in /usr/bin, the manual pages
# gzipped in /usr/share/man/man1, and README.md, the copyright file and the
# changelog in /usr/share/doc/orba-tools. Built by CPack's DEB generator from
# the install rules, so a new program joins the package with its install().
#
# lintian reports neither error nor warning for it (bash .ci/run checks). Its
# informational tags, left as they are:
#   hardening-no-bindnow, hardening-no-fortify-functions: the programs are
#     built with the project's own flags, not dpkg-buildflags;
#   binary-has-unneeded-section .comment: the compiler's identification, kept
#     by CPack's strip;
#   spelling-error-in-binary: French words of the pages ("Autorisation").
set(ORBA_MAINTAINER "The orba-tools authors <orba-tools@example.org>")

set(doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/orba-tools)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/cmake/debian/copyright DESTINATION ${doc_dir})

# A Debian changelog, gzipped as policy wants it. The newest entry is dated by
# the build (SOURCE_DATE_EPOCH fixes it for reproducible builds); the released
# entries below it keep the dates they were released on.
string(TIMESTAMP ORBA_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/changelog.in ${PROJECT_BINARY_DIR}/debian/changelog @ONLY)
find_program(GZIP gzip)
if(GZIP)
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/debian/changelog.gz
    COMMAND "${GZIP}" -9nc ${PROJECT_BINARY_DIR}/debian/changelog > ${PROJECT_BINARY_DIR}/debian/changelog.gz
    DEPENDS ${PROJECT_BINARY_DIR}/debian/changelog)
  add_custom_target(debian_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/debian/changelog.gz)
  install(FILES ${PROJECT_BINARY_DIR}/debian/changelog.gz DESTINATION ${doc_dir})
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orba-tools)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "the orba-tools authors")
set(CPACK_PACKAGE_CONTACT "${ORBA_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "test tools for the ORBA card-payment subscription service")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Command-line tools that a merchant runs before sending anything to the
subscription service of the ORBA card-payment server. batchcheck checks a
subscription batch and writes the Response file the server would send back.
pagesim previews a subscription page inside the merchant's HTML template.
pagesim-gallery renders every page at once. batchcheck-describe shows a batch
record by record with its fields and findings. batchcheck-make writes a batch
from a table or from batchcheck-describe's JSON Lines.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_SOURCE_DIR}/build/package)
include(CPack)
