# Builds the QuillonLib catalogue from the fragments in po/*.po.
# The compiled catalogue is placed twice: under "en" (found by gettext for
# English locales) and under "C.UTF-8", which the library uses as its base
# language when the caller's locale has no translation (see Localization.cpp).
find_program(MSGCAT msgcat REQUIRED)
find_program(MSGFMT msgfmt REQUIRED)

set(QUILLON_BUILD_LOCALEDIR ${CMAKE_BINARY_DIR}/locale)
file(GLOB QUILLON_PO_FRAGMENTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/po/*.po)
set(_merged ${CMAKE_BINARY_DIR}/po/QuillonLib.po)
set(_mo_outputs)
foreach(_lang en C.UTF-8)
  list(APPEND _mo_outputs ${QUILLON_BUILD_LOCALEDIR}/${_lang}/LC_MESSAGES/QuillonLib.mo)
endforeach()

add_custom_command(
  OUTPUT ${_mo_outputs}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/po
  COMMAND ${MSGCAT} --use-first -o ${_merged} ${QUILLON_PO_FRAGMENTS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QUILLON_BUILD_LOCALEDIR}/en/LC_MESSAGES
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QUILLON_BUILD_LOCALEDIR}/C.UTF-8/LC_MESSAGES
  COMMAND ${MSGFMT} --check-format -o ${QUILLON_BUILD_LOCALEDIR}/en/LC_MESSAGES/QuillonLib.mo ${_merged}
  COMMAND ${MSGFMT} --check-format -o ${QUILLON_BUILD_LOCALEDIR}/C.UTF-8/LC_MESSAGES/QuillonLib.mo ${_merged}
  DEPENDS ${QUILLON_PO_FRAGMENTS}
  COMMENT "Compiling the QuillonLib catalogue")
add_custom_target(quillon_catalogue ALL DEPENDS ${_mo_outputs})

foreach(_lang en C.UTF-8)
  install(FILES ${QUILLON_BUILD_LOCALEDIR}/${_lang}/LC_MESSAGES/QuillonLib.mo
          DESTINATION share/locale/${_lang}/LC_MESSAGES)
endforeach()
