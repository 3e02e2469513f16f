# The speech front, the voice settings and their wiring; included from tests/CMakeLists.txt.

# Flags, waits, echo and capitals against fake engines.
add_executable(speechfront_tests
  ${CMAKE_CURRENT_SOURCE_DIR}/unit/speech/main.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/unit/speech/front_test.cpp)
target_link_libraries(speechfront_tests PRIVATE vlakcore GTest::gtest)
gtest_discover_tests(speechfront_tests TEST_PREFIX "unit.speech." DISCOVERY_MODE PRE_TEST
  PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

# The voice dialog and the speech commands of the main window, with fake engines.
target_sources(widget_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/widgets/voicedialog_test.cpp)

# The real vlak speaking into the session's null sink, with the embedded engine and through a
# speech-dispatcher daemon that the test starts. Shares the sink with the other audio tests.
add_test(NAME e2e.speech COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/e2e/test_speech.py
  ${VLAK_RUNDIR})
set_tests_properties(e2e.speech PROPERTIES TIMEOUT 180 SKIP_RETURN_CODE 77 RESOURCE_LOCK audiosink)
