# The message catalog: po/en.po, compiled by msgfmt into quintor.mo. The build puts it into "locale/"
# beside the program and the inspection tool (the portable layout); installing puts it under share/locale.
# `update-translations` extracts po/quintor.pot from the sources with xgettext and merges it into en.po.
find_program(QUINTOR_MSGFMT msgfmt REQUIRED)
find_program(QUINTOR_XGETTEXT xgettext)
find_program(QUINTOR_MSGMERGE msgmerge)

set(quintor_po ${PROJECT_SOURCE_DIR}/po/en.po)
set(quintor_catalog ${CMAKE_BINARY_DIR}/locale/en/LC_MESSAGES/quintor.mo)
set(quintor_catalog_copies ${CMAKE_BINARY_DIR}/app/locale/en/LC_MESSAGES/quintor.mo
                           ${CMAKE_BINARY_DIR}/tools/quintor-reflist/locale/en/LC_MESSAGES/quintor.mo)
set(quintor_copy_commands "")
foreach(copy ${quintor_catalog_copies})
  list(APPEND quintor_copy_commands COMMAND ${CMAKE_COMMAND} -E copy ${quintor_catalog} ${copy})
endforeach()
add_custom_command(
  OUTPUT ${quintor_catalog} ${quintor_catalog_copies}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/locale/en/LC_MESSAGES
  COMMAND ${QUINTOR_MSGFMT} --check -o ${quintor_catalog} ${quintor_po}
  ${quintor_copy_commands}
  DEPENDS ${quintor_po}
  COMMENT "Compiling the English message catalog"
  VERBATIM)
add_custom_target(quintor_catalog ALL DEPENDS ${quintor_catalog} ${quintor_catalog_copies})
install(FILES ${quintor_catalog} DESTINATION ${CMAKE_INSTALL_LOCALEDIR}/en/LC_MESSAGES)

if(QUINTOR_XGETTEXT AND QUINTOR_MSGMERGE)
  # The core's literals are Windows-1252 byte escapes ("Gr\xFCn"), the windows' are \u escapes; every
  # source file is ASCII outside its comments, so one pass reading Windows-1252 takes both right.
  add_custom_target(
    update-translations
    COMMAND ${CMAKE_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR} -DXGETTEXT=${QUINTOR_XGETTEXT}
            -DMSGMERGE=${QUINTOR_MSGMERGE} -P ${PROJECT_SOURCE_DIR}/cmake/update_translations.cmake
    COMMENT "Extracting po/quintor.pot and merging it into po/en.po"
    VERBATIM)
endif()
