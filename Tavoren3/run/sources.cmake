target_sources(tavoren_core PRIVATE
  run/LabelFileReader.h run/LabelFileReader.cpp
  run/LabelFileWriter.h run/LabelFileWriter.cpp
  run/LabelSession.h
  run/LabelLog.h run/LabelLog.cpp
  run/LogTime.h run/LogTime.cpp
  run/MarkerLogLine.h run/MarkerLogLine.cpp
  run/ContentViewModel.h run/ContentViewModel.cpp
  run/CurrentStepViewModel.h run/CurrentStepViewModel.cpp
  run/DroneStateText.h run/DroneStateText.cpp
  run/DryRun.h run/DryRun.cpp
  run/FooterViewModel.h run/FooterViewModel.cpp
  run/HeaderViewModel.h run/HeaderViewModel.cpp
  run/NextStepViewModel.h run/NextStepViewModel.cpp
  run/QtSoundPlayer.h run/QtSoundPlayer.cpp
  run/RemainingTimeJumps.h run/RemainingTimeJumps.cpp
  run/InstanceLock.h run/InstanceLock.cpp
  run/InterruptedRun.h run/InterruptedRun.cpp
  run/QuitQuestion.h run/QuitQuestion.cpp
  run/RunRecord.h run/RunRecord.cpp
  run/RunRecorder.h run/RunRecorder.cpp
  run/ScreenModels.h run/ScreenModels.cpp
  run/SoundPlayer.h
  run/StartViewModel.h run/StartViewModel.cpp
  run/Step.h
  run/Tavoren3App.h run/Tavoren3App.cpp
  run/TickSchedule.h run/TickSchedule.cpp
  run/TickTimer.h run/TickTimer.cpp
  run/QTimerTickTimer.h run/QTimerTickTimer.cpp
  run/VerkeersLeiding.h run/VerkeersLeiding.cpp
  run/WorkingViewModel.h run/WorkingViewModel.cpp)

# The precise one-second tick where the system has timerfd (Linux).
include(CheckIncludeFileCXX)
check_include_file_cxx(sys/timerfd.h TAVOREN_HAVE_TIMERFD)
if(TAVOREN_HAVE_TIMERFD)
  target_sources(tavoren_core PRIVATE run/TimerFdTickTimer.h run/TimerFdTickTimer.cpp)
  target_compile_definitions(tavoren_core PUBLIC TAVOREN_HAVE_TIMERFD)
endif()
