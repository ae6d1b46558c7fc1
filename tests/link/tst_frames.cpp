// Frames, checksums and parity marks as bytes.

#include "frames.h"
#include "paritymarkdecoder.h"

#include <QTest>

class TestFrames : public QObject
{
    Q_OBJECT
private slots:
    void checksum_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("checksum");
        QTest::newRow("single V") << "V"
                                  << "58";
        QTest::newRow("lower-case abc") << "abc"
                                        << "28";
        QTest::newRow("empty text is STX alone") << ""
                                                 << "02";
        QTest::newRow("sum of 256 wraps to 00") << QString(QChar(0xFE)) << "00";
        QTest::newRow("sum below 16 gets a leading zero") << "\x01"
                                                          << "03";
        QTest::newRow("sum above 255 is taken modulo 256") << "zzz"
                                                           << "70";
        QTest::newRow("hex digits are upper case") << "WR"
                                                   << "AB";
        QTest::newRow("Latin-1 character counts as one byte") << QString(QChar(0xE9)) << "EB";
    }
    void checksum()
    {
        QFETCH(QString, text);
        QFETCH(QString, checksum);
        QCOMPARE(CalcChecksum(text), checksum);
    }

    void commandFrame_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QByteArray>("terminator");
        QTest::newRow("plain V is V CR then LF")
            << "V" << 0 << QByteArray("V\r") << QByteArray("\n");
        QTest::newRow("framed V is STX V 58 then ETX")
            << "V" << 1 << QByteArray("\x02V58") << QByteArray("\x03");
        QTest::newRow("framed write with its dates")
            << "WW250101" << 1 << QByteArray("\x02WW250101D9") << QByteArray("\x03");
    }
    void commandFrame()
    {
        QFETCH(QString, command);
        QFETCH(int, mode);
        const CommandFrame built = buildCommandFrame(command, qint16(mode));
        QTEST(built.frame, "frame");
        QTEST(built.terminator, "terminator");
    }

    void parityMarks_data()
    {
        QTest::addColumn<QByteArrayList>("reads");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("errors");
        // 0xFF is "\377" where a hex digit follows: "\xFFb" would be one escape.
        const auto bytes = [](const char *text, int size) { return QByteArray(text, size); };
        QTest::newRow("unmarked bytes pass")
            << QByteArrayList{"#V1\r\n"} << QByteArray("#V1\r\n") << 0;
        QTest::newRow("marked byte is dropped and counted")
            << QByteArrayList{bytes("ab\xFF\0xcd", 7)} << QByteArray("abcd") << 1;
        QTest::newRow("doubled 0xFF is one 0xFF")
            << QByteArrayList{bytes("a\377\377b", 4)} << QByteArray("a\377b") << 0;
        QTest::newRow("mark split after 0xFF")
            << QByteArrayList{bytes("a\xFF", 2), bytes("\0xb", 3)} << QByteArray("ab") << 1;
        QTest::newRow("mark split after 0xFF 0x00")
            << QByteArrayList{bytes("a\xFF\0", 3), bytes("xb", 2)} << QByteArray("ab") << 1;
        QTest::newRow("escaped 0xFF split in two")
            << QByteArrayList{bytes("\xFF", 1), bytes("\xFF", 1)} << QByteArray("\xFF") << 0;
        QTest::newRow("two marked bytes in a row")
            << QByteArrayList{bytes("\xFF\0x\xFF\0y>", 7)} << QByteArray(">") << 2;
        QTest::newRow("marked 0xFF byte itself")
            << QByteArrayList{bytes("\xFF\0\xFFz", 4)} << QByteArray("z") << 1;
        QTest::newRow("0xFF before another byte is kept")
            << QByteArrayList{bytes("\377A", 2)} << QByteArray("\377A") << 0;
    }
    void parityMarks()
    {
        QFETCH(QByteArrayList, reads);
        ParityMarkDecoder decoder;
        QByteArray data;
        int errors = 0;
        for (const QByteArray &read : reads) {
            const ParityMarkDecoder::Result result = decoder.decode(read);
            data += result.data;
            errors += result.errorCount;
        }
        QTEST(data, "data");
        QTEST(errors, "errors");
    }
};

QTEST_GUILESS_MAIN(TestFrames)
#include "tst_frames.moc"
