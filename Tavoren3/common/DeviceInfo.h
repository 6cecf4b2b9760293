#pragma once

#include <QString>

// What the device calls itself.
class DeviceInfo
{
public:
    // The device's model name (the firmware's product name, else the
    // operating system's name): the peer display name.
    static QString modelName();
    // The name the user gave the device (its host name).
    static QString userVisibleName();
};
