# SPDX-License-Identifier: GPL-3.0-or-later
# Embeds the help pages in the core, which copies any that are missing into the application
# folder at start-up. Editing a page reconfigures the build.
file(GLOB VANTREL_HELP_PAGES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.html
     ${CMAKE_CURRENT_LIST_DIR}/*.htm
     ${CMAKE_CURRENT_LIST_DIR}/*.css)
list(SORT VANTREL_HELP_PAGES)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${VANTREL_HELP_PAGES})
set(help_arrays "")
set(help_list "")
set(help_index 0)
foreach(page ${VANTREL_HELP_PAGES})
  get_filename_component(page_name ${page} NAME)
  file(READ ${page} page_hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," page_bytes "${page_hex}")
  string(APPEND help_arrays "const unsigned char kHelpPage${help_index}[] = {${page_bytes}};\n")
  string(APPEND help_list "    {\"${page_name}\", kHelpPage${help_index}, sizeof kHelpPage${help_index}},\n")
  math(EXPR help_index "${help_index} + 1")
endforeach()
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/vantrel_help_pages.inc
     CONTENT "// Generated from resources/help by help_pages.cmake.\n${help_arrays}\nconst EmbeddedPage kHelpPages[] = {\n${help_list}};\n"
     @ONLY)
