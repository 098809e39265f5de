# Reading a whole record file. The record sources and, when Qt is built, the real CP932 codec
# are compiled into the target itself so that libFuzzer instruments them.
set(record_fuzz_sources record_fuzz.cpp
    ${PROJECT_SOURCE_DIR}/src/record/record_file.cpp
    ${PROJECT_SOURCE_DIR}/src/record/record_line.cpp)
set(record_fuzz_libs kiryuza_core)
if(TARGET Qt6::Core)
    list(APPEND record_fuzz_sources ${PROJECT_SOURCE_DIR}/src/platform/files/qt_text_codec.cpp)
    list(APPEND record_fuzz_libs Qt6::Core)
endif()
kiryuza_fuzz(record_fuzz SOURCES ${record_fuzz_sources} LIBS ${record_fuzz_libs})
if(TARGET Qt6::Core)
    target_compile_definitions(record_fuzz PRIVATE KIRYUZA_FUZZ_QT_CODEC=1)
endif()
