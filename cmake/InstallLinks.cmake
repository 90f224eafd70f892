# Runs at install time: bin/ links into the program directory, and the desktop entry, whose Exec
# names the installed program by its full path (written by rv-desktop-files, which escapes it as
# desktop entries require).
set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
file(MAKE_DIRECTORY "${root}/bin" "${root}/share/applications")
foreach(exe reelvista reelvista-swf)
  file(CREATE_LINK ../lib/reelvista/${exe} "${root}/bin/${exe}" SYMBOLIC)
endforeach()
execute_process(COMMAND "${RV_DESKTOP_TOOL}" entry "${CMAKE_INSTALL_PREFIX}/bin/reelvista"
  "${root}/share/applications/reelvista.desktop" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot write the desktop entry")
endif()
