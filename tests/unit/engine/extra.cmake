# Engine tests are key scripts: they type through the console's keyboard and its recording
# window port. The random differential test checks + - * / against exact fractions from GMP.
target_link_libraries(unit_engine PRIVATE vemo_console_port gmpxx gmp)
