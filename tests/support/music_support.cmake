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
