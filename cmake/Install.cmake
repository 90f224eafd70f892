# `cmake --install` and `cpack -G DEB`: the program directory goes to lib/reelvista/ (it must stay
# whole: the player finds everything beside its executable), with bin/ links and the desktop's
# files (entry, icons, MIME package) under share/.
set(RV_LIB_DIR lib/reelvista)
# Packing installs what was built; it never starts a build of everything first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

install(TARGETS reelvista reelvista-swf RUNTIME DESTINATION ${RV_LIB_DIR})
# The shipped defaults come from the sources, never from a build directory the player has run in.
foreach(sub config help skin)
  if(EXISTS ${PROJECT_SOURCE_DIR}/data/${sub})
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/${sub} DESTINATION ${RV_LIB_DIR})
  endif()
endforeach()
install(FILES ${RV_PROGRAM_DIR}/config/about.swf DESTINATION ${RV_LIB_DIR}/config)
install(FILES ${RV_PROGRAM_DIR}/demo/demo.swf DESTINATION ${RV_LIB_DIR}/demo)
install(DIRECTORY ${RV_DESKTOP_DIR}/icons DESTINATION ${RV_LIB_DIR})
install(DIRECTORY ${RV_DESKTOP_DIR}/icons DESTINATION share)
install(FILES ${RV_DESKTOP_DIR}/mime/packages/reelvista.xml DESTINATION share/mime/packages)
install(CODE "set(RV_DESKTOP_TOOL \"$<TARGET_FILE:rv-desktop-files>\")")
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/InstallLinks.cmake)

set(CPACK_PACKAGE_NAME reelvista)
set(CPACK_PACKAGE_VENDOR "Reelvista")
set(CPACK_PACKAGE_CONTACT "Reelvista developers <reelvista@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Player for Flash movies (SWF files)")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Native on Wayland sessions; associations and the help page go through the desktop's tools.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, xdg-utils, shared-mime-info, desktop-file-utils")
include(CPack)
