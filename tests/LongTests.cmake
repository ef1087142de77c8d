# Read by CTest after the tests are discovered (the whole-program tests,
# defined later, get theirs in CMakeLists.txt). A clean build has no timing
# from earlier runs, so CTest would start tests in the order they were
# defined and the longest ones could begin last, leaving one core idle while
# they finish. Starting them first lets the lanes end together.
#
# The checks of the shipped levels prove what the levels are, which the
# plain run does. Under the sanitizers they took six of the run's minutes,
# while each stage of the report they run is run there by its own tests on
# levels made for it, and the tour by one on moss2: that run leaves them out
# (label "shipped").
set(pwe_long_tests
  PweCheck.ShippedTreePasses 200
  PweCheckSetsShipped.TheMossSetPassesByItsName 180
  ShownFrames.EveryReplayFrameAtScaleThreeEqualsTheWholeFrameInBlocks 60
  RouteTour.TakesAQuarterOffMoss2ByTheEstimatesOrder 55
  ShippedGame.FramesBuiltOnTheLastOneEqualFreshFramesWithPanelsShown 50
  PweCheck.LayoutFindingsNameTheirRecords 30
  RouteTour.BeatsTheHandRecordedRouteOnLevel1 25)
while(pwe_long_tests)
  list(POP_FRONT pwe_long_tests name cost)
  set_tests_properties("${name}" PROPERTIES COST ${cost})
endwhile()
set_tests_properties(PweCheck.ShippedTreePasses PweCheckSetsShipped.TheMossSetPassesByItsName
  PROPERTIES LABELS shipped)
