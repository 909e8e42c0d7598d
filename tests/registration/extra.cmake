# These tests unregister and re-register the product in the build's prefix: nothing
# else may run beside them. They run in one program, to keep that time short.
set(TX_AREA_PROPERTIES RUN_SERIAL TRUE)
set(TX_AREA_GROUPS Cases "*")
