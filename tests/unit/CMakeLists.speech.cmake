# The speech platform: the embedded engine against real espeak-ng, the system voice against a
# speech-dispatcher daemon when one can be reached (skipped otherwise) and against stand-ins.
add_executable(speech_tests
  unit/speech/main.cpp
  unit/speech/tts4_test.cpp
  unit/speech/tts5_test.cpp
)
target_link_libraries(speech_tests PRIVATE vlaktts5 vlaktts4 vlakcore GTest::gtest)
gtest_discover_tests(speech_tests TEST_PREFIX "speech." DISCOVERY_MODE PRE_TEST)
