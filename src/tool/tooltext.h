#pragma once
// The tool's texts for people (messages, --help, the plain read-out) are translated under one
// context, ToolText::tr; JSON keys, CSV columns and exit codes stay as they are.

#include <QCoreApplication>

class ToolText
{
    Q_DECLARE_TR_FUNCTIONS(ToolText)
};
