target_link_libraries(unit_numbers PRIVATE vemo_numbers gmpxx gmp)
