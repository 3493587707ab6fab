# Where the Linux build's files go on install (cmake --install, honouring DESTDIR and
# CMAKE_INSTALL_PREFIX), and the Debian package CPack makes of them.
include(GNUInstallDirs)
# Installing and packaging need only the program and its files, not the test suites.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(LUMI_LINUX_RES ${PROJECT_SOURCE_DIR}/resources/linux)
set(LUMI_STAGE ${PROJECT_BINARY_DIR}/install-stage)

install(TARGETS lumivane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# XScreenSaver looks for its hacks in libexec/xscreensaver; a relative link keeps the
# program itself in bin/ for users who start it by hand.
file(MAKE_DIRECTORY ${LUMI_STAGE})
file(RELATIVE_PATH _to_bin /${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver /${CMAKE_INSTALL_BINDIR}/lumivane)
file(CREATE_LINK ${_to_bin} ${LUMI_STAGE}/lumivane SYMBOLIC)
install(FILES ${LUMI_STAGE}/lumivane DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver)
install(FILES ${LUMI_LINUX_RES}/lumivane.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/xscreensaver/config)

# Debian wants manual pages and the changelog compressed, reproducibly (no time stamp).
find_program(GZIP_PROGRAM gzip REQUIRED)
set(_gz_inputs ${LUMI_LINUX_RES}/lumivane.6 ${LUMI_LINUX_RES}/lumivane-settings.1 ${LUMI_LINUX_RES}/changelog)
set(_gz_outputs "")
foreach(_in ${_gz_inputs})
  get_filename_component(_name ${_in} NAME)
  set(_out ${LUMI_STAGE}/${_name}.gz)
  add_custom_command(OUTPUT ${_out} COMMAND ${GZIP_PROGRAM} -9nc ${_in} > ${_out} DEPENDS ${_in} VERBATIM)
  list(APPEND _gz_outputs ${_out})
endforeach()
add_custom_target(lumi_install_files ALL DEPENDS ${_gz_outputs})
install(FILES ${LUMI_STAGE}/lumivane.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${LUMI_STAGE}/changelog.gz ${LUMI_LINUX_RES}/copyright
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/lumivane)

install(DIRECTORY ${LUMI_LINUX_RES}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# The help page the settings' Help buttons open.
include(${PROJECT_SOURCE_DIR}/cmake/HelpPage.cmake)
if(LUMI_HELP_PAGE)
  install(FILES ${LUMI_HELP_PAGE} DESTINATION ${CMAKE_INSTALL_DATADIR}/lumivane)
endif()
# The settings application with its manual page, its menu entry and the package's
# AppStream description (which launches that entry). Its target may be defined after this
# file is read: look for it once the top directory is complete. A build without it
# installs the saver alone, so no menu entry ever starts a missing program.
function(lumi_install_settings_program)
  if(TARGET lumivane-settings)
    install(TARGETS lumivane-settings RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${LUMI_STAGE}/lumivane-settings.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${LUMI_LINUX_RES}/lumivane-settings.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${LUMI_LINUX_RES}/invalid.lumivane.lumivane.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL lumi_install_settings_program)

set(CPACK_PACKAGE_NAME lumivane)
set(CPACK_PACKAGE_VENDOR "The Lumivane developers")
set(CPACK_PACKAGE_CONTACT "The Lumivane developers <developers@lumivane.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "night-sky screen saver with messages written in stars")
set(CPACK_PACKAGE_DESCRIPTION "A living night sky for XScreenSaver: twinkling and shooting stars, the
moon in its true phase for the present moment, and messages written with a
few thousand stars that fly together to form your words, a heart, the time
or a countdown. It also runs in a window, and draws the sky into a PNG
picture without a display.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at the first sound rather than linked, so the library scan cannot see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libsdl2-mixer-2.0-0")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xscreensaver")
set(CPACK_GENERATOR DEB)
include(CPack)
