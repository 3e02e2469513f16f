# The sound layer's tests; included from tests/CMakeLists.txt.

# Measuring recorded tones: the analyser, the recorder of the audio server, and a command-line
# analyser for test scripts.
add_library(vlakaudiotesting STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/analysis/wavanalysis.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/analysis/recorder.cpp)
target_include_directories(vlakaudiotesting PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(vlakaudiotesting PUBLIC Qt6::Core)
add_executable(wavanalyse ${CMAKE_CURRENT_SOURCE_DIR}/analysis/wavanalyse.cpp)
target_link_libraries(wavanalyse PRIVATE vlakaudiotesting vlakwav)

# Logic against a fake wave list, the sound-file reader, and the device layer on OpenAL's null
# backend and on the silent stand-in.
add_executable(audio_unit_tests
  ${CMAKE_CURRENT_SOURCE_DIR}/unit/audio_main.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/unit/audiodevice_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/unit/soundfile_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/unit/sounds_test.cpp)
target_link_libraries(audio_unit_tests PRIVATE vlakcore GTest::gtest)
# The test names are the gtest names, without the printed parameter. OpenAL reads its driver
# list once per process, so the null backend is chosen before the process starts.
gtest_discover_tests(audio_unit_tests TEST_PREFIX "unit.audio." DISCOVERY_MODE PRE_TEST
  NO_PRETTY_VALUES
  PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ALSOFT_DRIVERS=null")

# Real tones through OpenAL into the PulseAudio server's default sink, recorded from its
# monitor. Skips when no server answers. The tests share that sink, so they never run together:
# one test's tone would be recorded in the other's.
add_executable(audio_e2e_tests
  ${CMAKE_CURRENT_SOURCE_DIR}/unit/audio_main.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/e2e/tone_test.cpp)
target_link_libraries(audio_e2e_tests PRIVATE vlakcore vlakaudiotesting GTest::gtest)
gtest_discover_tests(audio_e2e_tests TEST_PREFIX "e2e.audio." DISCOVERY_MODE PRE_TEST
  PROPERTIES TIMEOUT 60 RESOURCE_LOCK audiosink)
