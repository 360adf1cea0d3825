# The Debian package: CPack's DEB generator over this build's install rules.
# scripts/check-deb.sh (make deb) builds it with Debian's flags and checks it.
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
  return()
endif()

# The copyright file and changelog where Debian keeps them; a plain install gets
# them too.
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/manacalc)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/deb/copyright DESTINATION ${doc_dir})
add_custom_command(
  OUTPUT changelog.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/packaging/deb/changelog changelog
  COMMAND ${GZIP} -9nf changelog
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/deb/changelog
  VERBATIM)
add_custom_target(manacalc_changelog ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz DESTINATION ${doc_dir})

# No domain or list exists for the project yet: a reserved, never-delivered domain
# rather than an address that could belong to someone else.
set(MANACALC_DEB_MAINTAINER "the manacalc authors <maintainers@manacalc.invalid>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME manacalc)
set(CPACK_PACKAGE_VENDOR "the manacalc authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "mana regeneration calculator for a game character")
set(CPACK_PACKAGE_DESCRIPTION [=[
manacalc computes a game character's mana regeneration from three values,
INT, Medi and Focus: the mana recovered every 10 seconds, the seconds per
mana point, FPoint, and how much INT, Medi or Focus the next recovery point
needs. Its numbers are digit for digit those of the small Windows program it
replaces.

The package holds the Qt window, manacalc, and its command-line companion,
manacalc-cli, which computes the same for scripts and terminals, one input
line at a time with --batch.
]=])
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${MANACALC_DEB_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window's Japanese captions are laid out for these faces' metrics.
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-ipafont-gothic)
# Without them Qt falls back to X11 (XWayland) on a Wayland desktop. The window
# opens libwayland-client itself, on Wayland only, so dpkg-shlibdeps does not
# see it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, libwayland-client0")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_STRIP_FILES ON)
include(CPack)
