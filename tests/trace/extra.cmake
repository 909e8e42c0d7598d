# These tests replace, rename and fill the shared trace folder: nothing else may run
# beside them.
set(TX_AREA_PROPERTIES RUN_SERIAL TRUE)
