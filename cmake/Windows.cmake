# Windows build: what a user runs goes into bin/, the tests that run under Wine into tests/.
set(bin_dir ${CMAKE_BINARY_DIR}/bin)
set(test_dir ${CMAKE_BINARY_DIR}/tests)
enable_language(RC)
if(NOT MSVC)
  add_link_options($<$<CONFIG:Release>:-s>)  # stripped: what a user downloads carries no symbols
endif()

add_library(skinengine_binding STATIC skinengine/win32/SkinEngineLibrary.cpp)
target_include_directories(skinengine_binding PUBLIC ${CMAKE_SOURCE_DIR})

# Our own skin engine library: plain export names from the .def file, stdcall.
add_library(skinh_engine STATIC
  skinengine/library/Engine.cpp
  skinengine/library/WindowProcs.cpp
  skinengine/library/Painting.cpp
  skinengine/library/Shadow.cpp
  skinengine/library/Trace.cpp)
target_link_libraries(skinh_engine PUBLIC skin_format comctl32 gdi32 user32)
add_library(SkinH_VB6 SHARED skinengine/library/SkinLibrary.cpp skinengine/library/SkinH_VB6.def)
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

add_library(win32_ui STATIC ui/win32/DesignedWindow.cpp)
target_include_directories(win32_ui PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(win32_ui PUBLIC comctl32)

add_executable(stock WIN32 stock/win32/WinMain.cpp stock/win32/StockWindow.cpp stock/win32/stock.rc)
target_link_libraries(stock PRIVATE stock_logic skinengine_binding win32_ui)
set_target_properties(stock PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${bin_dir})
add_dependencies(stock SkinH_VB6)

if(QUORVANE_TESTS)
  # Runs a Windows test program under Wine in the prefix and display that scripts/test prepares.
  set(wine_run ${CMAKE_SOURCE_DIR}/tests/wine/run-under-wine)

  function(wine_test name)
    cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBRARIES} GTest::gtest_main)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${test_dir})
    add_test(NAME ${name} COMMAND ${wine_run} $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  endfunction()

  wine_test(wine_conversions_test TIMEOUT 300
    SOURCES tests/wine/ConversionsWineTest.cpp
    LIBRARIES stock_logic oleaut32 ole32)
  wine_test(wine_skinengine_test TIMEOUT 120
    SOURCES tests/wine/SkinEngineBindingTest.cpp
    LIBRARIES skinengine_binding)
  wine_test(wine_skin_library_test TIMEOUT 300
    SOURCES tests/wine/SkinEngineWineTest.cpp tests/e2e/WindowDriver.cpp tests/e2e/PngWriter.cpp
    LIBRARIES skinengine_binding skin_format gdi32)
  wine_test(stock_e2e_test TIMEOUT 600
    SOURCES tests/e2e/StockWindowTest.cpp tests/e2e/WindowDriver.cpp tests/e2e/PngWriter.cpp
    LIBRARIES stock_logic skin_format gdi32)
  # Test programs find our library beside them, through the same ordinary search as the programs.
  add_custom_command(TARGET SkinH_VB6 POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${test_dir}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:SkinH_VB6> ${test_dir}/)
  # The same library without SkinH_Attach, for the start-up failure of a program.
  add_library(SkinH_VB6_partial SHARED skinengine/library/SkinLibrary.cpp tests/wine/SkinH_VB6_partial.def)
  target_link_libraries(SkinH_VB6_partial PRIVATE skinh_engine)
  set_target_properties(SkinH_VB6_partial PROPERTIES PREFIX "" OUTPUT_NAME SkinH_VB6
    RUNTIME_OUTPUT_DIRECTORY ${test_dir}/partial ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/partial-lib)
  if(NOT MSVC)
    target_link_options(SkinH_VB6_partial PRIVATE -Wl,--enable-stdcall-fixup)
  endif()
  add_dependencies(wine_skinengine_test SkinH_VB6 stock)
  add_dependencies(stock_e2e_test stock SkinH_VB6 SkinH_VB6_partial sample_skins)
  add_dependencies(wine_skin_library_test SkinH_VB6 sample_skins)
  # Tests that read the screen and move the pointer run one at a time on the one display.
  set_tests_properties(stock_e2e_test wine_skin_library_test PROPERTIES RUN_SERIAL TRUE)
endif()

# A helper of scripts/run: waits for a program's window, or closes it.
add_executable(windowtool scripts/tools/windowtool.cpp)
set_target_properties(windowtool PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

if(QUORVANE_TESTS)
  add_test(NAME binaries_are_pe32_with_system_imports
    COMMAND ${CMAKE_SOURCE_DIR}/tests/check-binaries $<TARGET_FILE:stock> $<TARGET_FILE:SkinH_VB6>)
endif()
