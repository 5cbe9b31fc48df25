# scripts/bench: bench.exe measures the programs against floors it builds here, in bench/.
set(bench_dir ${CMAKE_BINARY_DIR}/bench)

add_executable(bench
  bench/win32/BenchMain.cpp bench/win32/LookupSession.cpp bench/win32/ListingBench.cpp bench/win32/RemoteProbe.cpp
  bench/BenchTable.cpp)
target_link_libraries(bench PRIVATE glimmora_win32 stock_logic window_driver)

# The start-up floor: the same window and controls from the platform's classes, nothing more.
add_executable(floor-window WIN32 bench/win32/FloorWindow.cpp ui/win32/ControlClass.cpp)
target_include_directories(floor-window PRIVATE ${CMAKE_SOURCE_DIR})

# The lookup floor: the same two requests through WinINet and OLE, from a window of three controls.
add_executable(floor-lookup WIN32 bench/win32/FloorLookup.cpp)
target_compile_definitions(floor-lookup PRIVATE
  "QUORVANE_LOCAL_QUOTE_BASE=L\"${QUORVANE_LOCAL_QUOTE_BASE}\"" "QUORVANE_LOCAL_CHART_BASE=L\"${QUORVANE_LOCAL_CHART_BASE}\"")
target_link_libraries(floor-lookup PRIVATE stock_logic wininet ole32 oleaut32 uuid)

# Loaded into stock by the bench to take the handle probes and the working set from inside.
add_library(probe SHARED bench/win32/ProbeLibrary.cpp)
set_target_properties(probe PROPERTIES PREFIX "")
target_include_directories(probe PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(probe PRIVATE psapi)
if(NOT MSVC)
  target_link_options(probe PRIVATE -Wl,--kill-at)  # exported as Probe, not Probe@4
endif()

add_custom_command(OUTPUT ${bench_dir}/many-skins-half/skin09999.sheet
  COMMAND ${CMAKE_COMMAND} -DFOLDER=${bench_dir}/many-skins-half -DSHORT_NAME_HALF=ON
          -P ${CMAKE_SOURCE_DIR}/cmake/MakeManySkins.cmake
  DEPENDS ${CMAKE_SOURCE_DIR}/cmake/MakeManySkins.cmake
  COMMENT "Making 10,000 skin files for the bench, half matched only through their short names")
add_custom_target(bench_skins ALL DEPENDS ${bench_dir}/many-skins-half/skin09999.sheet)

set_target_properties(bench floor-window floor-lookup probe PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${bench_dir} ARCHIVE_OUTPUT_DIRECTORY ${bench_dir}/lib)
add_dependencies(bench floor-window floor-lookup probe bench_skins stock stock-local glimmora SkinH_VB6)

if(QUORVANE_TESTS)
  # A short run of the bench: every figure is still taken (two runs each, no verdicts).
  add_test(NAME bench_smoke${t} COMMAND ${CMAKE_SOURCE_DIR}/scripts/bench --smoke)
  set_tests_properties(bench_smoke${t} PROPERTIES TIMEOUT 300 FIXTURES_REQUIRED standin${t} RUN_SERIAL TRUE
    ENVIRONMENT QUORVANE_FLAVOURS=${flavour})
endif()
