#pragma once
// Settings values and the conversion of short text lines into values.
//
// Contract: GetValue takes one value off the front of a line (a settings value or an instrument
// reply) and never throws; every failure comes back as the failure marker, which reads as -1.
// Callers turn a value into a 16-bit integer with toInt16(), the one place that rounds (half to
// even) and detects overflow.

#include <QString>
#include <optional>

class SettingValue
{
public:
    enum class Kind { Truth, Number, Failure };

    static SettingValue truth(bool value);
    static SettingValue number(double value);
    static SettingValue failure();

    Kind kind() const { return m_kind; }
    bool isFailure() const { return m_kind == Kind::Failure; }

    // true gives -1, false 0, the failure marker -1.
    double toDouble() const;
    // Rounded half to even; std::nullopt when the number does not fit -32768..32767.
    std::optional<qint16> toInt16() const;

private:
    SettingValue(Kind kind, double value) : m_kind(kind), m_value(value) { }
    Kind m_kind;
    double m_value;
};

// Truth values kept in 16-bit flags: -1 is true (any non-zero reads as true), 0 false.
constexpr qint16 FlagTrue = -1;
constexpr qint16 FlagFalse = 0;

// Takes the value before the first separator off the front of the line. With removeFlag non-zero
// the line keeps the trimmed rest after the separator. A number may use "." or "," as decimal
// separator under any locale and reads the same everywhere; "&H" is followed by hexadecimal
// digits and gives their plain value ("&HFFFF" is 65535).
SettingValue GetValue(QString &line, int removeFlag, const QString &separator);

QString CutNull(const QString &text);
QString CommaToPoint(const QString &text);
QString PointToComma(const QString &text);

// Trimming in this program removes the space character only, never tabs or other blanks.
QString trimSpaces(const QString &text);
QString trimLeadingSpaces(const QString &text);
