# Installation and the Debian package: the program, its manual page, the
# authors' guide and the sample game (vesk-kit installs itself beside, from
# src/).
include(GNUInstallDirs)

# The manual page names the installed sample game and guide, so it is filled in
# with this build's installation directories.
set(VESK_DEMO_DIR "${CMAKE_INSTALL_FULL_DATADIR}/vesk/demo")
set(VESK_GUIDE "${CMAKE_INSTALL_FULL_DOCDIR}/authoring.md")
configure_file(docs/vesk.6.in docs/vesk.6 @ONLY)

install(TARGETS vesk RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/docs/vesk.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
# The guide and the kit's notes that it points at, side by side.
install(FILES docs/authoring.md docs/vesk-kit-play.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY games/demo DESTINATION ${CMAKE_INSTALL_DATADIR}/vesk)
# The engine's web build and the page's files, where vesk-kit publish finds
# them; installed when make web has built them.
foreach(file vesk.js vesk.wasm page.html page.css page.js)
  install(FILES ${VESK_WEB_FILES}/${file} DESTINATION ${CMAKE_INSTALL_DATADIR}/vesk/web OPTIONAL)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vesk)
set(CPACK_PACKAGE_VERSION "1.0~alpha")
set(CPACK_PACKAGE_CONTACT "vesk developers <vesk@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "console text-adventure engine with turn-based combat")
set(CPACK_PACKAGE_DESCRIPTION
    "vesk plays text adventures made of numbered plain-text content files, with turn-based combat and small scripts. It comes with a sample game and the authors' guide.")
# The package installs under the prefix that the manual page was filled in with.
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
find_program(VESK_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(VESK_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6, libgcc-s1")
endif()
include(CPack)
