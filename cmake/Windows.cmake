# Windows build: what a user runs goes into bin/, the tests that run under Wine into tests/.
# The flavour follows the toolchain: win32 (PE32, i386), what ships, or win64 (PE32+, x86-64).
# A win64 tree's tests carry the suffix _win64, so that one ctest run can hold both trees.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(flavour win64)
  set(t _win64)
  set(local_quote_port 18180)
else()
  set(flavour win32)
  set(t "")
  set(local_quote_port 18080)
endif()
math(EXPR local_chart_port "${local_quote_port} + 1")
# Where the scripts that start the stand-in for this tree's programs read its ports.
file(WRITE ${CMAKE_BINARY_DIR}/standin-ports "${local_quote_port} ${local_chart_port}\n")
set(bin_dir ${CMAKE_BINARY_DIR}/bin)
set(test_dir ${CMAKE_BINARY_DIR}/tests)
enable_language(RC)
if(NOT MSVC)
  add_link_options($<$<CONFIG:Release>:-s>)  # stripped: what a user downloads carries no symbols
  # Optimised for size: the binaries are mostly the static C++ runtime and window plumbing,
  # and -O3 made each of them about 10% larger for no time a user would notice.
  set(CMAKE_C_FLAGS_RELEASE "-Os -DNDEBUG")
  set(CMAKE_CXX_FLAGS_RELEASE "-Os -DNDEBUG")
endif()

# Linked into every binary a user runs (runtime/QuietTerminate.cpp says why).
add_library(quiet_terminate OBJECT runtime/QuietTerminate.cpp)

add_library(skinengine_binding STATIC skinengine/win32/SkinEngineLibrary.cpp)
target_include_directories(skinengine_binding PUBLIC ${CMAKE_SOURCE_DIR})

# What the programs' windows and the skin library alike use: subclassing without window
# properties, the code page conversions, a window's text and class name, fonts.
add_library(win32_shared STATIC ui/win32/Subclass.cpp ui/win32/SystemCodePage.cpp ui/win32/WindowBasics.cpp)
target_include_directories(win32_shared PUBLIC ${CMAKE_SOURCE_DIR})

# Our own skin engine library: plain export names from the .def file, stdcall.
add_library(skinh_engine STATIC
  skinlibrary/win32/Engine.cpp
  skinlibrary/win32/WindowProcs.cpp
  skinlibrary/win32/Painting.cpp
  skinlibrary/win32/Shadow.cpp
  skinlibrary/win32/SystemColours.cpp
  skinlibrary/win32/ThemedFrame.cpp
  skinlibrary/win32/Trace.cpp)
target_link_libraries(skinh_engine PUBLIC skin_format win32_shared gdi32 user32)
add_library(SkinH_VB6 SHARED skinlibrary/win32/SkinLibrary.cpp skinlibrary/win32/SkinH_VB6.def
  $<TARGET_OBJECTS:quiet_terminate>)
target_link_libraries(SkinH_VB6 PRIVATE skinh_engine)
set_target_properties(SkinH_VB6 PROPERTIES PREFIX "" OUTPUT_NAME SkinH_VB6
  RUNTIME_DIRECTORY ${bin_dir} RUNTIME_OUTPUT_DIRECTORY ${bin_dir})
if(NOT MSVC)
  # The .def file names the plain export names; link them to the stdcall-decorated symbols.
  target_link_options(SkinH_VB6 PRIVATE -Wl,--enable-stdcall-fixup)
endif()
# The sample skins travel beside the programs.
add_custom_target(sample_skins ALL
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/skins ${bin_dir}/skins)

add_library(win32_ui STATIC ui/win32/DesignedWindow.cpp ui/win32/ControlClass.cpp)
target_include_directories(win32_ui PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(win32_ui PUBLIC win32_shared)

# The calculator's window and platform services, shared by its two builds.
add_library(stock_win32 STATIC stock/win32/StockWindow.cpp stock/win32/PlatformServices.cpp)
target_link_libraries(stock_win32 PUBLIC stock_logic skinengine_binding win32_ui)

# The service addresses are built into each program; nothing configures them at run time.
set(QUORVANE_QUOTE_BASE "http://hq.sinajs.cn" CACHE STRING "Quote service of stock.exe")
set(QUORVANE_CHART_BASE "http://image.sinajs.cn" CACHE STRING "Chart service of stock.exe")
set(QUORVANE_QUOTE_REFERER "https://finance.sina.com.cn/" CACHE STRING
  "Referer that stock.exe sends to its quote service, which refuses requests without one; empty for none")
# Each flavour's stock-local.exe has ports of its own, so that both flavours' tests can run at once.
set(QUORVANE_LOCAL_QUOTE_BASE "http://127.0.0.1:${local_quote_port}" CACHE STRING "Quote service of stock-local.exe")
set(QUORVANE_LOCAL_CHART_BASE "http://127.0.0.1:${local_chart_port}" CACHE STRING "Chart service of stock-local.exe")

# The resource compiler's dependency list leaves out the files a script names as data: without
# these, a changed manifest or icon would leave the programs as they were.
set(program_resources "${CMAKE_SOURCE_DIR}/ui/win32/Program.manifest;${CMAKE_SOURCE_DIR}/ui/win32/Program.rc")
set_source_files_properties(glimmora/win32/glimmora.rc PROPERTIES OBJECT_DEPENDS "${program_resources}")
set_source_files_properties(stock/win32/stock.rc PROPERTIES
  OBJECT_DEPENDS "${program_resources};${CMAKE_SOURCE_DIR}/stock/win32/stock.ico")

function(add_stock_program name quote_base chart_base referer)
  add_executable(${name} WIN32 stock/win32/WinMain.cpp stock/win32/ServiceAddresses.cpp stock/win32/stock.rc
    $<TARGET_OBJECTS:quiet_terminate>)
  if(referer STREQUAL "")
    set(headers "")
  else()
    set(headers "Referer: ${referer}\\r\\n")
  endif()
  target_compile_definitions(${name} PRIVATE
    "QUORVANE_QUOTE_BASE=L\"${quote_base}\"" "QUORVANE_CHART_BASE=L\"${chart_base}\""
    "QUORVANE_QUOTE_HEADERS=\"${headers}\"")
  target_link_libraries(${name} PRIVATE stock_win32)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${bin_dir})
  add_dependencies(${name} SkinH_VB6)
endfunction()

add_stock_program(stock "${QUORVANE_QUOTE_BASE}" "${QUORVANE_CHART_BASE}" "${QUORVANE_QUOTE_REFERER}")
add_stock_program(stock-local "${QUORVANE_LOCAL_QUOTE_BASE}" "${QUORVANE_LOCAL_CHART_BASE}" "")

add_library(glimmora_win32 STATIC
  glimmora/win32/GlimmoraWindow.cpp
  glimmora/win32/DirectoryList.cpp
  glimmora/win32/DriveList.cpp
  glimmora/win32/EntryDrawing.cpp
  glimmora/win32/Win32FileFinder.cpp)
target_link_libraries(glimmora_win32 PUBLIC glimmora_logic win32_ui)

add_executable(glimmora WIN32 glimmora/win32/WinMain.cpp glimmora/win32/glimmora.rc
  $<TARGET_OBJECTS:quiet_terminate>)
target_link_libraries(glimmora PRIVATE glimmora_win32 skinengine_binding)
set_target_properties(glimmora PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${bin_dir})
add_dependencies(glimmora SkinH_VB6)

# What the bench and the window tests drive the programs with, and what the tests add to it,
# each built once for all of them.
add_library(window_driver STATIC tools/window-driver/Driver.cpp)
target_include_directories(window_driver PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(window_driver PUBLIC win32_shared gdi32)
add_library(window_test_support STATIC tests/e2e/WindowDriver.cpp tests/e2e/TestFiles.cpp)
target_link_libraries(window_test_support PUBLIC window_driver ole32 windowscodecs uuid)

include(cmake/Package.cmake)
include(cmake/Bench.cmake)

if(QUORVANE_TESTS)
  # Runs a Windows test program under Wine in the prefix and display that scripts/test prepares.
  set(wine_run ${CMAKE_SOURCE_DIR}/tests/wine/run-under-wine ${flavour})

  function(wine_test name)
    cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBRARIES;FIXTURES" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBRARIES} GTest::gtest_main)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${test_dir})
    add_test(NAME ${name}${t} COMMAND ${wine_run} $<TARGET_FILE:${name}>)
    set_tests_properties(${name}${t} PROPERTIES TIMEOUT ${T_TIMEOUT} FIXTURES_REQUIRED "${T_FIXTURES}")
  endfunction()

  # The stand-in quote and chart service (built in the native tree) runs on the ports of this
  # tree's stock-local.exe while the tests that need it run; it logs to standin.log in the tree.
  set(standin ${CMAKE_SOURCE_DIR}/tools/quote-standin/service)
  set(standin_log ${CMAKE_BINARY_DIR}/standin.log)
  add_test(NAME standin_start${t} COMMAND ${standin} start ${standin_log} ${local_quote_port} ${local_chart_port})
  add_test(NAME standin_stop${t} COMMAND ${standin} stop ${standin_log})
  set_tests_properties(standin_start${t} PROPERTIES FIXTURES_SETUP standin${t})
  set_tests_properties(standin_stop${t} PROPERTIES FIXTURES_CLEANUP standin${t})

  wine_test(wine_number_conversions_test TIMEOUT 60
    SOURCES tests/wine/NumberConversionsWineTest.cpp
    LIBRARIES stock_win32)
  wine_test(wine_subclass_test TIMEOUT 60
    SOURCES tests/wine/SubclassWineTest.cpp
    LIBRARIES win32_shared)
  wine_test(wine_quote_services_test TIMEOUT 180
    SOURCES tests/wine/QuoteServicesWineTest.cpp
    LIBRARIES stock_win32
    FIXTURES standin${t})
  target_compile_definitions(wine_quote_services_test PRIVATE
    "QUORVANE_LOCAL_QUOTE_BASE=L\"${QUORVANE_LOCAL_QUOTE_BASE}\"" "QUORVANE_LOCAL_CHART_BASE=L\"${QUORVANE_LOCAL_CHART_BASE}\"")
  wine_test(wine_skin_library_test TIMEOUT 300
    SOURCES tests/wine/SkinEngineWineTest.cpp
    LIBRARIES skinengine_binding skin_format window_test_support comctl32)
  wine_test(stock_e2e_test TIMEOUT 600
    SOURCES tests/e2e/StockWindowTest.cpp tests/e2e/StockLookupTest.cpp tests/e2e/StockHostileAnswerTest.cpp
    LIBRARIES stock_logic skin_format window_test_support
    FIXTURES standin${t})
  set_property(TEST stock_e2e_test${t} APPEND PROPERTY ENVIRONMENT "GTEST_FILTER=-*ServiceDown*:*ChartPortRefused*")
  # The same program once more with the stand-in stopped, where both ports refuse,
  add_test(NAME stock_e2e_service_down${t} COMMAND ${wine_run} $<TARGET_FILE:stock_e2e_test> --gtest_filter=*ServiceDown*)
  set_tests_properties(stock_e2e_service_down${t} PROPERTIES TIMEOUT 120 DEPENDS standin_stop${t} RUN_SERIAL TRUE)
  # and with only the quote service up, where the chart port refuses (the stand-in's own chart
  # service listens on another).
  math(EXPR unused_port "${local_quote_port} + 11")
  add_test(NAME standin_quotes_only_start${t} COMMAND ${standin} start ${standin_log} ${local_quote_port} ${unused_port})
  add_test(NAME standin_quotes_only_stop${t} COMMAND ${standin} stop ${standin_log})
  set_tests_properties(standin_quotes_only_start${t} PROPERTIES FIXTURES_SETUP standin_quotes_only${t}
    DEPENDS stock_e2e_service_down${t})
  set_tests_properties(standin_quotes_only_stop${t} PROPERTIES FIXTURES_CLEANUP standin_quotes_only${t})
  add_test(NAME stock_e2e_chart_port_refused${t}
    COMMAND ${wine_run} $<TARGET_FILE:stock_e2e_test> --gtest_filter=*ChartPortRefused*)
  set_tests_properties(stock_e2e_chart_port_refused${t} PROPERTIES TIMEOUT 120 FIXTURES_REQUIRED standin_quotes_only${t}
    RUN_SERIAL TRUE)
  # Test programs find our library beside them, through the same ordinary search as the programs.
  add_custom_command(TARGET SkinH_VB6 POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${test_dir}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:SkinH_VB6> ${test_dir}/)
  # Our library once without each of its functions, in tests/without-<function>/, for a program
  # that meets a library lacking what it calls.
  file(STRINGS skinlibrary/win32/SkinH_VB6.def skin_functions REGEX "^ +SkinH_")
  list(TRANSFORM skin_functions STRIP)
  set(libraries_without)
  foreach(missing ${skin_functions})
    set(exports ${skin_functions})
    list(REMOVE_ITEM exports ${missing})
    list(JOIN exports "\n    " exports)
    set(def ${CMAKE_BINARY_DIR}/without-${missing}/SkinH_VB6.def)
    file(CONFIGURE OUTPUT ${def} CONTENT "LIBRARY SkinH_VB6.dll\nEXPORTS\n    ${exports}\n")
    add_library(SkinH_VB6_without_${missing} SHARED skinlibrary/win32/SkinLibrary.cpp ${def})
    target_link_libraries(SkinH_VB6_without_${missing} PRIVATE skinh_engine)
    set_target_properties(SkinH_VB6_without_${missing} PROPERTIES PREFIX "" OUTPUT_NAME SkinH_VB6
      RUNTIME_OUTPUT_DIRECTORY ${test_dir}/without-${missing}
      ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/without-${missing})
    if(NOT MSVC)
      target_link_options(SkinH_VB6_without_${missing} PRIVATE -Wl,--enable-stdcall-fixup)
    endif()
    list(APPEND libraries_without SkinH_VB6_without_${missing})
  endforeach()
  add_dependencies(stock_e2e_test stock stock-local SkinH_VB6 sample_skins)
  add_dependencies(wine_skin_library_test SkinH_VB6 sample_skins)
  wine_test(wine_glimmora_test TIMEOUT 300
    SOURCES tests/wine/GlimmoraListingWineTest.cpp
    LIBRARIES glimmora_win32)
  add_custom_command(OUTPUT ${test_dir}/many-skins/skin09999.she
    COMMAND ${CMAKE_COMMAND} -DFOLDER=${test_dir}/many-skins -P ${CMAKE_SOURCE_DIR}/cmake/MakeManySkins.cmake
    DEPENDS ${CMAKE_SOURCE_DIR}/cmake/MakeManySkins.cmake
    COMMENT "Making 10,000 skin files for the listing test")
  add_custom_target(many_skins DEPENDS ${test_dir}/many-skins/skin09999.she)
  wine_test(glimmora_e2e_test TIMEOUT 600
    SOURCES tests/e2e/GlimmoraWindowTest.cpp tests/e2e/GlimmoraDiskFaultTest.cpp
    LIBRARIES glimmora_logic skin_format window_test_support)
  add_dependencies(glimmora_e2e_test glimmora SkinH_VB6 sample_skins many_skins)
  set_property(TEST glimmora_e2e_test${t} APPEND PROPERTY ENVIRONMENT "GTEST_FILTER=-*CannotRead*")
  add_test(NAME glimmora_e2e_unreadable_start${t}
    COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/run-unprivileged ${flavour} $<TARGET_FILE:glimmora_e2e_test>
            --gtest_filter=*CannotRead*)
  set_tests_properties(glimmora_e2e_unreadable_start${t} PROPERTIES TIMEOUT 120)
  wine_test(skin_engine_faults_e2e_test TIMEOUT 300
    SOURCES tests/e2e/SkinEngineFaultTest.cpp
    LIBRARIES glimmora_logic window_test_support)
  add_dependencies(skin_engine_faults_e2e_test stock glimmora SkinH_VB6 ${libraries_without})
  # The soak: both programs driven for long, their handles probed from inside them by the bench's
  # probe library loaded there. scripts/test runs it short; scripts/soak sets the full length.
  wine_test(soak_e2e_test TIMEOUT 3600
    SOURCES tests/e2e/SoakTest.cpp bench/win32/RemoteProbe.cpp bench/BenchTable.cpp
    LIBRARIES stock_logic glimmora_logic skin_format window_test_support
    FIXTURES standin${t})
  set_property(TEST soak_e2e_test${t} APPEND PROPERTY ENVIRONMENT QUORVANE_SOAK_LOOKUPS=50 QUORVANE_SOAK_SWITCHES=50)
  add_dependencies(soak_e2e_test stock-local glimmora SkinH_VB6 sample_skins probe)
  # The release zip that scripts/package makes, unpacked into a fresh prefix of its own and run
  # there on a display of its own.
  add_test(NAME package_release${t} COMMAND ${CMAKE_SOURCE_DIR}/scripts/package --built ${flavour})
  set_tests_properties(package_release${t} PROPERTIES TIMEOUT 600 FIXTURES_SETUP release_zip${t})
  add_executable(release_test tests/release/ReleaseTest.cpp)
  target_compile_definitions(release_test PRIVATE
    "QUORVANE_QUOTE_BASE=L\"${QUORVANE_QUOTE_BASE}\"" "QUORVANE_CHART_BASE=L\"${QUORVANE_CHART_BASE}\""
    "QUORVANE_LOCAL_QUOTE_BASE=L\"${QUORVANE_LOCAL_QUOTE_BASE}\"")
  target_link_libraries(release_test PRIVATE win32_ui stock_logic glimmora_logic window_test_support userenv
    GTest::gtest_main)
  set_target_properties(release_test PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${test_dir})
  add_dependencies(release_test stock glimmora SkinH_VB6 sample_skins)
  add_test(NAME release_package_test${t}
    COMMAND ${CMAKE_SOURCE_DIR}/tests/release/run-release-test ${flavour} $<TARGET_FILE:release_test>
            ${CMAKE_SOURCE_DIR}/dist/quorvane-${PROJECT_VERSION}-${flavour}.zip)
  set_tests_properties(release_package_test${t} PROPERTIES TIMEOUT 600 FIXTURES_REQUIRED release_zip${t})

  # Tests that read the screen and move the pointer run one at a time on the one display, and so
  # do tests that show a window of their own.
  set_tests_properties(stock_e2e_test${t} stock_e2e_service_down${t} stock_e2e_chart_port_refused${t}
    glimmora_e2e_test${t} glimmora_e2e_unreadable_start${t} wine_glimmora_test${t} wine_skin_library_test${t}
    skin_engine_faults_e2e_test${t} soak_e2e_test${t} PROPERTIES RUN_SERIAL TRUE)

  # A test program that crashes under Wine can end with exit code 0 (a stack overflow in a window
  # procedure did): the test programs pass only when GoogleTest got to its summary and nothing failed.
  set_tests_properties(wine_number_conversions_test${t} wine_subclass_test${t} wine_quote_services_test${t}
    wine_skin_library_test${t} stock_e2e_test${t} stock_e2e_service_down${t} stock_e2e_chart_port_refused${t}
    wine_glimmora_test${t} glimmora_e2e_test${t} glimmora_e2e_unreadable_start${t} skin_engine_faults_e2e_test${t}
    soak_e2e_test${t} release_package_test${t}
    PROPERTIES PASS_REGULAR_EXPRESSION "\\[  PASSED  \\]" FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")
endif()

# A helper of scripts/run: waits for a program's window, or closes it.
add_executable(windowtool scripts/tools/windowtool.cpp)
set_target_properties(windowtool PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

if(QUORVANE_TESTS)
  # The check needs no Wine. It stands in a file of its own, which the tree's tests include, so
  # that scripts/test can run it alone for a flavour that the machine builds but cannot run.
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/BinariesTest.cmake CONTENT
    "add_test(binaries_of_their_machine_type_with_system_imports${t} [[${CMAKE_SOURCE_DIR}/tests/check-binaries]] ${flavour} [[$<TARGET_FILE:stock>]] [[$<TARGET_FILE:stock-local>]] [[$<TARGET_FILE:glimmora>]] [[$<TARGET_FILE:SkinH_VB6>]])\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_BINARY_DIR}/BinariesTest.cmake)
endif()
