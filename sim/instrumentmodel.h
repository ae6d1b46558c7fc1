#pragma once
// What the virtual instrument knows and how it answers one command, apart from any framing.
//
// The dates are the text of the "WR" answer: "yymmdd", or "yymmdd yymmdd" for a model that keeps
// an expiration date. A model keeps an expiration date when its initial dates have two words.

#include "simoptions.h"

#include <QByteArray>

struct SimReply
{
    enum class Kind { Payload, Ack, Reject };
    Kind kind = Kind::Reject;
    QByteArray payload;
};

class InstrumentModel
{
public:
    explicit InstrumentModel(const SimOptions &options);

    SimReply respond(const QByteArray &command);

    // Removed: no prompt and no reply until an instrument is placed. A placed instrument answers
    // "#R" and "WR" with what it was given, the rest as the options say.
    bool present() const { return m_present; }
    void remove() { m_present = false; }
    // Empty texts: the options' answers. ignoreWrites: accepts "WW" but keeps its dates, as
    // --ignore-writes makes every instrument do.
    void place(const QByteArray &serial, const QByteArray &dates, bool ignoreWrites = false);

private:
    SimReply writeDates(const QByteArray &arguments);
    void loadState();
    void saveState() const;

    const SimOptions &m_options;
    QByteArray m_serial;
    QByteArray m_dates;
    bool m_ignoreWrites;
    bool m_present = true;
    bool m_writeDone = false;
    int m_serialAnswers = 0;
};
