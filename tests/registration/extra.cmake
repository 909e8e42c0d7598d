# These tests unregister and re-register the product in the build's prefix: nothing
# else may run beside them.
set(TX_AREA_PROPERTIES RUN_SERIAL TRUE)
