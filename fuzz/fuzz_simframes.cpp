// Arbitrary bytes sent to the virtual instrument, arriving in pieces (split at each 0xFE byte).
// The first byte picks the simulator's options (framing, echo and the faults it can show), so
// every path of its frame parser is reached. The device is never opened: the answers go nowhere,
// which leaves the parser, the instrument model and the reply framing under test.

#include "framelog.h"
#include "instrumentmodel.h"
#include "linewriter.h"
#include "protocolserver.h"
#include "ptydevice.h"
#include "simoptions.h"

#include <QCoreApplication>

namespace {

SimOptions optionsFrom(quint8 bits)
{
    SimOptions options;
    options.framing = (bits & 0x01) ? Framing::Plain : Framing::Framed;
    options.echo = bits & 0x02;
    options.noise = bits & 0x04;
    options.splitBytes = (bits & 0x08) ? 3 : 0;
    options.badChecksum = bits & 0x10;
    options.lowercaseChecksum = bits & 0x20;
    options.endless = bits & 0x40;
    options.hangupAfter = (bits & 0x80) ? 2 : -1;
    options.stalled = {QStringLiteral("WW")};
    return options;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // The simulator's timers need an event dispatcher to start, even though none ever fires here.
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const SimOptions options = optionsFrom(data[0]);
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1),
                           static_cast<qsizetype>(size - 1));

    FrameLog log;
    PtyDevice device;
    InstrumentModel model(options);
    LineWriter writer(device, log, 0);
    ProtocolServer server(options, model, device, writer, log);
    for (const QByteArray &piece : bytes.split('\xFE'))
        emit device.received(piece);
    return 0;
}
