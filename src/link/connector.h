#pragma once
// Finding the instrument: opening a port with the line profile of a connection type, asking one
// port for the identity ("V"), searching ports for one that answers, and keeping the port found.
// The window's start, the port dialog and veltra-calib all connect through it.
//
// Contract:
// - No messages: every outcome is a return value; the caller shows it.
// - Opening and probing process events while they wait. A search asks its `cancelled` hook after
//   each such wait and ends at once when it says so, without calling any other hook (a closed
//   dialog must not be touched).
// - Only keepPort() writes the settings file ("ComPort").

#include "link.h"

#include <QList>
#include <QMap>

#include <functional>
#include <optional>

class Connector
{
public:
    explicit Connector(Link &link) : m_link(link) { }

    // Port numbers 1 to 255, the order of a search over all ports.
    static QList<int> allPorts();

    // OpenComPort: 0 when open, PortOpenFailed (the reason in the link's openFailure()).
    qint16 open(int portNo, qint16 fastProfile);
    // Asks the open port for the instrument's identity ("V"); its reply as delivered, or nothing
    // when no instrument answered.
    std::optional<QString> probe(bool verifyStatus = false);

    struct SearchHooks
    {
        // Before each port, whether present or not.
        std::function<void(int portNo)> progress;
        // After each opening and each probe.
        std::function<bool()> cancelled;
    };
    struct SearchResult
    {
        std::optional<int> found;
        std::optional<QString> identity; // the found instrument's reply to "V"
        bool cancelled = false;
        // Ports that opened, and why the others that are present did not.
        int opened = 0;
        QMap<int, PortDiagnosis> openFailures;
        // True when every port tried refused for want of permission.
        bool onlyDenied() const;
    };
    // Tries the ports in the given order: skips those not present, opens the others and probes
    // them, and stops at the first that answers, which stays open.
    SearchResult search(const QList<int> &ports, qint16 fastProfile, const SearchHooks &hooks);

    // The port found becomes the link's port; "ComPort" is written when it differs from the port
    // the link had.
    void keepPort(int portNo);

private:
    Link &m_link;
};
