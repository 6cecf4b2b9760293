find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBPLIST REQUIRED IMPORTED_TARGET libplist-2.0)
target_link_libraries(tavoren_core PUBLIC PkgConfig::LIBPLIST)

set(TAVOREN_MANIFEST_URL "http://updates.invalid/tavoren/manifest.plist"
    CACHE STRING "Address of the update server's installation manifest")
set(TAVOREN_INSTALLER_URL "http://updates.invalid/tavoren/"
    CACHE STRING "Address of the installer web page")
set(TAVOREN_INSTALL_LINK_PREFIX "itms-services://?action=download-manifest&url="
    CACHE STRING "Over-the-air install link, followed by the manifest address")

target_compile_definitions(tavoren_core PRIVATE
  TAVOREN_VERSION="${PROJECT_VERSION}"
  TAVOREN_BUILD="${TAVOREN_BUILD_NUMBER}"
  TAVOREN_MANIFEST_URL="${TAVOREN_MANIFEST_URL}"
  TAVOREN_INSTALLER_URL="${TAVOREN_INSTALLER_URL}"
  TAVOREN_INSTALL_LINK_PREFIX="${TAVOREN_INSTALL_LINK_PREFIX}")

target_sources(tavoren_core PRIVATE
  report/AppInfo.h report/AppInfo.cpp
  report/BackgroundProgram.h report/BackgroundProgram.cpp
  report/BackgroundViewModel.h report/BackgroundViewModel.cpp
  report/BidsDataset.h report/BidsDataset.cpp
  report/BidsEventTable.h report/BidsEventTable.cpp
  report/CompletionOverlay.h report/CompletionOverlay.cpp
  report/DesktopMailComposer.h report/DesktopMailComposer.cpp
  report/DesktopUrlOpener.h report/DesktopUrlOpener.cpp
  report/MailComposeView.h report/MailComposeView.cpp
  report/MailComposer.h
  report/MimeMessage.h report/MimeMessage.cpp
  report/RunSessionFile.h report/RunSessionFile.cpp
  report/SendmailTransport.h report/SendmailTransport.cpp
  report/SystemMailComposer.h report/SystemMailComposer.cpp
  report/TimelineItem.h report/TimelineItem.cpp
  report/TimelinePicture.h report/TimelinePicture.cpp
  report/UpdateManifest.h report/UpdateManifest.cpp
  report/UrlOpener.h
  report/VersionComparison.h report/VersionComparison.cpp)
