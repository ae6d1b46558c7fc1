#include "simscript.h"

#include "instrumentmodel.h"
#include "simoptions.h"

#include <QTimer>

#include <algorithm>

std::optional<QList<SimStep>> parseSimScript(const QByteArray &text, QString &error)
{
    QList<SimStep> steps;
    const QList<QByteArray> lines = text.split('\n');
    for (qsizetype index = 0; index < lines.size(); ++index) {
        const QByteArray line = lines[index].trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const auto fail = [&](const char *reason) -> std::optional<QList<SimStep>> {
            error = QStringLiteral("line %1: %2").arg(index + 1).arg(QString::fromLatin1(reason));
            return std::nullopt;
        };
        const QList<QByteArray> words = line.simplified().split(' ');
        SimStep step;
        bool number = false;
        step.seconds = words[0].toDouble(&number);
        if (!number || step.seconds < 0 || words.size() < 2)
            return fail("expected seconds and \"remove\" or \"place\"");
        if (words[1] == "remove") {
            if (words.size() > 2)
                return fail("\"remove\" takes nothing more");
        } else if (words[1] == "place") {
            step.place = true;
            for (qsizetype w = 2; w < words.size(); ++w) {
                if (words[w].startsWith("serial=") && step.serial.isEmpty()) {
                    step.serial = words[w].mid(7);
                } else if (words[w].startsWith("dates=") && step.dates.isEmpty()) {
                    // A second date is a word of its own.
                    QByteArray dates = words[w].mid(6);
                    if (w + 1 < words.size() && !words[w + 1].contains('='))
                        dates += ' ' + words[++w];
                    step.dates = dates;
                } else if (words[w] == "ignore-writes" && !step.ignoreWrites) {
                    step.ignoreWrites = true;
                } else {
                    return fail("\"place\" takes serial=TEXT, dates=YYMMDD [YYMMDD] and "
                                "ignore-writes");
                }
            }
            if (!step.dates.isEmpty() && !isDatesText(step.dates))
                return fail("dates take \"yymmdd\" or \"yymmdd yymmdd\"");
        } else {
            return fail("expected \"remove\" or \"place\"");
        }
        steps << step;
    }
    std::stable_sort(steps.begin(), steps.end(),
                     [](const SimStep &a, const SimStep &b) { return a.seconds < b.seconds; });
    return steps;
}

void playSimScript(const QList<SimStep> &steps, InstrumentModel &model, QObject *context)
{
    for (const SimStep &step : steps) {
        QTimer::singleShot(qRound(step.seconds * 1000), Qt::PreciseTimer, context, [step, &model] {
            if (step.place)
                model.place(step.serial, step.dates, step.ignoreWrites);
            else
                model.remove();
        });
    }
}
