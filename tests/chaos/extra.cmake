# The chaos driver registers its component and writes its populations for the run: in the
# shared prefix every test that lists or creates components would see them. So the smoke
# runs in a prefix and on a display of its own (own-prefix.sh), beside the other tests.
add_dependencies(${target} chaos)
set(tx_chaos_script ${dir}/own-prefix.sh)
add_test(NAME setup.chaos COMMAND bash ${tx_chaos_script} setup ${CMAKE_BINARY_DIR})
add_test(NAME teardown.chaos COMMAND bash ${tx_chaos_script} teardown ${CMAKE_BINARY_DIR})
set_tests_properties(setup.chaos PROPERTIES FIXTURES_SETUP chaosprefix)
set_tests_properties(teardown.chaos PROPERTIES FIXTURES_CLEANUP chaosprefix)
set_target_properties(${target} PROPERTIES CROSSCOMPILING_EMULATOR "bash;${tx_chaos_script};run;${CMAKE_BINARY_DIR}")
# One driver at a time: each clears what a driver before it left in the registry.
# The smoke is the longest chain of the suite: it starts first.
set(TX_AREA_PROPERTIES FIXTURES_REQUIRED chaosprefix RESOURCE_LOCK chaosprefix TIMEOUT 600 COST 30)
