# The tests that take seconds each, labelled slow: the sanitizer build runs them,
# the Clang build leaves them out. A test that has labels already keeps them here.
foreach(test
    qt.KeySessions.TheKeysLeaveWhatTheNativeDialogLeaves
    VirtualBoard.ManyOperatorSessionsKeepToTheBoardsProtocol
    settings.SettingsProcesses.AnotherProcessSeesEveryChangeAtItsNextAccess
    monitor.Monitor.ABoardFileShrunkOrUnbackedCostsNeitherPanelNorMonitor
    PictureAttributes.UnreadableOrOutOfRangeChannelTextsSelectChannelOne
    LayoutEditors.NumbersAreReadFromTheFirstFourCharactersAndOutOfRangeOnesFallBack
    desktop.OnePanel.ASecondStartTouchesNeitherBoardNorFileSaysSoAndExitsOne
    LayoutTables.ADriverReadingPastTheEndMarkFindsUnusedRecordsUpToTheTablesSize)
  set_tests_properties(${test} PROPERTIES LABELS slow)
endforeach()
set_tests_properties(ctl.AnsibleModuleSetsARoomOfDisplayPCs PROPERTIES LABELS "ansible;slow")
