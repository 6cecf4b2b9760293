#include "model/CurrentProtocol.h"

#include "common/Console.h"
#include "model/BundleDecodable.h"

CurrentProtocol::CurrentProtocol(QObject *parent) : QObject(parent) {}

Run *CurrentProtocol::currentProtocol()
{
    if (!m_loaded) {
        m_loaded = true;
        auto loaded = BundleDecodable::loadDefaultProtocol();
        if (auto *run = std::get_if<std::unique_ptr<Run>>(&loaded)) {
            m_run.copyFrom(**run);
        } else {
            // Without a usable default the operator still gets a document to work on.
            Console::line(std::get<QString>(loaded));
            Run::fillAsNewProtocol(m_run);
        }
    }
    return &m_run;
}

void CurrentProtocol::setCurrentProtocolName(const QString &name)
{
    if (m_name == name)
        return;
    m_name = name;
    emit currentProtocolNameChanged();
}
