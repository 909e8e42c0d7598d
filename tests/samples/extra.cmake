# The sample DLLs must be built (and registered by the fixtures) before these tests run.
add_dependencies(${target} TxSampleThermo TxSampleUnits TxSampleHost TxSampleZoo)
