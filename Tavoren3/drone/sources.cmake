find_package(OpenSSL REQUIRED)
target_link_libraries(tavoren_core PUBLIC OpenSSL::Crypto)

target_sources(tavoren_core PRIVATE
  drone/BreathingView.h
  drone/DroneEndpoint.h drone/DroneEndpoint.cpp
  drone/DroneStateView.h drone/DroneStateView.cpp
  drone/FrameReader.h drone/FrameReader.cpp
  drone/ImageViewDrone.h
  drone/MultipeerSession.h drone/MultipeerSession.cpp
  drone/MultipeerSessionState.h drone/MultipeerSessionState.cpp
  drone/OptionalView.h drone/OptionalView.cpp
  drone/PeerBrowserView2.h drone/PeerBrowserView2.cpp
  drone/PeerConnection.h drone/PeerConnection.cpp
  drone/PeerId.h
  drone/SingleOptionalView.h drone/SingleOptionalView.cpp
  drone/SliderView.h drone/SliderView.cpp
  drone/TextView.h
  drone/TimerView.h drone/TimerView.cpp
  drone/VideoView.h
  drone/PeerTransport.h drone/PeerTransport.cpp
  drone/TlsIdentity.h drone/TlsIdentity.cpp)
