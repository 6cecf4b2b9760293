#include "run/ContentViewModel.h"

#include "drone/MultipeerSession.h"
#include "model/ProtocolLibrary.h"
#include "run/VerkeersLeiding.h"

ContentViewModel::ContentViewModel(VerkeersLeiding &controller, MultipeerSession &session, ProtocolLibrary &library,
                                   QObject *parent)
    : QObject(parent), m_controller(controller), m_session(session), m_library(library)
{
    connect(&m_controller, &VerkeersLeiding::shouldReturnToHomeChanged, this, [this] {
        if (m_controller.shouldReturnToHome())
            returnToHome();
    });
    connect(&m_library, &ProtocolLibrary::selectedFileNameChanged, this,
            &ContentViewModel::currentEditingFileNameChanged);
}

void ContentViewModel::setIsPPidUnknown(bool unknown)
{
    if (m_isPPidUnknown == unknown)
        return;
    m_isPPidUnknown = unknown;
    emit isPPidUnknownChanged();
}

void ContentViewModel::setIsTestEditing(bool editing)
{
    if (m_isTestEditing == editing)
        return;
    m_isTestEditing = editing;
    emit isTestEditingChanged();
}

QString ContentViewModel::currentEditingFileName() const
{
    return m_library.selectedFileName();
}

void ContentViewModel::appeared()
{
    m_session.setAutoInvite(true);
    m_session.startBrowsing();
    m_session.startAdvertising();
}

void ContentViewModel::returnToHome()
{
    setIsPPidUnknown(true);
    setIsTestEditing(false);
    m_library.setSelectedFileName(QString());
    m_controller.setShouldReturnToHome(false);
}
