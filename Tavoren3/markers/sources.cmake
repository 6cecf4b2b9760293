find_package(Qt6 REQUIRED COMPONENTS SerialPort)
target_link_libraries(tavoren_core PUBLIC Qt6::SerialPort)
target_sources(tavoren_core PRIVATE
  markers/Marker.h
  markers/MarkerOutput.h markers/MarkerOutput.cpp
  markers/MarkerPlan.h markers/MarkerPlan.cpp
  markers/MarkerSettings.h markers/MarkerSettings.cpp
  markers/SerialMarkerWriter.h markers/SerialMarkerWriter.cpp
  markers/TriggerBoxViewModel.h markers/TriggerBoxViewModel.cpp)
