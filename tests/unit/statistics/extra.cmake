target_sources(unit_statistics PRIVATE ${CMAKE_SOURCE_DIR}/console/keys.cpp)
