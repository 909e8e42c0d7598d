# The Component Manager's tests write classes into the registry (in categories that no
# sample uses) and may read the product's TxCOGUI.ini: one test of them at a time, so they
# run in one program, which starts early as the longest chain of the suite. (The trace
# tests, which replace the trace folder, run alone.)
set(TX_AREA_PROPERTIES RESOURCE_LOCK manager_registry)
set(TX_AREA_GROUPS Cases "*")
