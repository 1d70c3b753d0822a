# Installation and the Debian package.
#
#   PREFIX/lib/vaultquill/   vaultquill, vaultquill-cli, Languages/, html/ side by side: the
#                            programs find their language files and help pages through their
#                            own path (/proc/self/exe), whatever way they were started
#   PREFIX/bin/              links to both programs, so that they are on the PATH
#   PREFIX/share/applications/vaultquill.desktop, PREFIX/share/icons/hicolor/scalable/apps/
#
# `cmake --install BUILD [--prefix DIR]` lays this out; `cpack -G DEB` in the build folder makes
# vaultquill_VERSION_ARCH.deb with the libraries' packages found by dpkg-shlibdeps.
set(VQ_INSTALL_PROGRAM_DIR "lib/vaultquill" CACHE STRING
    "Folder below the prefix that holds the programs with their languages and help pages")

set(vq_installed_programs)
foreach(program IN ITEMS vaultquill vaultquill-cli)
  if(TARGET ${program})
    list(APPEND vq_installed_programs ${program})
  endif()
endforeach()

if(vq_installed_programs)
  install(TARGETS ${vq_installed_programs} RUNTIME DESTINATION ${VQ_INSTALL_PROGRAM_DIR})
  install(DIRECTORY ${VQ_LANGUAGES_OUTPUT_DIR}/ DESTINATION ${VQ_INSTALL_PROGRAM_DIR}/Languages
          FILES_MATCHING PATTERN "*.language")

  # Relative links, made here and installed as links: the tree can move as a whole (DESTDIR,
  # the package) and the links still lead to the programs.
  file(RELATIVE_PATH program_dir_from_bin /prefix/bin /prefix/${VQ_INSTALL_PROGRAM_DIR})
  set(links_dir ${CMAKE_BINARY_DIR}/install-links)
  file(MAKE_DIRECTORY ${links_dir})
  foreach(program IN LISTS vq_installed_programs)
    file(CREATE_LINK ${program_dir_from_bin}/${program} ${links_dir}/${program} SYMBOLIC)
    install(FILES ${links_dir}/${program} DESTINATION bin)
  endforeach()
endif()

if(TARGET vaultquill)
  install(FILES ${VQ_HELP_FILES} DESTINATION ${VQ_INSTALL_PROGRAM_DIR}/html)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/vaultquill.desktop DESTINATION share/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/100.svg
          DESTINATION share/icons/hicolor/scalable/apps RENAME vaultquill.svg)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vaultquill)
set(CPACK_PACKAGE_VENDOR "Orlavo software")
set(CPACK_PACKAGE_CONTACT "VaultQuill developers <dev@vaultquill.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "keeper of private notes and passwords, encrypted per user")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "VaultQuill keeps private notes and passwords for the people who share one\n"
       "computer. Each person is a user with a file of their own, enciphered with\n"
       "AES-256 under a key derived from the user's password, holding a tree of\n"
       "folders and notes with attached files. The package holds the desktop\n"
       "program and the command-line tool vaultquill-cli.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Opening help pages, web addresses and the data folder goes through xdg-open; the update check
# speaks HTTPS through Qt's OpenSSL back end, which loads libssl when it is needed.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, libssl3")
if(VQ_MAKER_SITE)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${VQ_MAKER_SITE}")
endif()
include(CPack)
