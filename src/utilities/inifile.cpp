#include "inifile.h"

#include "savefile.h"
#include "settingvalue.h"

#include <QFile>
#include <QFileInfo>
#include <optional>

namespace {

// Files are 8-bit: every byte is one Latin-1 character. The file is worked on as bytes, so a
// write changes the bytes of one line and keeps every other byte as it was.
constexpr QByteArrayView Utf8Bom("\xEF\xBB\xBF");
// The line ending of the format, for files that have none yet.
constexpr QByteArrayView DefaultEnding("\r\n");

// One line: its text is [start, end), without the line ending; the next line starts at next.
struct LineSpan
{
    qsizetype start = 0;
    qsizetype end = 0;
    qsizetype next = 0;

    bool hasEnding() const { return next > end; }
};

LineSpan lineAt(const QByteArray &bytes, qsizetype start)
{
    const qsizetype newline = bytes.indexOf('\n', start);
    if (newline < 0)
        return {start, bytes.size(), bytes.size()};
    const bool crlf = newline > start && bytes.at(newline - 1) == '\r';
    return {start, crlf ? newline - 1 : newline, newline + 1};
}

qsizetype bodyStart(const QByteArray &bytes)
{
    return bytes.startsWith(Utf8Bom) ? Utf8Bom.size() : 0;
}

// New lines follow the file's first line.
QByteArray lineEnding(const QByteArray &bytes)
{
    const LineSpan first = lineAt(bytes, bodyStart(bytes));
    if (!first.hasEnding())
        return DefaultEnding.toByteArray();
    return bytes.mid(first.end, first.next - first.end);
}

// Spaces and tabs around names and values do not count, as with the platform's own reader.
template<typename View> View trimmedBlanks(View text)
{
    while (!text.isEmpty() && (text.front() == u' ' || text.front() == u'\t'))
        text = text.sliced(1);
    while (!text.isEmpty() && (text.back() == u' ' || text.back() == u'\t'))
        text.chop(1);
    return text;
}

struct Entry
{
    enum class Type { Other, Section, Key };
    Type type = Type::Other;
    QByteArrayView name;
    qsizetype valueStart = 0; // offset of the value in the line, for keys
};

Entry classify(QByteArrayView line)
{
    const QByteArrayView text = trimmedBlanks(line);
    if (text.startsWith('[')) {
        const qsizetype close = text.indexOf(']');
        const QByteArrayView name = text.sliced(1, (close < 0 ? text.size() : close) - 1);
        return {Entry::Type::Section, trimmedBlanks(name), 0};
    }
    const qsizetype equals = line.indexOf('=');
    if (text.startsWith(';') || equals < 0)
        return {};
    return {Entry::Type::Key, trimmedBlanks(line.first(equals)), equals + 1};
}

bool sameName(QByteArrayView fileName, QStringView wanted)
{
    const QLatin1String name(fileName.data(), fileName.size());
    return name.compare(wanted, Qt::CaseInsensitive) == 0;
}

struct Found
{
    std::optional<LineSpan> keyLine; // the key's first line inside a section of that name
    qsizetype valueStart = 0; // where its value begins
    std::optional<LineSpan> sectionEnd; // last non-blank line of the first section of that name
};

Found find(const QByteArray &bytes, const QString &section, const QString &key)
{
    const QStringView wantedSection = trimmedBlanks(QStringView(section));
    const QStringView wantedKey = trimmedBlanks(QStringView(key));
    Found found;
    bool inSection = false; // lines before the first section header belong to none
    int sectionsSeen = 0;
    for (qsizetype start = bodyStart(bytes); start < bytes.size() && !found.keyLine;) {
        const LineSpan line = lineAt(bytes, start);
        start = line.next;
        const QByteArrayView text = QByteArrayView(bytes).sliced(line.start, line.end - line.start);
        const Entry entry = classify(text);
        if (entry.type == Entry::Type::Section) {
            inSection = sameName(entry.name, wantedSection);
            sectionsSeen += inSection ? 1 : 0;
        }
        if (!inSection)
            continue;
        if (sectionsSeen == 1 && !trimmedBlanks(text).isEmpty())
            found.sectionEnd = line;
        if (entry.type == Entry::Type::Key && sameName(entry.name, wantedKey)) {
            found.keyLine = line;
            found.valueStart = line.start + entry.valueStart;
        }
    }
    return found;
}

// What the platform's reader makes of a stored value: a C string, blanks and one pair of
// enclosing quotes removed.
QString storedValue(QByteArrayView raw)
{
    QString value = trimmedBlanks(CutNull(QString::fromLatin1(raw)));
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'')
        && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value.left(IniFile::MaxValueLength);
}

enum class FileState { Missing, Loaded, Unusable };

struct LoadedFile
{
    FileState state = FileState::Missing;
    QByteArray bytes;
};

// A file over the size limit, or anything that is not a plain file (a folder, a device, a
// pipe that would block), is not read at all.
LoadedFile load(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    QFile file(path);
    if (!info.isFile() || info.size() > IniFile::MaxFileSize || !file.open(QIODevice::ReadOnly))
        return {FileState::Unusable, {}};
    QByteArray bytes = file.read(IniFile::MaxFileSize + 1);
    if (bytes.size() > IniFile::MaxFileSize || file.error() != QFileDevice::NoError)
        return {FileState::Unusable, {}};
    return {FileState::Loaded, bytes};
}

// Names and values that the file can hold and give back unchanged: 8-bit, one line, and a key
// or section name that cannot be taken for something else.
bool isStorable(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0xFF || c == u'\r' || c == u'\n' || c == u'\0')
            return false;
    }
    return true;
}

bool isStorableName(const QString &name, QChar forbidden)
{
    const QStringView trimmed = trimmedBlanks(QStringView(name));
    return isStorable(name) && !trimmed.isEmpty() && !trimmed.contains(forbidden)
        && !trimmed.startsWith(u'[') && !trimmed.startsWith(u';');
}

} // namespace

namespace IniFile {

QString readString(const QString &path, const QString &section, const QString &key,
                   const QString &defaultText)
{
    const LoadedFile file = load(path);
    if (file.state != FileState::Loaded)
        return defaultText;
    return valueIn(file.bytes, section, key, defaultText);
}

QString valueIn(const QByteArray &bytes, const QString &section, const QString &key,
                const QString &defaultText)
{
    const Found found = find(bytes, section, key);
    if (!found.keyLine)
        return defaultText;
    const qsizetype length = found.keyLine->end - found.valueStart;
    return storedValue(QByteArrayView(bytes).sliced(found.valueStart, length));
}

bool writeString(const QString &path, const QString &section, const QString &key,
                 const QString &text)
{
    if (!isStorableName(section, u']') || !isStorableName(key, u'=') || !isStorable(text))
        return false;
    const LoadedFile file = load(path);
    if (file.state == FileState::Unusable)
        return false;

    QByteArray bytes = file.bytes;
    const QByteArray ending = lineEnding(bytes);
    const QByteArray entry = key.toLatin1() + '=' + text.toLatin1() + ending;
    const Found found = find(bytes, section, key);
    if (found.keyLine) {
        // The key keeps the file's spelling and indentation.
        bytes.replace(found.valueStart, found.keyLine->end - found.valueStart, text.toLatin1());
    } else if (found.sectionEnd) {
        const LineSpan last = *found.sectionEnd;
        bytes.insert(last.next, last.hasEnding() ? entry : ending + entry);
    } else {
        if (bytes.size() > bodyStart(bytes) && !bytes.endsWith('\n'))
            bytes += ending;
        bytes += '[' + section.toLatin1() + ']' + ending + entry;
    }

    if (file.state == FileState::Loaded && bytes == file.bytes)
        return true;
    // A file over the limit would read as missing from then on.
    if (bytes.size() > MaxFileSize)
        return false;
    return saveFileAtomically(path, bytes).isEmpty();
}

} // namespace IniFile
