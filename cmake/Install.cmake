# What `cmake --install` puts where: the programs in bin/, the unzip library in a folder of its
# own that the programs' run path names (the component looks beside the program, then along the
# library path), and for the reader its manual page, a desktop launcher that opens issues, the issue
# file type, the software-centre listing and its icon at every size.
set(FOLIVO_LIBRARY_DIR ${CMAKE_INSTALL_LIBDIR}/folivo)
file(RELATIVE_PATH library_from_bin /${CMAKE_INSTALL_BINDIR} /${FOLIVO_LIBRARY_DIR})
set(programs kvxtool)
if(TARGET folivo)
  list(APPEND programs folivo)
endif()
set_target_properties(${programs} PROPERTIES INSTALL_RPATH "$ORIGIN/${library_from_bin}")
install(TARGETS ${programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS kvx LIBRARY DESTINATION ${FOLIVO_LIBRARY_DIR})
if(TARGET folivo)
  set(resources ${CMAKE_SOURCE_DIR}/resources)
  install(FILES ${CMAKE_SOURCE_DIR}/tools/folivo.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${resources}/folivo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${resources}/folivo-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME folivo.xml)
  install(FILES ${resources}/org.folivo.Folivo.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${resources}/folivo-icon.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps
          RENAME folivo.png)
  install(FILES ${resources}/folivo-icon.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
          RENAME folivo.svg)
endif()
