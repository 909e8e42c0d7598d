# The support cases are short and keep no state between them: one program runs them all,
# which spares a Wine process start for each (about 12 s of the suite's time).
set(TX_AREA_GROUPS Cases "*")
