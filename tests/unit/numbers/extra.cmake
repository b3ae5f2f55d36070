target_link_libraries(unit_numbers PRIVATE gmpxx gmp)
