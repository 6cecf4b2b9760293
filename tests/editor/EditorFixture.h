#pragma once

#include "editor/RunEditorViewModel.h"
#include "editor/TestListRowViewModel.h"
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
        QCoreApplication::processEvents(); // the initial load ends on the next turn
    }

    ::Run &document() { return *protocol.currentProtocol(); }

    // The list as shown, "*" before the selected row.
    QString rows() const
    {
        QStringList all;
        for (const TestListRowViewModel *row : editor.rows())
            all << (row->isSelected() ? "*" : "") + row->text();
        return all.join(" | ");
    }

    // The editor at a glance: open or closed, unsaved changes, the question asked and why.
    QString state() const
    {
        QStringList all{content.isTestEditing() ? "open" : "closed"};
        if (editor.hasUnsavedChanges())
            all << "unsaved";
        if (editor.showUnsavedChangesAlert())
            all << "asking";
        if (const auto action = editor.pendingExitAction())
            all << (*action == RunEditorViewModel::PendingExitAction::cancel ? "on cancel" : "on leaving the app");
        return all.join(", ");
    }

    QStringList protocolFiles() const { return QDir(documents.filePath("Research_protocols")).entryList(QDir::Files); }

    ProtocolLibrary library{protocol};
    ContentViewModel content{controller, session, library};
    RunEditorViewModel editor{content, library, controller};
};
