# The WAV reader of the sound library, on bytes in memory and on a file read as it plays. Its
# sources are compiled into the target itself, so that libFuzzer instruments them.
kiryuza_fuzz(wav_fuzz
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/wav_fuzz.cpp
            ${PROJECT_SOURCE_DIR}/src/platform/sound/wav.cpp
            ${PROJECT_SOURCE_DIR}/src/platform/sound/mixer.cpp
            ${PROJECT_SOURCE_DIR}/src/platform/sound/sound_library.cpp)
set_target_properties(wav_fuzz PROPERTIES AUTOMOC OFF)
