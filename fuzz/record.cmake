# Reading a whole record file. The record sources are compiled into the target itself so that
# libFuzzer instruments them; the real CP932 codec is used when Qt is built.
set(record_fuzz_libs kiryuza_core)
if(TARGET kiryuza_platform_files)
    list(APPEND record_fuzz_libs kiryuza_platform_files)
endif()
kiryuza_fuzz(record_fuzz
    SOURCES record_fuzz.cpp
            ${PROJECT_SOURCE_DIR}/src/record/record_file.cpp
            ${PROJECT_SOURCE_DIR}/src/record/record_line.cpp
    LIBS ${record_fuzz_libs})
if(TARGET kiryuza_platform_files)
    target_compile_definitions(record_fuzz PRIVATE KIRYUZA_FUZZ_QT_CODEC=1)
endif()
