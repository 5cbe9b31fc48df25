# Native build: the portable logic and its unit tests, with AddressSanitizer and UBSan.
set(sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
target_compile_options(stock_logic PRIVATE ${sanitizers})
target_link_options(stock_logic PUBLIC ${sanitizers})

if(QUORVANE_TESTS)
  add_executable(native_tests
    tests/native/ConversionsTest.cpp
    tests/native/PositionCalculationTest.cpp
    tests/native/StockForm1Test.cpp
    tests/native/StockDesignTest.cpp
    tests/native/WebTextFetchTest.cpp
    tests/native/QuoteLookupTest.cpp)
  target_compile_options(native_tests PRIVATE ${sanitizers})
  target_link_libraries(native_tests PRIVATE stock_logic GTest::gtest_main)
  add_test(NAME native_tests COMMAND native_tests)
  set_tests_properties(native_tests PROPERTIES TIMEOUT 300)
endif()
