#pragma once
// Keeps a password field to the characters the password file can hold (Latin-1 codes 1 to 255):
// a character outside them is not taken at all, so what the user sees is what gets saved.

#include <QValidator>

class Latin1Validator final : public QValidator
{
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override;
};
