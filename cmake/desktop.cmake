# SPDX-License-Identifier: GPL-3.0-or-later
# What makes Vantrel a desktop program once installed: the menu entry, its icons, its own
# file types, the AppStream description and the help pages; and the manual page, the
# copyright file and the changelog. Paths follow GNUInstallDirs, so
# `cmake --install BUILD --prefix P` and the package put the same files under P.

set(VANTREL_APP_ID app.vantrel.Vantrel)
# The product's web pages, which the invoice names too; the screenshots the AppStream
# description shows are published there from resources/screenshots.
set(VANTREL_HOMEPAGE "https://www.vantrel.app")
set(VANTREL_RELEASE_DATE 2026-12-09)

set(desktop_dir ${PROJECT_SOURCE_DIR}/resources/desktop)
set(icons_dir ${PROJECT_SOURCE_DIR}/resources/icons)
set(hicolor ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

configure_file(${desktop_dir}/vantrel.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/generated/${VANTREL_APP_ID}.metainfo.xml @ONLY)

install(TARGETS vantrel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS vantrel_devices LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/vantrel)
# A stripped install (the package's) drops the compiler's notes in .comment too, as Debian's
# own packages do.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(file ${CMAKE_INSTALL_BINDIR}/vantrel ${CMAKE_INSTALL_LIBDIR}/vantrel/libvantrel_devices.so)
      execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment
                              \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/\${file}\"
                      RESULT_VARIABLE failed)
      if(failed)
        message(FATAL_ERROR \"Could not strip \${file}\")
      endif()
    endforeach()
  endif()")
install(FILES ${desktop_dir}/vantrel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
        RENAME ${VANTREL_APP_ID}.desktop)
install(FILES ${CMAKE_BINARY_DIR}/generated/${VANTREL_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${desktop_dir}/vantrel-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME vantrel.xml)
install(FILES ${icons_dir}/vantrel.svg DESTINATION ${hicolor}/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${icons_dir}/png/vantrel-${size}.png DESTINATION ${hicolor}/${size}x${size}/apps
          RENAME vantrel.png)
endforeach()
# The file types' icons, each with a plainer drawing for 16 px.
foreach(type project price-list customer)
  install(FILES ${icons_dir}/application-x-vantrel-${type}.svg
          DESTINATION ${hicolor}/scalable/mimetypes)
  install(FILES ${icons_dir}/application-x-vantrel-${type}-16.svg
          DESTINATION ${hicolor}/16x16/mimetypes RENAME application-x-vantrel-${type}.svg)
endforeach()
# The program copies these into the user's application folder, in place of its built-in
# pages (see help_pages.h).
install(FILES ${VANTREL_HELP_PAGES} DESTINATION ${CMAKE_INSTALL_DATADIR}/vantrel/help)
foreach(language ${VANTREL_HELP_LANGUAGES})
  install(FILES ${VANTREL_HELP_PAGES_${language}}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/vantrel/help/${language})
endforeach()

# The manual page, in English and in the languages the program speaks, and the two files
# Debian's tools look for beside any program: the copyright in its machine-readable form,
# and the changelog. The pages and the changelog are compressed as Debian packages have them
# (gzip -9n: no name, no time stamp, the same bytes every build).
set(VANTREL_MAN_LANGUAGES de fr)
find_program(GZIP gzip REQUIRED)
configure_file(${PROJECT_SOURCE_DIR}/resources/man/vantrel.1.in ${CMAKE_BINARY_DIR}/generated/vantrel.1
               @ONLY)
set(pages vantrel.1)
foreach(language ${VANTREL_MAN_LANGUAGES})
  configure_file(${PROJECT_SOURCE_DIR}/resources/man/vantrel.${language}.1.in
                 ${CMAKE_BINARY_DIR}/generated/vantrel.${language}.1 @ONLY)
  list(APPEND pages vantrel.${language}.1)
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/resources/package/changelog
               ${CMAKE_BINARY_DIR}/generated/changelog COPYONLY)
set(compressed "")
foreach(page ${pages} changelog)
  set(page ${CMAKE_BINARY_DIR}/generated/${page})
  add_custom_command(OUTPUT ${page}.gz COMMAND ${GZIP} -9 -n -k -f ${page} DEPENDS ${page}
                     COMMENT "Compressing ${page}" VERBATIM)
  list(APPEND compressed ${page}.gz)
endforeach()
add_custom_target(vantrel_pages ALL DEPENDS ${compressed})
install(FILES ${CMAKE_BINARY_DIR}/generated/vantrel.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# man finds a translated page in the folder of its language (man -L de, or LANG=de_DE.UTF-8).
foreach(language ${VANTREL_MAN_LANGUAGES})
  install(FILES ${CMAKE_BINARY_DIR}/generated/vantrel.${language}.1.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/${language}/man1 RENAME vantrel.1.gz)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/resources/package/copyright
              ${CMAKE_BINARY_DIR}/generated/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/vantrel)

# Installed straight onto a live system, the desktop learns of the new file types, menu entry
# and icons at once. Staged installs (DESTDIR, the package) leave that to the package manager.
install(CODE [[
  if("$ENV{DESTDIR}" STREQUAL "" AND NOT CMAKE_INSTALL_PREFIX MATCHES "/_CPack_Packages/")
    set(share "${CMAKE_INSTALL_PREFIX}/share")
    foreach(step "update-mime-database;${share}/mime"
                 "update-desktop-database;-q;${share}/applications"
                 "gtk-update-icon-cache;-q;-t;-f;${share}/icons/hicolor")
      list(GET step 0 tool)
      find_program(tool_path ${tool})
      if(tool_path)
        execute_process(COMMAND ${step} RESULT_VARIABLE ignored OUTPUT_QUIET ERROR_QUIET)
      endif()
      unset(tool_path CACHE)
      unset(tool_path)
    endforeach()
  endif()
]])
