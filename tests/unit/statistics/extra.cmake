# The store and its functions alone; the statistics commands are tested with the engine.
target_link_libraries(unit_statistics PRIVATE vemo_statistics gmpxx gmp)
