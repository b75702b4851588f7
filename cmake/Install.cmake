# `cmake --install build [--prefix DIR]` installs the viewer as a desktop
# application that works on its own, and nothing else of the build:
#   DIR/lib/brantel-stock/   the program folder (BrantelStock, StockUpdater,
#                            stock_resource.so, Config_MNUV.txt naming the
#                            reference server as server 0, and
#                            brantel-quote-service, which runs that server);
#                            where the user can write there, the updater
#                            replaces its files
#   DIR/bin/brantel-stock    the launcher on the PATH (starts the server too)
#   DIR/bin/brantel-quote-server, DIR/bin/brantel-quote
#                            the reference server and the terminal client
#   DIR/share/brantel-stock/market/  the sample market the server serves
#   DIR/share/systemd/user/ (DIR/lib/systemd/user/ when DIR is /usr)
#                            brantel-quote-server.service, the user unit
#   DIR/share/applications/  the desktop entry
#   DIR/share/metainfo/      the AppStream metainfo
#   DIR/share/icons/hicolor/ the icon (picture 110) at each size and scalable
set(program_folder lib/brantel-stock)
set(linux_dir ${CMAKE_SOURCE_DIR}/resources/linux)

if(TARGET BrantelStock)
  install(TARGETS BrantelStock RUNTIME DESTINATION ${program_folder})
endif()
if(TARGET StockUpdater)
  install(TARGETS StockUpdater RUNTIME DESTINATION ${program_folder})
endif()
if(TARGET stock_resource)
  install(TARGETS stock_resource LIBRARY DESTINATION ${program_folder})
endif()
# The reference server's defaults; edit the installed copy for another server.
install(FILES ${linux_dir}/Config_MNUV.txt DESTINATION ${program_folder})
install(PROGRAMS ${linux_dir}/brantel-stock DESTINATION bin)
install(PROGRAMS ${linux_dir}/brantel-quote-service DESTINATION ${program_folder})
if(TARGET brantel-quote-server)
  install(TARGETS brantel-quote-server RUNTIME DESTINATION bin)
endif()
if(TARGET brantel-quote)
  install(TARGETS brantel-quote RUNTIME DESTINATION bin)
endif()
install(DIRECTORY ${CMAKE_SOURCE_DIR}/tools/quote-server/data/ DESTINATION share/brantel-stock/market
  FILES_MATCHING PATTERN "*.txt")

# The unit starts the server by its installed path, known only at install
# time; a system prefix keeps user units under lib/, any other under share/
# (where the user's systemd finds them through XDG_DATA_DIRS or ~/.local/share).
install(CODE "
  set(prefix \"\${CMAKE_INSTALL_PREFIX}\")
  if(prefix STREQUAL \"/usr\")
    set(unit_dir \"\${prefix}/lib/systemd/user\")
  else()
    set(unit_dir \"\${prefix}/share/systemd/user\")
  endif()
  configure_file(\"${linux_dir}/brantel-quote-server.service.in\" \"${CMAKE_BINARY_DIR}/linux/brantel-quote-server.service\" @ONLY)
  file(INSTALL \"${CMAKE_BINARY_DIR}/linux/brantel-quote-server.service\" DESTINATION \"\${unit_dir}\")
")

# The entry starts the launcher by its installed path, known only at install time.
install(CODE "
  set(prefix \"\${CMAKE_INSTALL_PREFIX}\")
  configure_file(\"${linux_dir}/${BRANTEL_APP_ID}.desktop.in\" \"${CMAKE_BINARY_DIR}/linux/${BRANTEL_APP_ID}.desktop\" @ONLY)
  file(INSTALL \"${CMAKE_BINARY_DIR}/linux/${BRANTEL_APP_ID}.desktop\" DESTINATION \"\${CMAKE_INSTALL_PREFIX}/share/applications\")
")
set(version ${PROJECT_VERSION})
configure_file(${linux_dir}/${BRANTEL_APP_ID}.metainfo.xml ${CMAKE_BINARY_DIR}/linux/${BRANTEL_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/linux/${BRANTEL_APP_ID}.metainfo.xml DESTINATION share/metainfo)

install(FILES ${CMAKE_SOURCE_DIR}/resources/art/viewer/110_app_icon.svg
  DESTINATION share/icons/hicolor/scalable/apps RENAME ${BRANTEL_APP_ID}.svg)
foreach(size ${BRANTEL_ICON_SIZES})
  install(FILES ${BRANTEL_ICON_DIR}/${size}x${size}/${BRANTEL_APP_ID}.png
    DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()
