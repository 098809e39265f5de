# Reading a settings file. The reader and the real CP932 codec are compiled into the target
# itself so that libFuzzer instruments them.
kiryuza_fuzz(settings_fuzz CP932
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/settings_fuzz.cpp ${PROJECT_SOURCE_DIR}/src/options/settings.cpp
            ${PROJECT_SOURCE_DIR}/src/options/preferences.cpp
    LIBS kiryuza_core)
