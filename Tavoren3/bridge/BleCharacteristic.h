#pragma once

#include <QBluetoothUuid>
#include <QByteArray>

// A characteristic as discovered or updated: UUID, property bits and value.
struct BleCharacteristic
{
    enum Property : quint8 {
        Read = 0x02,
        WriteWithoutResponse = 0x04,
        Write = 0x08,
        Notify = 0x10,
        Indicate = 0x20,
    };

    QBluetoothUuid uuid;
    quint8 properties = 0;
    QByteArray value;

    bool has(Property property) const { return (properties & property) != 0; }
};
