#pragma once
// The connection settings veltra-calib works with: those of the settings file, read as the window
// reads them, with the port and the connection type of the command line put over them.

#include "appsettings.h"
#include "tooloptions.h"

ConnectionSettings toolConnectionSettings(const ToolOptions &options);
