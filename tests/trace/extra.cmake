# These tests replace, rename and fill the shared trace folder: nothing else may run
# beside them. Areas that read the trace file take the same lock.
set(TX_AREA_PROPERTIES RUN_SERIAL TRUE RESOURCE_LOCK tracefolder)
