# The object's cases run in one program, sparing a Wine process start for each; the one
# that makes string allocation fail runs alone, as the strings that cases before it freed
# would be handed out again from the cache without an allocation.
set(TX_AREA_GROUPS Cases "*-SelectionTest.AFailureAfterTheDialog*" FailureAfterTheDialog
    "SelectionTest.AFailureAfterTheDialog*")
