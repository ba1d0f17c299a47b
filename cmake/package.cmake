# The Debian package (cpack -G DEB), built from a tree configured with
# SOLNEKA_SYSTEM_LAYOUT=ON and the prefix /usr; scripts/package.sh does both.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME solneka)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "ソルネカ開発チーム <dev@solneka.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://solneka.invalid/")
# The Qt 6 and SQLite libraries from what the program links; the Japanese
# font the texts need; GNU Go for games against the computer, which the
# program also runs without.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gnugo")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Go (igo) study aid with lessons and a game record library")
# The summary above is the synopsis line; this is the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Solneka is a desktop program for studying the game of Go, with a Japanese
 interface. It replays and keeps game records, reads and writes SGF files,
 plays against GNU Go, and teaches through four lectures of problems
 (tesuji, endgame, life and death, joseki) with a starter library.")
# Permissions as Debian wants them, whatever the umask of the build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

if(SOLNEKA_SYSTEM_LAYOUT)
  include(GNUInstallDirs)
  # A game's program is found in /usr/games too, as Debian has it for the
  # section; the desktop entry and the portable layout use /usr/bin.
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
  file(CREATE_LINK ../bin/solneka ${CMAKE_BINARY_DIR}/packaging/solneka SYMBOLIC)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/solneka DESTINATION games)
  # The copyright file and the changelog, compressed reproducibly, where
  # Debian policy puts them.
  set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/solneka)
  set(changelog_gz ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
  add_custom_command(
    OUTPUT ${changelog_gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
    COMMAND gzip -n -9 -c ${PROJECT_SOURCE_DIR}/packaging/changelog > ${changelog_gz}
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
    COMMENT "Debian changelog")
  set(manual_gz ${CMAKE_BINARY_DIR}/packaging/solneka.6.gz)
  add_custom_command(
    OUTPUT ${manual_gz}
    COMMAND gzip -n -9 -c ${PROJECT_SOURCE_DIR}/packaging/solneka.6 > ${manual_gz}
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/solneka.6
    COMMENT "Manual page")
  add_custom_target(package_changelog ALL DEPENDS ${changelog_gz} ${manual_gz})
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${changelog_gz} DESTINATION ${doc_dir})
  install(FILES ${manual_gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
endif()

include(CPack)
