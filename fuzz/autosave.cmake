# Reading the kept game, and taking it up in the game. The reader and the position checks are
# compiled into the target itself so that libFuzzer instruments them; the game runs on the
# game-flow checker's fakes.
kiryuza_fuzz(autosave_fuzz
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/autosave_fuzz.cpp
            ${PROJECT_SOURCE_DIR}/src/record/autosave.cpp
            ${PROJECT_SOURCE_DIR}/src/rules/position_check.cpp
    LIBS kiryuza_flow_check)
set_target_properties(autosave_fuzz PROPERTIES AUTOMOC OFF)
