#include "ui/DialogMessages.h"

#include "ui/Dialogs.h"

void DialogMessages::showMessage(const QString &text, const QString &caption, MessageKind kind)
{
    ShowCaptionedBox(text, caption, kind == MessageKind::Error);
}
