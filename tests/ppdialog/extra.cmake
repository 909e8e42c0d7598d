# The dialog tests show windows on the display, and start the stand-in host simulator
# (common/host) that shows the dialog inside the host's process.
set(TX_AREA_PROPERTIES RESOURCE_LOCK display COST 5)

