#pragma once

#include "bridge/BleBackend.h"
#include "bridge/BridgeSimulator.h"

#include <memory>

// Hands every central made while it lives a fast simulated bridge.
struct FastBridge
{
    FastBridge()
    {
        BleBackend::setProcessFactory([this] {
            auto simulator = std::make_unique<BridgeSimulator>(BridgeSimulator::Timing::fast());
            bridge = simulator.get();
            return simulator;
        });
    }
    ~FastBridge() { BleBackend::setProcessFactory({}); }
    FastBridge(const FastBridge &) = delete;
    FastBridge &operator=(const FastBridge &) = delete;

    BridgeSimulator *bridge = nullptr;
};
