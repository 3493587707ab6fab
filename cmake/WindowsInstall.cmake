# The Windows installer: CPack's NSIS generator over our own script template
# (cmake/nsis/NSIS.template.in). Made from the x86_64 build tree; give it the i686 build's
# saver with -DLUMI_I686_SCR=<path>/lumivane32.scr so one installer holds both.
install(TARGETS lumivane RUNTIME DESTINATION .)
set(LUMI_I686_SCR "" CACHE FILEPATH "The i686 build's lumivane32.scr, packed beside the x86_64 saver")
if(LUMI_I686_SCR)
  install(FILES ${LUMI_I686_SCR} DESTINATION .)
endif()
# The help page the settings dialogs open lies beside the saver, in the build folder and
# in the installer.
include(${PROJECT_SOURCE_DIR}/cmake/HelpPage.cmake)
if(LUMI_HELP_PAGE)
  install(FILES ${LUMI_HELP_PAGE} DESTINATION .)
endif()

# A 64-bit installer stub, so wine64 can run it here; a 32-bit stub ("x86-unicode") runs
# on both kinds of Windows.
set(CPACK_LUMI_NSIS_TARGET "amd64-unicode" CACHE STRING "makensis Target of the installer stub")
set(CPACK_LUMI_NSIS_ICON ${PROJECT_SOURCE_DIR}/resources/icon/100-lumivane.ico)
list(PREPEND CMAKE_MODULE_PATH ${PROJECT_SOURCE_DIR}/cmake/nsis)

set(CPACK_PACKAGE_NAME lumivane)
set(CPACK_PACKAGE_VENDOR "The Lumivane developers")
set(CPACK_PACKAGE_FILE_NAME "lumivane-${PROJECT_VERSION}-setup")
set(CPACK_GENERATOR NSIS)
include(CPack)
