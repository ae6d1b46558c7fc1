#include "passwordstore.h"

#include "savefile.h"
#include "settingvalue.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <algorithm>
#include <utility>

namespace {

constexpr qsizetype SlotBytes = qsizetype{2} * MaxPasswordLength;
constexpr qsizetype FileBytes = 2 * SlotBytes + 1;
constexpr char FileEndMark = '0';

// Value i (0-based) holds the character code minus 12 + i; the text is closed by a NUL and
// padded with spaces, so a 20-character password leaves no room for its NUL.
QByteArray encodeSlot(const QString &text)
{
    const QString padded = (text + QChar(0)).leftJustified(MaxPasswordLength, QLatin1Char(' '));
    QByteArray bytes(SlotBytes, '\0');
    for (qsizetype i = 0; i < MaxPasswordLength; ++i) {
        const qint16 value = qint16(padded.at(i).unicode() - 12 - i);
        qToLittleEndian(value, bytes.data() + 2 * i);
    }
    return bytes;
}

// A value that decodes outside 0..255 can only come from a damaged file: the slot counts as empty.
QString decodeSlot(const char *bytes)
{
    QString text;
    for (int i = 0; i < MaxPasswordLength; ++i) {
        const int code = qFromLittleEndian<qint16>(bytes + qsizetype{2} * i) + 12 + i;
        if (code < 0 || code > 255)
            return QString();
        text.append(QChar(code));
    }
    return CutNull(text);
}

bool isStorable(const QString &text)
{
    return text.size() <= MaxPasswordLength
        && std::all_of(text.cbegin(), text.cend(), isPasswordCharacter);
}

} // namespace

QString PasswordFileResult::text() const
{
    switch (error) {
    case Error::None:
        break;
    case Error::Unreadable:
        return QCoreApplication::translate("PasswordStore", "Cannot read password file!\n%1\n%2")
            .arg(QDir::toNativeSeparators(path), reason);
    case Error::InvalidPassword:
        return QCoreApplication::translate("PasswordStore",
                                           "Invalid password, cannot save password!");
    case Error::Unwritable:
        return QCoreApplication::translate("PasswordStore", "Cannot save password!\n%1\n%2")
            .arg(QDir::toNativeSeparators(path), reason);
    }
    return QString();
}

bool isPasswordCharacter(QChar c)
{
    return c.unicode() >= 1 && c.unicode() <= 255;
}

PasswordStore::PasswordStore() : m_path(PrgPath + PasswordFileName)
{ }

PasswordStore::PasswordStore(QString path) : m_path(std::move(path))
{ }

PasswordFileResult PasswordStore::ReadPassword()
{
    const QFileInfo info(m_path);
    QByteArray bytes;
    // Only a missing file means "no password"; one that is there but cannot be read must not drop
    // the protection it holds. A link to nowhere counts as there.
    if (info.exists() || info.isSymLink()) {
        QFile file(m_path);
        QString reason;
        // Anything but a plain file (a pipe would block the program) is not opened at all.
        if (info.exists() && !info.isFile() && !info.isDir())
            reason = QCoreApplication::translate("PasswordStore", "Not a regular file");
        else if (file.open(QIODevice::ReadOnly))
            bytes = file.read(FileBytes);
        if (reason.isEmpty() && file.error() != QFileDevice::NoError)
            reason = file.errorString();
        if (!reason.isEmpty())
            return {PasswordFileResult::Error::Unreadable, m_path, reason};
    }
    loadBytes(bytes);
    return {};
}

void PasswordStore::loadBytes(const QByteArray &bytes)
{
    if (bytes.isEmpty()) {
        m_slots[0].clear();
        m_slots[1].clear();
        return;
    }
    // A file too short for slot 0 leaves slot 1 as it was, as older versions did.
    if (bytes.size() < SlotBytes) {
        m_slots[0].clear();
        return;
    }
    m_slots[0] = decodeSlot(bytes.constData());
    m_slots[1] =
        bytes.size() < 2 * SlotBytes ? QString() : decodeSlot(bytes.constData() + SlotBytes);
}

PasswordFileResult PasswordStore::WritePassword() const
{
    if (!isStorable(m_slots[0]) || !isStorable(m_slots[1]))
        return {PasswordFileResult::Error::InvalidPassword, m_path, QString()};
    QByteArray bytes = encodeSlot(m_slots[0]) + encodeSlot(m_slots[1]);
    bytes.append(FileEndMark);

    // The file guards who may write calibration dates: only its owner may read or change it.
    const QString reason =
        saveFileAtomically(m_path, bytes, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (!reason.isEmpty())
        return {PasswordFileResult::Error::Unwritable, m_path, reason};
    return {};
}
