# The chaos driver registers its component for the run, which every test that lists or
# creates components would see: nothing else may run beside it. It is slower than a test.
add_dependencies(${target} chaos)
set(TX_AREA_PROPERTIES RUN_SERIAL TRUE TIMEOUT 600)
