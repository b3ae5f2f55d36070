# The accuracy tests measure results exactly with GMP rationals.
target_link_libraries(unit_transcendental PRIVATE vemo_transcendental gmpxx gmp)
