# The Component Manager's tests write classes into the registry (in categories that no
# sample uses) and may read the product's TxCOGUI.ini: one test of them at a time. (The
# trace tests, which replace the trace folder, run alone.) Locked one after another they
# make a long chain: it starts early.
set(TX_AREA_PROPERTIES RESOURCE_LOCK manager_registry COST 10)
