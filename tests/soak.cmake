# A short soak: random play with pause and quit requests over every stage and over hostile maps,
# every frame checked by fribb3-replay --check. The long one: build/fribb3-soak --frames 1200000.
add_test(NAME soak_short COMMAND fribb3-soak --frames 40000 --maps 8 --seed 7)
fribb3_test_timeout(soak_short 600)
