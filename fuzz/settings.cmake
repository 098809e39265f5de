kiryuza_fuzz(settings_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/settings_fuzz.cpp LIBS kiryuza_options)
