# lumivane-settings: the settings dialogs as a GTK 3 application for Linux desktops. It is a
# program of its own, so the saver itself stays small and starts fast.
if(NOT LUMI_PLATFORM STREQUAL "posix")
  return()
endif()

pkg_check_modules(GTK3 REQUIRED IMPORTED_TARGET gtk+-3.0)
file(GLOB _gtk_srcs CONFIGURE_DEPENDS ${LUMI_SRC}/shell/gtk/*.cpp)
list(FILTER _gtk_srcs EXCLUDE REGEX "/SettingsMain\\.cpp$")
# Everything but main, so the shell's tests can reach the pieces that need no display.
add_library(lumi_settings_gtk STATIC ${_gtk_srcs})
target_link_libraries(lumi_settings_gtk PUBLIC lumi_dialogs PkgConfig::GTK3)
# Run from the build tree, the help page is found in the sources.
target_compile_definitions(lumi_settings_gtk PRIVATE LUMI_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
add_executable(lumivane-settings ${LUMI_SRC}/shell/gtk/SettingsMain.cpp)
target_link_libraries(lumivane-settings PRIVATE lumi_settings_gtk)

if(TARGET test_shell)
  target_link_libraries(test_shell PRIVATE lumi_settings_gtk)
  add_dependencies(test_shell lumivane-settings)
endif()
