#pragma once

#include "core/MessageSink.h"

// The data modules' messages shown as message boxes with their captions.
class DialogMessages : public MessageSink
{
public:
    void showMessage(const QString &text, const QString &caption, MessageKind kind) override;
};
