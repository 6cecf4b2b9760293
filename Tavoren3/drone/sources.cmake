find_package(OpenSSL REQUIRED)
target_link_libraries(tavoren_core PUBLIC OpenSSL::Crypto)

target_sources(tavoren_core PRIVATE
  drone/DroneEndpoint.h drone/DroneEndpoint.cpp
  drone/MultipeerSession.h drone/MultipeerSession.cpp
  drone/MultipeerSessionState.h drone/MultipeerSessionState.cpp
  drone/PeerConnection.h drone/PeerConnection.cpp
  drone/PeerId.h
  drone/PeerTransport.h drone/PeerTransport.cpp
  drone/TlsIdentity.h drone/TlsIdentity.cpp)
