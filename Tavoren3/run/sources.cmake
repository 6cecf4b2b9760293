target_sources(tavoren_core PRIVATE
  run/LabelFileWriter.h run/LabelFileWriter.cpp
  run/LabelLog.h run/LabelLog.cpp
  run/LogTime.h run/LogTime.cpp
  run/DroneStateText.h run/DroneStateText.cpp
  run/QtSoundPlayer.h run/QtSoundPlayer.cpp
  run/SoundPlayer.h
  run/Step.h
  run/TickTimer.h run/TickTimer.cpp)
