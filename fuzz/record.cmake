# Reading a whole record file. The record sources and the real CP932 codec are compiled into
# the target itself so that libFuzzer instruments them.
kiryuza_fuzz(record_fuzz CP932
    SOURCES record_fuzz.cpp
        ${PROJECT_SOURCE_DIR}/src/record/record_file.cpp
        ${PROJECT_SOURCE_DIR}/src/record/record_line.cpp
    LIBS kiryuza_core)
