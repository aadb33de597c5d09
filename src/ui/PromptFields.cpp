#include "ui/PromptFields.h"

#include "util/Win1251.h"

#include <QLineEdit>
#include <QValidator>

namespace {

class Win1251Validator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        return varnex::firstCharOutsideWin1251(input).isEmpty() ? Acceptable : Invalid;
    }
};

} // namespace

void limitToColumn(QLineEdit *field, int columnSize)
{
    field->setMaxLength(columnSize);
    field->setValidator(new Win1251Validator(field));
}

void makePasswordField(QLineEdit *field, int columnSize)
{
    limitToColumn(field, columnSize);
    field->setEchoMode(QLineEdit::Password);
    field->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
}
