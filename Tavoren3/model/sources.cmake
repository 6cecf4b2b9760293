target_sources(tavoren_core PRIVATE
  model/BundleDecodable.h model/BundleDecodable.cpp
  model/CurrentProtocol.h model/CurrentProtocol.cpp
  model/DecodingError.h model/DecodingError.cpp
  model/DeelTestje.h model/DeelTestje.cpp
  model/MarkerCodes.h model/MarkerCodes.cpp
  model/DroneSettings.h
  model/JsonDecoding.h model/JsonDecoding.cpp
  model/OptionalViewSettings.h model/OptionalViewSettings.cpp
  model/ProtocolLibrary.h model/ProtocolLibrary.cpp
  model/ProtocolReader.h model/ProtocolReader.cpp
  model/ProtocolWriter.h model/ProtocolWriter.cpp
  model/Run.h model/Run.cpp)
