#pragma once

#include "editor/RunEditorViewModel.h"
#include "model/ProtocolLibrary.h"
#include "model/ProtocolWriter.h"
#include "run/ContentViewModel.h"
#include "run/RunFixture.h"

#include <QCoreApplication>
#include <QDir>

// An editor over the current protocol, with the start screen's state and a
// temporary documents folder.
class EditorFixture : public RunFixture
{
protected:
    // Opens the editor on these steps; with a file name the protocol is
    // first saved there and opened from it.
    void open(const QList<DeelTestje> &steps, const QString &fileName = QString())
    {
        useSteps(steps);
        if (!fileName.isEmpty()) {
            documents.write("Research_protocols/" + fileName, ProtocolWriter::encode(document()));
            library.setSelectedFileName(fileName);
        }
        content.setIsTestEditing(true);
        // The initial load ends on the next turn of the event loop.
        QCoreApplication::processEvents();
    }

    ::Run &document() { return *protocol.currentProtocol(); }

    QStringList names()
    {
        QStringList all;
        for (const DeelTestje &s : document().steps())
            all.append(s.name);
        return all;
    }

    QStringList protocolFiles() const
    {
        return QDir(documents.filePath("Research_protocols")).entryList(QDir::Files, QDir::Name);
    }

    ProtocolLibrary library{protocol};
    ContentViewModel content{controller, session, library};
    RunEditorViewModel editor{content, library, controller};
};
