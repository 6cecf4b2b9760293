#pragma once

#include "drone/DroneStateView.h"

// An image set on the drone.
class ImageViewDrone : public DroneStateView
{
    Q_OBJECT

public:
    ImageViewDrone(VerkeersLeiding &manager, MultipeerSession &session, QString imageSet, QObject *parent = nullptr)
        : DroneStateView(manager, session, parent), m_imageSet(std::move(imageSet)) {}

protected:
    QString viewName() const override { return QStringLiteral("ImageViewDrone"); }
    QString state() const override { return QStringLiteral("images: ") + m_imageSet; }

private:
    QString m_imageSet;
};
