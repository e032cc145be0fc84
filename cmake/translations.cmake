# SPDX-License-Identifier: GPL-3.0-or-later
# The message catalogs: each po/LANG.po compiled by msgfmt into locale/LANG/LC_MESSAGES in
# the build folder, where the program, the script driver and the tests find them beside
# themselves, and installed under share/locale, where the installed program finds them.
find_program(MSGFMT msgfmt REQUIRED)
file(GLOB VANTREL_CATALOGS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/po/*.po)
set(vantrel_compiled_catalogs "")
foreach(po ${VANTREL_CATALOGS})
  get_filename_component(lang ${po} NAME_WE)
  set(folder ${CMAKE_BINARY_DIR}/locale/${lang}/LC_MESSAGES)
  add_custom_command(
    OUTPUT ${folder}/vantrel.mo
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${MSGFMT} --check -o ${folder}/vantrel.mo ${po}
    DEPENDS ${po}
    COMMENT "Compiling the ${lang} catalog")
  list(APPEND vantrel_compiled_catalogs ${folder}/vantrel.mo)
  install(FILES ${folder}/vantrel.mo DESTINATION ${CMAKE_INSTALL_LOCALEDIR}/${lang}/LC_MESSAGES)
endforeach()
add_custom_target(vantrel_catalogs ALL DEPENDS ${vantrel_compiled_catalogs})
