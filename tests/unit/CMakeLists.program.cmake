# The compiled train game, played through a scripted runtime.
add_executable(program_tests
  ${CMAKE_CURRENT_LIST_DIR}/scriptedruntime.cpp
  ${CMAKE_CURRENT_LIST_DIR}/trainplayer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/programframe_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/traingame_test.cpp
)
target_link_libraries(program_tests PRIVATE vlakcore GTest::gtest_main)
gtest_discover_tests(program_tests TEST_PREFIX "program." DISCOVERY_MODE PRE_TEST)
