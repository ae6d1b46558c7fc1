#include "connector.h"

#include "appsettings.h"
#include "portmap.h"

#include <algorithm>

QList<int> Connector::allPorts()
{
    QList<int> ports;
    for (int portNo = 1; portNo <= PortMap::MaxPortNo; ++portNo)
        ports.append(portNo);
    return ports;
}

qint16 Connector::open(int portNo, qint16 fastProfile)
{
    return m_link.OpenComPort(qint16(portNo), fastProfile);
}

std::optional<QString> Connector::probe(bool verifyStatus)
{
    if (m_link.DoTransfer(QStringLiteral("V"), verifyStatus ? 1 : 0) == -1)
        return std::nullopt;
    return m_link.responseText();
}

bool Connector::SearchResult::onlyDenied() const
{
    return opened == 0 && !openFailures.isEmpty()
        && std::all_of(openFailures.cbegin(), openFailures.cend(), [](const PortDiagnosis &why) {
               return why.problem == PortProblem::NoPermission;
           });
}

Connector::SearchResult Connector::search(const QList<int> &ports, qint16 fastProfile,
                                          const SearchHooks &hooks)
{
    SearchResult result;
    const auto cancelled = [&] { return hooks.cancelled && hooks.cancelled(); };
    for (const int portNo : ports) {
        if (hooks.progress)
            hooks.progress(portNo);
        if (!m_link.Comm1.isPresent(portNo))
            continue;
        const qint16 opening = open(portNo, fastProfile);
        if (cancelled()) {
            result.cancelled = true;
            return result;
        }
        if (opening != 0) {
            result.openFailures.insert(portNo, m_link.openFailure());
            continue;
        }
        ++result.opened;
        result.identity = probe();
        if (cancelled()) {
            result.cancelled = true;
            return result;
        }
        if (result.identity) {
            result.found = portNo;
            return result;
        }
    }
    return result;
}

void Connector::keepPort(int portNo)
{
    ConnectionSettings settings = m_link.settings();
    if (settings.ComPortNo == portNo)
        return;
    settings.ComPortNo = qint16(portNo);
    m_link.setSettings(settings);
    storeComPort(settings.ComPortNo);
}
