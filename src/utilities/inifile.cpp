#include "inifile.h"

#include "settingvalue.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>

namespace {

// Files are 8-bit: every byte is one Latin-1 character, so whatever a file holds comes back
// unchanged when its other lines are written out again.
const QByteArray Utf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");
// The line ending of the format, for files that have none yet.
const QByteArray DefaultEnding = QByteArrayLiteral("\r\n");

struct Line
{
    QByteArray text;   // without its line ending
    QByteArray ending; // "\r\n", "\n", or empty for a last line without one
};

struct Document
{
    QByteArray bom;
    QList<Line> lines;

    // New lines follow the file's first line.
    QByteArray ending() const
    {
        return lines.isEmpty() || lines.first().ending.isEmpty() ? DefaultEnding
                                                                 : lines.first().ending;
    }

    QByteArray toBytes() const
    {
        QByteArray bytes = bom;
        for (const Line &line : lines)
            bytes += line.text + line.ending;
        return bytes;
    }
};

Document parse(QByteArray bytes)
{
    Document doc;
    if (bytes.startsWith(Utf8Bom)) {
        doc.bom = Utf8Bom;
        bytes.remove(0, Utf8Bom.size());
    }
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype newline = bytes.indexOf('\n', start);
        if (newline < 0) {
            doc.lines.append({bytes.mid(start), {}});
            break;
        }
        const bool crlf = newline > start && bytes.at(newline - 1) == '\r';
        const qsizetype end = crlf ? newline - 1 : newline;
        doc.lines.append({bytes.mid(start, end - start), bytes.mid(end, newline + 1 - end)});
        start = newline + 1;
    }
    return doc;
}

// Spaces and tabs around names and values do not count, as with the platform's own reader.
QString trimmedBlanks(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    const auto blank = [&text](qsizetype i) { return text.at(i) == u' ' || text.at(i) == u'\t'; };
    while (first < last && blank(first))
        ++first;
    while (last > first && blank(last - 1))
        --last;
    return text.mid(first, last - first);
}

struct Entry
{
    enum class Type { Other, Section, Key };
    Type type = Type::Other;
    QString name;
    QString value;
};

Entry classify(const QByteArray &text)
{
    const QString line = trimmedBlanks(QString::fromLatin1(text));
    if (line.startsWith(u'[')) {
        const qsizetype close = line.indexOf(u']');
        return {Entry::Type::Section, trimmedBlanks(line.mid(1, close < 0 ? -1 : close - 1)), {}};
    }
    const qsizetype equals = line.indexOf(u'=');
    if (line.startsWith(u';') || equals < 0)
        return {};
    return {Entry::Type::Key, trimmedBlanks(line.left(equals)), line.mid(equals + 1)};
}

bool sameName(const QString &fileName, const QString &wanted)
{
    return fileName.compare(trimmedBlanks(wanted), Qt::CaseInsensitive) == 0;
}

struct Found
{
    qsizetype keyLine = -1;    // the key's first line inside a section of that name
    qsizetype sectionEnd = -1; // last non-blank line of the first section of that name
    QString value;
};

Found find(const Document &doc, const QString &section, const QString &key)
{
    Found found;
    bool inSection = false; // lines before the first section header belong to none
    int sectionsSeen = 0;
    for (qsizetype i = 0; i < doc.lines.size(); ++i) {
        const Entry entry = classify(doc.lines.at(i).text);
        if (entry.type == Entry::Type::Section) {
            inSection = sameName(entry.name, section);
            sectionsSeen += inSection ? 1 : 0;
        }
        if (!inSection)
            continue;
        if (sectionsSeen == 1 && !trimmedBlanks(QString::fromLatin1(doc.lines.at(i).text)).isEmpty())
            found.sectionEnd = i;
        if (entry.type == Entry::Type::Key && found.keyLine < 0 && sameName(entry.name, key)) {
            found.keyLine = i;
            found.value = entry.value;
        }
    }
    return found;
}

// What the platform's reader makes of a stored value: a C string, blanks and one pair of
// enclosing quotes removed.
QString storedValue(const QString &raw)
{
    QString value = trimmedBlanks(CutNull(raw));
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
    const QString trimmed = trimmedBlanks(name);
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
    const Found found = find(parse(file.bytes), section, key);
    return found.keyLine < 0 ? defaultText : storedValue(found.value);
}

bool writeString(const QString &path, const QString &section, const QString &key,
                 const QString &text)
{
    if (!isStorableName(section, u']') || !isStorableName(key, u'=') || !isStorable(text))
        return false;
    const LoadedFile file = load(path);
    if (file.state == FileState::Unusable)
        return false;

    Document doc = parse(file.bytes);
    const QByteArray ending = doc.ending();
    const QByteArray keyLine = key.toLatin1() + '=' + text.toLatin1();
    const Found found = find(doc, section, key);
    if (found.keyLine >= 0) {
        // Keeps the key as the file spells it, with its indentation.
        Line &line = doc.lines[found.keyLine];
        line.text = line.text.left(line.text.indexOf('=') + 1) + text.toLatin1();
    } else if (found.sectionEnd >= 0) {
        if (doc.lines[found.sectionEnd].ending.isEmpty())
            doc.lines[found.sectionEnd].ending = ending;
        doc.lines.insert(found.sectionEnd + 1, {keyLine, ending});
    } else {
        if (!doc.lines.isEmpty() && doc.lines.last().ending.isEmpty())
            doc.lines.last().ending = ending;
        doc.lines.append({'[' + section.toLatin1() + ']', ending});
        doc.lines.append({keyLine, ending});
    }

    const QByteArray bytes = doc.toBytes();
    if (file.state == FileState::Loaded && bytes == file.bytes)
        return true;
    // A file over the limit would read as missing from then on.
    if (bytes.size() > MaxFileSize)
        return false;
    QSaveFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.commit();
}

} // namespace IniFile
