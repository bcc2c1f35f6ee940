# lumiere_music_support: the synthetic beat tracks and the private sound server, shared by the
# music tests and the beat benchmark (whichever of the two is configured first defines it).
include_guard(GLOBAL)

add_library(lumiere_music_support STATIC
  "${CMAKE_CURRENT_LIST_DIR}/beat_tracks.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/beat_scoring.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/beat_set.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/pulse_server.cpp")
target_include_directories(lumiere_music_support PUBLIC "${CMAKE_CURRENT_LIST_DIR}")
target_link_libraries(lumiere_music_support PRIVATE lumiere_warnings)
set_target_properties(lumiere_music_support PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)

# A few excerpts of the development set, rendered at build time by scripts/music-set.sh into the
# build folder (when fluidsynth, mma and sox are installed: scripts/setup.sh test), for the tests
# that follow real music. LUMIERE_MUSIC_EXCERPTS names their folder ("" when not rendered);
# the library gives it to the code that uses it.
set(LUMIERE_MUSIC_EXCERPT_SONGS shuffle-104 jazzwaltz-150 slowblues-72)
set(LUMIERE_MUSIC_EXCERPTS "" CACHE INTERNAL "rendered music excerpts of the tests")
find_program(LUMIERE_FLUIDSYNTH fluidsynth)
find_program(LUMIERE_MMA mma)
find_program(LUMIERE_SOX sox)
if(LUMIERE_FLUIDSYNTH AND LUMIERE_MMA AND LUMIERE_SOX)
  set(LUMIERE_MUSIC_EXCERPTS "${CMAKE_BINARY_DIR}/music-excerpts" CACHE INTERNAL "")
  set(songs "")
  foreach(song IN LISTS LUMIERE_MUSIC_EXCERPT_SONGS)
    list(APPEND songs "${PROJECT_SOURCE_DIR}/bench/music/songs/${song}.mma")
  endforeach()
  string(REPLACE ";" "," only "${LUMIERE_MUSIC_EXCERPT_SONGS}")
  add_custom_command(
    OUTPUT "${LUMIERE_MUSIC_EXCERPTS}/dev.tsv"
    COMMAND "${PROJECT_SOURCE_DIR}/scripts/music-set.sh" --set dev --only "${only}"
            --variants drums,nodrums --seconds 20 --out "${LUMIERE_MUSIC_EXCERPTS}"
    DEPENDS "${PROJECT_SOURCE_DIR}/scripts/music-set.sh" "${PROJECT_SOURCE_DIR}/scripts/music_set.py"
            ${songs}
    COMMENT "Rendering the music excerpts of the tests"
    VERBATIM)
  add_custom_target(lumiere_music_excerpts DEPENDS "${LUMIERE_MUSIC_EXCERPTS}/dev.tsv")
else()
  message(STATUS "fluidsynth, mma or sox missing: the tests on real music will be skipped")
  add_custom_target(lumiere_music_excerpts)
endif()
# Every user of the support library (the music tests, the window tests) may read them.
target_compile_definitions(lumiere_music_support
  PUBLIC LUMIERE_MUSIC_EXCERPTS="${LUMIERE_MUSIC_EXCERPTS}")
add_dependencies(lumiere_music_support lumiere_music_excerpts)
