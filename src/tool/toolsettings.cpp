#include "toolsettings.h"

ConnectionSettings toolConnectionSettings(const ToolOptions &options)
{
    ConnectionSettings settings = readAppSettings().connection;
    // A device path stands in as port 1 of a port map of its own.
    if (!options.device.isEmpty())
        settings.ComPortNo = 1;
    else if (options.port)
        settings.ComPortNo = qint16(*options.port);
    if (options.bluetooth.value_or(false))
        settings.BluetoothOn = 1;
    return settings;
}
