#include "writegate.h"

WriteGate::Check WriteGate::check()
{
    if (m_passed)
        return {};
    m_store = PasswordStore();
    if (PasswordFileResult loaded = m_store.ReadPassword(); !loaded.ok())
        return {Step::FileError, loaded};
    if (m_store.isSet())
        return {Step::AskPassword, {}};
    m_passed = true;
    return {Step::NoPassword, {}};
}

bool WriteGate::answer(const QString &typed)
{
    m_passed = m_passed || (m_store.isSet() && m_store.matches(typed));
    return m_passed;
}
