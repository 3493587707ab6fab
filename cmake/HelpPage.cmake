# The help page the settings dialogs open, copied beside the program in the build folder
# so that Help works from a build as it does from an install. LUMI_HELP_PAGE is empty
# while the page does not exist; the glob re-runs the configure step when it appears.
file(GLOB LUMI_HELP_PAGE CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/help/lumivan.htm)
if(LUMI_HELP_PAGE)
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/lumivan.htm
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${LUMI_HELP_PAGE} ${PROJECT_BINARY_DIR}/lumivan.htm
    DEPENDS ${LUMI_HELP_PAGE} VERBATIM)
  add_custom_target(lumi_help_page ALL DEPENDS ${PROJECT_BINARY_DIR}/lumivan.htm)
  add_dependencies(lumivane lumi_help_page)
endif()
