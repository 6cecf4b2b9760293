target_sources(tavoren_core PRIVATE
  run/LabelFileWriter.h run/LabelFileWriter.cpp
  run/LabelLog.h run/LabelLog.cpp
  run/LogTime.h run/LogTime.cpp
  run/SoundPlayer.h
  run/TickTimer.h run/TickTimer.cpp)
