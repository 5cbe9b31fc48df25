# Native build: the portable logic and its unit tests, with AddressSanitizer and UBSan.
set(sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
foreach(logic stock_logic glimmora_logic)
  target_compile_options(${logic} PRIVATE ${sanitizers})
  target_link_options(${logic} PUBLIC ${sanitizers})
endforeach()

if(QUORVANE_TESTS)
  add_executable(native_tests
    tests/native/ConversionsTest.cpp
    tests/native/PositionCalculationTest.cpp
    tests/native/StockForm1Test.cpp
    tests/native/StockDesignTest.cpp
    tests/native/FolderListTest.cpp
    tests/native/GlimmoraDesignTest.cpp
    tests/native/GlimmoraForm1Test.cpp)
  target_compile_options(native_tests PRIVATE ${sanitizers})
  target_link_libraries(native_tests PRIVATE stock_logic glimmora_logic GTest::gtest_main)
  add_test(NAME native_tests COMMAND native_tests)
  set_tests_properties(native_tests PROPERTIES TIMEOUT 300)
endif()
