#include "passwordstore.h"

#include "programpaths.h"
#include "savefile.h"
#include "settingvalue.h"
#include "uiservices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <algorithm>

QString Password[2];
QString InputPassword;

namespace {

constexpr qsizetype SlotBytes = qsizetype{2} * MaxPasswordLength;
constexpr qsizetype FileBytes = 2 * SlotBytes + 1;
constexpr char FileEndMark = '0';

QString passwordFilePath()
{
    return PrgPath + PasswordFileName;
}

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

bool isPasswordCharacter(QChar c)
{
    return c.unicode() >= 1 && c.unicode() <= 255;
}

bool ReadPassword()
{
    const QString path = passwordFilePath();
    const QFileInfo info(path);
    QByteArray bytes;
    // Only a missing file means "no password"; one that is there but cannot be read must not drop
    // the protection it holds. A link to nowhere counts as there.
    if (info.exists() || info.isSymLink()) {
        QFile file(path);
        QString reason;
        // Anything but a plain file (a pipe would block the program) is not opened at all.
        if (info.exists() && !info.isFile() && !info.isDir())
            reason = QStringLiteral("Not a regular file");
        else if (file.open(QIODevice::ReadOnly))
            bytes = file.read(FileBytes);
        if (reason.isEmpty() && file.error() != QFileDevice::NoError)
            reason = file.errorString();
        if (!reason.isEmpty()) {
            msgBox(QStringLiteral("Cannot read password file!\n%1\n%2")
                       .arg(QDir::toNativeSeparators(path), reason),
                   MsgButtons::Ok, MsgIcon::Stop);
            return false;
        }
    }
    loadPasswordBytes(bytes);
    return true;
}

void loadPasswordBytes(const QByteArray &bytes)
{
    if (bytes.isEmpty()) {
        Password[0].clear();
        Password[1].clear();
        return;
    }
    // A file too short for slot 0 leaves slot 1 as it was, as older versions did.
    if (bytes.size() < SlotBytes) {
        Password[0].clear();
        return;
    }
    Password[0] = decodeSlot(bytes.constData());
    Password[1] =
        bytes.size() < 2 * SlotBytes ? QString() : decodeSlot(bytes.constData() + SlotBytes);
}

bool WritePassword()
{
    if (!isStorable(Password[0]) || !isStorable(Password[1])) {
        msgBox(QStringLiteral("Invalid password, cannot save password!"), MsgButtons::Ok,
               MsgIcon::Stop);
        return false;
    }
    QByteArray bytes = encodeSlot(Password[0]) + encodeSlot(Password[1]);
    bytes.append(FileEndMark);

    // The file guards who may write calibration dates: only its owner may read or change it.
    const QString path = passwordFilePath();
    const QString reason =
        saveFileAtomically(path, bytes, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (!reason.isEmpty()) {
        msgBox(QStringLiteral("Cannot save password!\n%1\n%2")
                   .arg(QDir::toNativeSeparators(path), reason),
               MsgButtons::Ok, MsgIcon::Stop);
        return false;
    }
    return true;
}
