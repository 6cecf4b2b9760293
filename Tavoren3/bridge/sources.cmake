target_link_libraries(tavoren_core PUBLIC Qt6::Bluetooth)
target_sources(tavoren_core PRIVATE
  bridge/BleBackend.h bridge/BleBackend.cpp
  bridge/BleCharacteristic.h
  bridge/BLEDeviceBrowserView.h bridge/BLEDeviceBrowserView.cpp
  bridge/BloodPersureView.h bridge/BloodPersureView.cpp
  bridge/BleError.h
  bridge/BlePeripheral.h bridge/BlePeripheral.cpp
  bridge/BridgeSimulator.h bridge/BridgeSimulator.cpp
  bridge/EspBleCentral.h bridge/EspBleCentral.cpp
  bridge/ErrorStatusSwift.h
  bridge/QtBluetoothBackend.h bridge/QtBluetoothBackend.cpp
  bridge/Severity.h bridge/Severity.cpp
  bridge/SpacelabsErrorCatalogSwift.h bridge/SpacelabsErrorCatalogSwift.cpp
  bridge/UmbrellaInfoSwift.h)
