find_package(OpenSSL REQUIRED)
target_link_libraries(tavoren_core PUBLIC OpenSSL::Crypto)

target_sources(tavoren_core PRIVATE
  drone/AnnouncementLimiter.h drone/AnnouncementLimiter.cpp
  drone/BreathingPacer.h drone/BreathingPacer.cpp
  drone/BreathingView.h
  drone/ByteBudget.h drone/ByteBudget.cpp
  drone/DeviceIdentity.h drone/DeviceIdentity.cpp
  drone/DroneCountdown.h drone/DroneCountdown.cpp
  drone/DroneEndpoint.h drone/DroneEndpoint.cpp
  drone/DroneChannel.h
  drone/DronePayload.h drone/DronePayload.cpp
  drone/DroneScreen.h drone/DroneScreen.cpp
  drone/DroneSlider.h drone/DroneSlider.cpp
  drone/DroneStateView.h drone/DroneStateView.cpp
  drone/DroneVideo.h drone/DroneVideo.cpp
  drone/FrameReader.h drone/FrameReader.cpp
  drone/ImageViewDrone.h
  drone/LinkLimits.h
  drone/LinkServer.h drone/LinkServer.cpp
  drone/MultipeerSession.h drone/MultipeerSession.cpp
  drone/MultipeerSessionState.h drone/MultipeerSessionState.cpp
  drone/OptionalView.h drone/OptionalView.cpp
  drone/PairedDevices.h drone/PairedDevices.cpp
  drone/PairingCode.h drone/PairingCode.cpp
  drone/PeerBrowser.h drone/PeerBrowser.cpp
  drone/PeerBrowserView2.h drone/PeerBrowserView2.cpp
  drone/PeerChoiceList.h drone/PeerChoiceList.cpp
  drone/PeerConnection.h drone/PeerConnection.cpp
  drone/PeerId.h
  drone/SingleOptionalView.h drone/SingleOptionalView.cpp
  drone/SliderView.h drone/SliderView.cpp
  drone/TextView.h
  drone/TimerView.h drone/TimerView.cpp
  drone/VideoView.h
  drone/PeerTransport.h drone/PeerTransport.cpp)
