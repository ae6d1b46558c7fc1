#include "asteriskecho.h"

#include <QLineEdit>
#include <QProxyStyle>

namespace {

// Follows the application's style in everything but the password character.
class AsteriskStyle final : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

void echoAsterisks(QLineEdit *field)
{
    // The widget does not own its style: the field takes it as a child, so it goes with the field.
    auto *style = new AsteriskStyle;
    style->setParent(field);
    field->setStyle(style);
    field->setEchoMode(QLineEdit::Password);
}
