#pragma once

#include "drone/DroneStateView.h"
#include "run/DroneStateText.h"

// A video on the drone.
class VideoView : public DroneStateView
{
    Q_OBJECT

public:
    VideoView(VerkeersLeiding &manager, MultipeerSession &session, QString videoLink, bool showButtons,
              bool autoStartPlaying, bool autoContinue, QObject *parent = nullptr)
        : DroneStateView(manager, session, parent), m_videoLink(std::move(videoLink)), m_showButtons(showButtons),
          m_autoStartPlaying(autoStartPlaying), m_autoContinue(autoContinue) {}

    bool showButtons() const { return m_showButtons; }

protected:
    QString viewName() const override { return QStringLiteral("VideoView"); }
    QString state() const override
    {
        return DroneStateText::video(m_videoLink, m_showButtons, m_autoStartPlaying, m_autoContinue);
    }

private:
    QString m_videoLink;
    bool m_showButtons;
    bool m_autoStartPlaying;
    bool m_autoContinue;
};
