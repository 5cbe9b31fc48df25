# Native build: the portable logic and its unit tests, with AddressSanitizer and UBSan.
set(sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
foreach(logic stock_logic glimmora_logic skin_format)
  target_compile_options(${logic} PRIVATE ${sanitizers})
  target_link_options(${logic} PUBLIC ${sanitizers})
endforeach()

if(QUORVANE_TESTS)
  add_executable(native_tests
    tests/native/PositionCalculationTest.cpp
    tests/native/StockForm1Test.cpp
    tests/native/WebTextFetchTest.cpp
    tests/native/QuoteLookupTest.cpp
    tests/native/FolderListTest.cpp
    tests/native/GlimmoraForm1Test.cpp
    tests/native/SkinFormatTest.cpp
    tests/native/SkinRulesTest.cpp
    tests/native/BenchTableTest.cpp
    tests/support/Cp936.cpp
    bench/BenchTable.cpp)
  target_compile_options(native_tests PRIVATE ${sanitizers})
  # The sample skins are read from the source tree.
  target_compile_definitions(native_tests PRIVATE QUORVANE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  target_link_libraries(native_tests PRIVATE stock_logic glimmora_logic skin_format GTest::gtest_main)
  add_test(NAME native_tests COMMAND native_tests)
  set_tests_properties(native_tests PROPERTIES TIMEOUT 300)
endif()

add_subdirectory(tools/quote-standin)

if(QUORVANE_TESTS)
  add_executable(standin_tests tests/native/StandinTest.cpp)
  target_compile_options(standin_tests PRIVATE ${sanitizers})
  target_link_libraries(standin_tests PRIVATE standin_service GTest::gtest_main)
  add_test(NAME standin_tests COMMAND standin_tests)
  set_tests_properties(standin_tests PROPERTIES TIMEOUT 120)
endif()
