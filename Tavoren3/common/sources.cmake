target_sources(tavoren_core PRIVATE
  common/ChangeForwarding.h common/ChangeForwarding.cpp
  common/Clock.h common/Clock.cpp
  common/Console.h common/Console.cpp
  common/DeviceInfo.h common/DeviceInfo.cpp
  common/DocumentsFolder.h common/DocumentsFolder.cpp
  common/EventLoopWait.h common/EventLoopWait.cpp
  common/LiveObjects.h common/LiveObjects.cpp
  common/MediaBackend.h common/MediaBackend.cpp
  common/MediaName.h common/MediaName.cpp
  common/MonotonicClock.h
  common/OutsideText.h common/OutsideText.cpp
  common/ScreenDriver.h common/ScreenDriver.cpp
  common/StandardInputLines.h common/StandardInputLines.cpp
  common/TaskTimer.h common/TaskTimer.cpp
  common/TerminationSignals.h common/TerminationSignals.cpp
  common/WholeFile.h common/WholeFile.cpp)
