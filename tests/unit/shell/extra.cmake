# The shell's portable parts (the keys' tip texts and positions) over the engine's command table.
target_sources(unit_shell PRIVATE ${CMAKE_SOURCE_DIR}/shell/key_tips.cpp
  ${CMAKE_SOURCE_DIR}/shell/key_positions.cpp)
target_include_directories(unit_shell PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(unit_shell PRIVATE vemo_console_port)
