# What a user receives: the executable and its checker, the example schedule and the README.
# On Linux `cmake --install` follows the usual tree (bin/, share/doc/plandek/);
# on Windows everything lies side by side in one folder, ready to run where
# it is unpacked, and the package target zips that folder.
include(GNUInstallDirs)

if(WIN32)
  install(TARGETS plandek plandek-check RUNTIME DESTINATION .)
  install(FILES examples/plandek.dat README.md DESTINATION .)
else()
  install(TARGETS plandek plandek-check RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES examples/plandek.dat README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

set(CPACK_PACKAGE_NAME plandek)
set(CPACK_PACKAGE_VENDOR plandek)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "A small background job scheduler")
set(CPACK_GENERATOR ZIP)
set(CPACK_STRIP_FILES ON)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
if(WIN32)
  set(CPACK_SYSTEM_NAME win64)
endif()
include(CPack)
