#pragma once
// Why a serial port cannot be opened, said as the cause and its fix.
//
// PortDiagnoser looks at the system through a root folder ("/" normally, a temp folder in tests):
// the device node with its owner, group and mode, the account and groups of this process, lock
// files, the open descriptors of other processes, the USB adapter behind a device and the
// adapters brltty claims. It never opens the device; the caller passes what opening it gave.
// The checks run in a fixed order: no device, no permission, busy, anything else; brltty counts
// as the reason an adapter has gone.
// The system-specific part lives in portdiagnosislinux.cpp; another system brings its own.

#include <QMap>
#include <QString>
#include <QStringList>

enum class PortProblem { None, Absent, NoPermission, Busy, Brltty, Other };

struct PortDiagnosis
{
    PortProblem problem = PortProblem::None;
    // One sentence each; the first names the cause and the fix.
    QStringList sentences;

    QString text() const { return sentences.join(u'\n'); }
};

// What opening a port gave.
struct OpenAttempt
{
    int portNo = 0;
    // The device the number maps to; empty when it maps to none.
    QString path;
    // errno of opening the device itself; 0 when that worked and a later step failed.
    int error = 0;
    // The serial port's own failure text, for the case nothing else explains.
    QString errorText;
    // Line settings asked for, such as "9600,e,7,2".
    QString settings;
    // The ports whose devices are present now: number -> device path.
    QMap<int, QString> presentPorts;
};

class PortDiagnoser
{
public:
    explicit PortDiagnoser(QString root = QStringLiteral("/"));

    PortDiagnosis diagnose(const OpenAttempt &attempt) const;

    // The state of a device for the port list, read without opening it: empty when nothing
    // speaks against opening it, else one short sentence (absent, not accessible, busy).
    QString condition(const QString &path) const;

    // errno of opening `path` now the way the serial port does; 0 when it opens (it is closed
    // again at once). Only for the real root.
    static int openError(const QString &path);

private:
    QString m_root;
};
