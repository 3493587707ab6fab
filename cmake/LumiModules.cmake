# Each folder under src/ is one static library, lumi_<folder>; its sources are found by
# glob so a new file needs no edit here. Tests under tests/<folder> become test_<folder>.

set(LUMI_SRC ${PROJECT_SOURCE_DIR}/src)

# The layers, bottom to top, as README's Layout section lists them: each module links
# only the modules before it, so an include that points up fails to link (and
# tools/check_layers.py, run as test_layers, names the file).
set(LUMI_MODULES base gfx platform support settings media content mail sky dialogs moon scene host shell)

if(LUMI_PLATFORM STREQUAL "posix")
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
  pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
  pkg_check_modules(PNG REQUIRED IMPORTED_TARGET libpng)
  pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11 xext xrandr)
  pkg_check_modules(JPEG REQUIRED IMPORTED_TARGET libjpeg)
  pkg_check_modules(SDLMIXER REQUIRED IMPORTED_TARGET SDL2_mixer)
  find_package(Threads REQUIRED)
  find_package(OpenSSL REQUIRED)
endif()

set(_below "")
foreach(m ${LUMI_MODULES})
  if(m STREQUAL "platform")
    file(GLOB _srcs CONFIGURE_DEPENDS ${LUMI_SRC}/platform/*.cpp ${LUMI_SRC}/platform/${LUMI_PLATFORM}/*.cpp)
    if(LUMI_PLATFORM STREQUAL "posix")
      file(GLOB _more CONFIGURE_DEPENDS ${LUMI_SRC}/platform/x11/*.cpp)
      list(APPEND _srcs ${_more})
    endif()
  elseif(m STREQUAL "shell")
    # The shells of this platform; the entry points (main/) belong to the executables.
    file(GLOB _srcs CONFIGURE_DEPENDS ${LUMI_SRC}/shell/*.cpp ${LUMI_SRC}/shell/headless/*.cpp)
    if(LUMI_PLATFORM STREQUAL "posix")
      file(GLOB _more CONFIGURE_DEPENDS ${LUMI_SRC}/shell/x11/*.cpp)
    else()
      file(GLOB _more CONFIGURE_DEPENDS ${LUMI_SRC}/shell/win32/*.cpp)
    endif()
    list(APPEND _srcs ${_more})
  else()
    file(GLOB_RECURSE _srcs CONFIGURE_DEPENDS ${LUMI_SRC}/${m}/*.cpp)
  endif()
  if(_srcs)
    add_library(lumi_${m} STATIC ${_srcs})
    target_include_directories(lumi_${m} PUBLIC ${LUMI_SRC} ${PROJECT_BINARY_DIR}/generated)
    target_compile_definitions(lumi_${m} PUBLIC LUMI_VERSION="${PROJECT_VERSION}")
    foreach(d ${_below})
      target_link_libraries(lumi_${m} PUBLIC lumi_${d})
    endforeach()
    list(APPEND _below ${m})
  endif()
endforeach()

if(TARGET lumi_platform)
  if(LUMI_PLATFORM STREQUAL "posix")
    target_link_libraries(lumi_platform PUBLIC PkgConfig::FREETYPE PkgConfig::FONTCONFIG
      PkgConfig::PNG PkgConfig::JPEG Threads::Threads OpenSSL::SSL OpenSSL::Crypto)
    target_link_libraries(lumi_platform PUBLIC PkgConfig::X11)
    # Only the mixer's headers: the sound player loads the library at its first sound.
    target_include_directories(lumi_platform PRIVATE ${SDLMIXER_INCLUDE_DIRS})
    target_compile_options(lumi_platform PRIVATE ${SDLMIXER_CFLAGS_OTHER})
    target_link_libraries(lumi_platform PUBLIC ${CMAKE_DL_LIBS})
  else()
    target_link_libraries(lumi_platform PUBLIC gdi32 user32 kernel32 advapi32 comctl32
      comdlg32 shell32 ole32 oleaut32 uuid winmm ws2_32 msimg32 version windowscodecs secur32 crypt32)
  endif()
endif()

# The maker's addresses on the "About" page; the page hides a button whose address is empty.
set(LUMI_WEB_ADDRESS "" CACHE STRING "Web page with newer versions (the About page appends ?CurrentUserVer=)")
set(LUMI_CONTACT_ADDRESS "" CACHE STRING "Mail address of the About page's contact button")
if(TARGET lumi_dialogs)
  target_compile_definitions(lumi_dialogs PRIVATE "LUMI_WEB_ADDRESS=\"${LUMI_WEB_ADDRESS}\""
    "LUMI_CONTACT_ADDRESS=\"${LUMI_CONTACT_ADDRESS}\"")
endif()

# Everything the program and the tests link.
add_library(lumi_all INTERFACE)
foreach(m ${LUMI_MODULES})
  if(TARGET lumi_${m})
    target_link_libraries(lumi_all INTERFACE lumi_${m})
  endif()
endforeach()

include(${PROJECT_SOURCE_DIR}/cmake/Resources.cmake OPTIONAL)

if(WIN32)
  enable_language(RC)
  file(GLOB _rc CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/win32/*.rc)
  # windres does not report what a script pulls in: name it, so a changed picture,
  # sound, icon or manifest rebuilds the resources.
  file(GLOB_RECURSE _rc_inputs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/bitmaps/*
    ${PROJECT_SOURCE_DIR}/resources/sounds/* ${PROJECT_SOURCE_DIR}/resources/icon/*
    ${PROJECT_SOURCE_DIR}/resources/win32/*.h ${PROJECT_SOURCE_DIR}/resources/win32/*.manifest)
  set_source_files_properties(${_rc} PROPERTIES OBJECT_DEPENDS "${_rc_inputs}")
  add_executable(lumivane WIN32 ${LUMI_SRC}/shell/main/Win32Main.cpp ${_rc})
  set_target_properties(lumivane PROPERTIES SUFFIX ".scr")
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set_target_properties(lumivane PROPERTIES OUTPUT_NAME lumivane32)
  endif()
else()
  add_executable(lumivane ${LUMI_SRC}/shell/main/PosixMain.cpp)
endif()
target_link_libraries(lumivane PRIVATE lumi_all)

if(LUMI_TESTS)
  enable_testing()
  find_package(GTest REQUIRED)
  include(GoogleTest)
  file(GLOB _common CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/common/*.cpp)
  list(FILTER _common EXCLUDE REGEX "/TestMain\\.cpp$")
  add_library(lumi_testing STATIC ${_common})
  # The shared fixtures open settings files and logs, so they sit on the settings store.
  target_link_libraries(lumi_testing PUBLIC lumi_settings GTest::gtest GTest::gmock)
  # The test runner's main starts the platform (clock, log) as the programs do.
  add_library(lumi_test_main OBJECT ${PROJECT_SOURCE_DIR}/tests/common/TestMain.cpp)
  target_link_libraries(lumi_test_main PUBLIC lumi_testing)
  target_include_directories(lumi_testing PUBLIC ${PROJECT_SOURCE_DIR}/tests)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  add_test(NAME test_layers COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tools/check_layers.py
    ${PROJECT_SOURCE_DIR})
  file(GLOB _testdirs LIST_DIRECTORIES true ${PROJECT_SOURCE_DIR}/tests/*)
  foreach(dir ${_testdirs})
    get_filename_component(name ${dir} NAME)
    if(IS_DIRECTORY ${dir} AND NOT name MATCHES "^(common|data|fuzz)$")
      file(GLOB_RECURSE _tsrcs CONFIGURE_DEPENDS ${dir}/*Test.cpp)
      if(_tsrcs)
        add_executable(test_${name} ${_tsrcs})
        # A suite links only its own module (and what that calls), so one module's
        # unfinished work does not stop the others' tests from building.
        if(TARGET lumi_${name})
          target_link_libraries(test_${name} PRIVATE lumi_${name})
        else()
          target_link_libraries(test_${name} PRIVATE lumi_all)
        endif()
        target_link_libraries(test_${name} PRIVATE lumi_testing lumi_test_main)
        # These suites start the built program itself.
        if(name MATCHES "^(moon|host|shell|platform|mail)$")
          add_dependencies(test_${name} lumivane)
        endif()
        target_compile_definitions(test_${name} PRIVATE
          LUMI_SOURCE_DIR="${PROJECT_SOURCE_DIR}" LUMI_BINARY_DIR="${PROJECT_BINARY_DIR}")
        gtest_discover_tests(test_${name} DISCOVERY_MODE PRE_TEST
          PROPERTIES ENVIRONMENT "LUMI_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
      endif()
    endif()
  endforeach()
endif()

if(LUMI_BENCHMARKS)
  find_package(benchmark REQUIRED)
  file(GLOB _benches CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/benchmarks/*.cpp)
  foreach(b ${_benches})
    get_filename_component(name ${b} NAME_WE)
    add_executable(${name} ${b})
    target_link_libraries(${name} PRIVATE lumi_all benchmark::benchmark_main)
  endforeach()
endif()

if(LUMI_TOOLS AND NOT WIN32)
  file(GLOB _tools CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/*.cpp)
  foreach(t ${_tools})
    get_filename_component(name ${t} NAME_WE)
    add_executable(${name} ${t})
    target_link_libraries(${name} PRIVATE lumi_all)
  endforeach()
endif()

if(LUMI_FUZZ)
  file(GLOB _fuzz CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/fuzz/*.cpp)
  foreach(f ${_fuzz})
    get_filename_component(name ${f} NAME_WE)
    add_executable(${name} ${f})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    # The untrusted inputs (files, settings text, pictures) are all read at or below content.
    target_link_libraries(${name} PRIVATE lumi_content)
  endforeach()
endif()
