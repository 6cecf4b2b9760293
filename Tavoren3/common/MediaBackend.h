#pragma once

// Picks Qt Multimedia's FFmpeg backend, whose libraries come with the Qt
// package; its GStreamer backend needs plugins that a fresh machine lacks and
// crashes on a video without them. A QT_MEDIA_BACKEND already set is kept.
// Call before the application object exists.
void chooseMediaBackend();
