# What `cmake --install` puts where: the programs in bin/, the unzip library in a folder of its
# own that the programs' run path names (the component looks beside the program, then along the
# library path), and for the reader a desktop launcher and its icon.
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
  install(FILES ${CMAKE_SOURCE_DIR}/resources/folivo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_SOURCE_DIR}/resources/folivo-icon.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps RENAME folivo.png)
endif()
