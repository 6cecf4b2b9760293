#pragma once

// A light haptic impact. Where the device has no vibration motor the
// impact is only written to the console.
class HapticFeedback
{
public:
    virtual ~HapticFeedback() = default;
    virtual void impactOccurred();
};
