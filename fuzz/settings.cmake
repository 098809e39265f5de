# Reading a settings file. The reader and, when Qt is built, the real CP932 codec are compiled
# into the target itself so that libFuzzer instruments them.
set(settings_fuzz_sources ${CMAKE_CURRENT_LIST_DIR}/settings_fuzz.cpp
    ${PROJECT_SOURCE_DIR}/src/options/settings.cpp)
set(settings_fuzz_libs kiryuza_core)
if(TARGET Qt6::Core)
    list(APPEND settings_fuzz_sources ${PROJECT_SOURCE_DIR}/src/platform/files/qt_text_codec.cpp)
    list(APPEND settings_fuzz_libs Qt6::Core)
endif()
kiryuza_fuzz(settings_fuzz SOURCES ${settings_fuzz_sources} LIBS ${settings_fuzz_libs})
if(TARGET Qt6::Core)
    target_compile_definitions(settings_fuzz PRIVATE KIRYUZA_FUZZ_QT_CODEC=1)
endif()
