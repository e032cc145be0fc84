# SPDX-License-Identifier: GPL-3.0-or-later
# Embeds the help pages in the core, which copies any that are missing into the application
# folder at start-up. The English pages lie here, each translation in a folder named by its
# language code (the same page names, sharing the stylesheet here). Editing a page
# reconfigures the build.
set(VANTREL_HELP_LANGUAGES de fr)
set(help_dir ${CMAKE_CURRENT_LIST_DIR})
file(GLOB VANTREL_HELP_PAGES CONFIGURE_DEPENDS ${help_dir}/*.html ${help_dir}/*.htm
     ${help_dir}/*.css)
list(SORT VANTREL_HELP_PAGES)
set(help_all ${VANTREL_HELP_PAGES})
foreach(language ${VANTREL_HELP_LANGUAGES})
  file(GLOB VANTREL_HELP_PAGES_${language} CONFIGURE_DEPENDS ${help_dir}/${language}/*.html
       ${help_dir}/${language}/*.htm)
  list(SORT VANTREL_HELP_PAGES_${language})
  list(APPEND help_all ${VANTREL_HELP_PAGES_${language}})
endforeach()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${help_all})
set(help_arrays "")
set(help_list "")
set(help_index 0)
foreach(page ${help_all})
  file(RELATIVE_PATH page_name ${help_dir} ${page})
  file(READ ${page} page_hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," page_bytes "${page_hex}")
  string(APPEND help_arrays "const unsigned char kHelpPage${help_index}[] = {${page_bytes}};\n")
  string(APPEND help_list "    {\"${page_name}\", kHelpPage${help_index}, sizeof kHelpPage${help_index}},\n")
  math(EXPR help_index "${help_index} + 1")
endforeach()
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/vantrel_help_pages.inc
     CONTENT "// Generated from resources/help by help_pages.cmake.\n${help_arrays}\nconst EmbeddedPage kHelpPages[] = {\n${help_list}};\n"
     @ONLY)
