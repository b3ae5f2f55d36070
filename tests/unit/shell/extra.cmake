# The shell's portable parts (the keys' tip texts) over the engine's command table.
target_sources(unit_shell PRIVATE ${CMAKE_SOURCE_DIR}/shell/key_tips.cpp)
target_include_directories(unit_shell PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(unit_shell PRIVATE vemo_console_port)
