# Engine tests are key scripts: they type through the console's keyboard. The random
# differential test checks + - * / against exact fractions from GMP.
target_sources(unit_engine PRIVATE ${CMAKE_SOURCE_DIR}/console/keys.cpp)
target_link_libraries(unit_engine PRIVATE gmpxx gmp)
