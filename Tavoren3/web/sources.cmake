find_package(Qt6 REQUIRED COMPONENTS HttpServer WebSockets)
find_package(PkgConfig REQUIRED)
pkg_check_modules(QRENCODE REQUIRED IMPORTED_TARGET libqrencode)
target_link_libraries(tavoren_core PUBLIC Qt6::HttpServer Qt6::WebSockets PkgConfig::QRENCODE)

target_sources(tavoren_core PRIVATE
  web/QrCodeItem.h web/QrCodeItem.cpp
  web/WebDroneName.h web/WebDroneName.cpp
  web/WebDroneServer.h web/WebDroneServer.cpp
  web/WebHttpServer.h web/WebHttpServer.cpp
  web/WebPairing.h web/WebPairing.cpp
  web/WebStateMessage.h web/WebStateMessage.cpp)

# The page a tablet's browser shows, served from the application's files.
qt_add_resources(tavoren_core web_page
  PREFIX "/web"
  BASE ${CMAKE_CURRENT_SOURCE_DIR}/web/page
  FILES web/page/index.html web/page/drone.css web/page/drone.js)
