#pragma once

class QObject;

// Connects every notifying property of source to the receiver's "changed()"
// signal, so a view model with derived texts follows all of them.
void forwardChanges(const QObject &source, QObject &receiver);
