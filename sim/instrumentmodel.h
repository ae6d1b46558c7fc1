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

private:
    SimReply writeDates(const QByteArray &arguments);
    void loadState();
    void saveState() const;

    const SimOptions &m_options;
    QByteArray m_dates;
    bool m_writeDone = false;
    int m_serialAnswers = 0;
};
