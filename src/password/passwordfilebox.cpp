#include "passwordfilebox.h"

#include "uiservices.h"

bool passwordFileOk(const PasswordFileResult &result)
{
    if (result.ok())
        return true;
    msgBox(result.text(), MsgButtons::Ok, MsgIcon::Stop);
    return false;
}
