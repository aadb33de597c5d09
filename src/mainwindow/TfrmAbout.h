#pragma once

#include "ui/TfrmYesNo.h"

// "За програмата": the program's name and version and the company's
// name, site and settlement from the settings.
class TfrmAbout : public TfrmYesNo
{
    Q_OBJECT

public:
    explicit TfrmAbout(QWidget *owner = nullptr);

    // The four-part version of the program, as "версия 2.0.0.0" shows it.
    static QString versionText();
};
